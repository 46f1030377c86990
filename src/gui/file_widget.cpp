// The file chooser widget: a shaded box with a page icon and the chosen file's name; a click
// opens the file requester.
#include "graphics/device.h"
#include "graphics/font.h"
#include "gui/gui_internal.h"
#include "runtime/text.h"

double gui_add_file(const RtString& identifier, const RtString& text, double width,
                    double height) {
    gui_add_widget(identifier, text, width == 0 ? 12 * gui::glyph().w : width, height);
    gui_set(gui_get("ID" + str_from_number(gui_get_number("COUNT"))) + "TYPE", "FILE");
    return 0;
}

namespace gui {

void file_update(const RtString& id, double edge) {
    if (edge != 1) return;
    RtString path = file_requester(1, "*.*");
    if (path == "NO_FILE") path = RtString();
    gui_set(id + "TEXT", path);
}

void file_draw(const RtString& id, double w, double h) {
    const Glyph g = glyph();
    const bool hover = num(id + "HOVER") > 0;
    gui_gradient_box(num(hover ? "COL_HOVER_BRIGHT" : "COL_BRIGHT"),
                     num(hover ? "COL_HOVER_NORM" : "COL_NORM"), 0, 0, w, h);
    // The icon: a blue page with three lines of writing and a folded corner.
    const double s = 1.2 * g.h, ix = 2, iy = (h - s) / 2;
    gui_gradient_box(16732240, 16711680, ix, iy, s, s);
    const double white = 16777215;
    draw_rect(ix + 0.25 * s, iy + 0.3 * s, ix + 0.75 * s, iy + 0.3 * s + 1, white);
    draw_rect(ix + 0.25 * s, iy + 0.45 * s, ix + 0.75 * s, iy + 0.45 * s + 1, white);
    draw_rect(ix + 0.25 * s, iy + 0.6 * s, ix + 0.65 * s, iy + 0.6 * s + 1, white);
    draw_rect(ix + 0.75 * s, iy, ix + 0.95 * s, iy + 0.25 * s, white);
    const RtString path = gui_get(id + "TEXT");
    RtString name = path;
    for (double i = str_len(path) - 1; i >= 0; --i)
        if (path[i] == '/') {
            name = str_mid(path, i + 1, str_len(path));
            break;
        }
    print_text(name.c_str(), ix + s + 4, 1);
}

} // namespace gui
