// The toolkit's two drawing helpers: the word-wrapping text engine and the shaded box.
#include "graphics/device.h"
#include "graphics/font.h"
#include "gui/gui_internal.h"
#include "runtime/text.h"

#include <utility>

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

} // namespace

double gui_text_layout(const RtString& identifier, double x0, double y0, double width,
                       double draw, double pick) {
    const gui::Glyph g = gui::glyph();
    const double fw = g.w, fh = g.h;
    double tx = 0, ty = 0, pen_x = x0, pen_y = y0;
    if (pick != 0) {
        draw = 0;
        tx = x0;
        ty = y0;
        pen_x = pen_y = x0 = 0;
    }
    const RtString text = gui_get(identifier + "TEXT") + " ";
    const uint32_t length = text.length();
    double a = -1, b = -1, caret = -1;
    bool focused = false;
    if (pick == 0 && gui_get("FOCUS") == identifier) {
        a = gui::num(identifier + "SELSTART");
        b = gui::num(identifier + "SELEND");
        caret = b;
        if (b < a) std::swap(a, b);
        focused = true;
    }
    char glyph_text[2] = {0, 0};
    for (uint32_t i = 0; i < length;) {
        if (pick != 0 && ty - fh <= pen_y && tx - 1.5 * fw <= pen_x) return i;
        const char c = text.data()[i];
        if (c == '\n') {
            pen_y += fh;
            pen_x = x0;
            ++i;
            continue;
        }
        if (draw != 0) {
            glyph_text[0] = c;
            print_text(glyph_text, pen_x, pen_y);
            if (a <= i && i < b && a != b) {
                set_alpha_mode(-0.3);
                draw_rect(pen_x, pen_y, pen_x + fw - 1, pen_y + fh - 1, 0);
                set_alpha_mode(0);
            }
            if (focused && i == caret) {
                set_alpha_mode(-0.5);
                draw_rect(pen_x - 1, pen_y, pen_x, pen_y + fh - 1, 0);
                set_alpha_mode(0);
            }
        }
        pen_x += fw;
        ++i;
        if (is_blank(c)) {
            uint32_t k = i;
            while (k < length && !is_blank(text.data()[k]))
                ++k;
            // The blank after the next word; the text's last blank has none to look at.
            if (k < length && double(k - i) * fw + pen_x - x0 > width) {
                pen_y += fh;
                pen_x = x0;
            }
        }
    }
    // Past the end the caret stands after the text's last character (not after the added blank).
    if (pick != 0) return length - 1;
    return (pen_y + fh) - y0;
}

double gui_gradient_box(double colour_a, double colour_b, double x, double y, double width,
                        double height) {
    const double w = width, h = height;
    start_poly(-1);
    if (w >= 0.9 * h) {
        poly_vertex(x, y + h / 2, 0, 0, colour_b);
        poly_vertex(x, y + h, 0, 0, colour_a);
        poly_vertex(x + w, y + h, 0, 0, colour_a);
        poly_vertex(x + w, y + h / 2, 0, 0, colour_b);
        poly_vertex(x + w, y, 0, 0, colour_a);
        poly_vertex(x, y, 0, 0, colour_a);
    } else {
        poly_vertex(x + w / 2, y, 0, 0, colour_b);
        poly_vertex(x, y, 0, 0, colour_a);
        poly_vertex(x, y + h, 0, 0, colour_a);
        poly_vertex(x + w / 2, y + h, 0, 0, colour_b);
        poly_vertex(x + w, y + h, 0, 0, colour_a);
        poly_vertex(x + w, y, 0, 0, colour_b);
    }
    end_poly();
    return 0;
}
