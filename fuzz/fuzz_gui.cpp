// The toolkit's property store and dialog stack under a sequence of calls taken from the input
// bytes (sets, lookups, widget constructors and updates, item edits, dialog open, close, clear,
// reset and swap, with hostile numbers and texts). After every call the store's keys are strictly
// ascending (sorted and unique), the stack is as deep as the opens and closes say, a set key
// reads back its value, and a lookup finds exactly the rows there are.
#include "gui/gui.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

struct Reader {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
    bool more() const { return pos < size; }
    uint8_t byte() { return pos < size ? data[pos++] : 0; }
};

const char* const kKeys[] = {"XPOS",  "YPOS",   "WIDTH",  "HEIGHT", "COUNT",   "ID1",     "ID2",
                             "ID3",   "FOCUS",  "bt_a",   "cb_b",   "st_c",    "ls",      "rd",
                             "sl",    "tx",     "",       "bt_aCLICKED", "lsSELECT", "lsTEXT",
                             "lsCOUNT", "rdSELECT", "slTEXT", "txTEXT", "SCROLL", "SCROLLMAX"};
const char* const kTexts[] = {"",        "1",     "0",   "-1",    "NO_DATA", "1e308",  "-1e308",
                              "nan",     "inf",   "a|b|c", "|",   "||",      "SPR_B5", "SPR_B99999",
                              "65536",   "0.5",   "WIDGET", "BUTTON", "CHECKBOX", "LIST", "RADIO",
                              "SLIDER",  "TEXT",  "x y z"};
const double kNumbers[] = {0,    1,     -1,    0.5,    2,      10,   100,   799,   800,
                           1000, -1000, 1e9,   -1e9,   1e300,  -1e300,
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()};

template <size_t N>
size_t Pick(Reader& r, const char* const (&)[N]) { return r.byte() % N; }

RtString Key(Reader& r) {
    const uint8_t b = r.byte();
    if (b < 200) return kKeys[b % (sizeof kKeys / sizeof *kKeys)];
    // A short key of raw bytes (no NUL: the toolkit's texts hold none).
    std::string s;
    for (int n = b % 8; n > 0; --n) s += char(r.byte() | 1);
    return RtString(s.c_str());
}
RtString Text(Reader& r) {
    const uint8_t b = r.byte();
    if (b < 200) return kTexts[b % (sizeof kTexts / sizeof *kTexts)];
    std::string s;
    for (int n = b % 24; n > 0; --n) s += char(r.byte() | 1);
    return RtString(s.c_str());
}
double Number(Reader& r) { return kNumbers[r.byte() % (sizeof kNumbers / sizeof *kNumbers)]; }

void Check(size_t depth) {
    const auto& rows = gui_store().rows;
    for (size_t i = 1; i < rows.size(); ++i)
        if (!(rows[i - 1].key.view() < rows[i].key.view())) std::abort();
    for (size_t i = 0; i < rows.size(); ++i)
        if (gui_find_key(rows[i].key, 0) != double(i)) std::abort();
    if (gui_dialog_depth() != double(depth)) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Start from no dialog at all.
    while (gui_dialog_depth() > 0)
        gui_dialog_close();
    gui_dialog_close();
    size_t depth = 0;
    Reader r{data, size};
    for (int calls = 0; r.more() && calls < 256; ++calls) {
        switch (r.byte() % 20) {
        case 0: {
            const RtString k = Key(r), v = Text(r);
            gui_set(k, v);
            if (gui_get(k) != v) std::abort();
            break;
        }
        case 1: {
            const RtString k = Key(r);
            const size_t before = gui_store().rows.size();
            const double i = gui_find_key(k, r.byte() & 1);
            if (i >= 0 && gui_store().rows[size_t(i)].key != k) std::abort();
            if (i < 0 && gui_store().rows.size() != before) std::abort();
            break;
        }
        case 2: (void)gui_get_number(Key(r)); break;
        case 3: gui_set_clicked(Key(r), Number(r)); break;
        case 4:
            if (depth < 16) {
                const double x = Number(r), y = Number(r), w = Number(r), h = Number(r);
                gui_dialog_open(x, y, w, h);
                ++depth;
            }
            break;
        case 5:
            gui_dialog_close();
            if (depth > 0) --depth;
            break;
        case 6: gui_dialog_swap(); break;
        case 7:
            gui_dialog_clear();
            if (gui_get("COL_NORM") != "9470080") std::abort();
            break;
        case 8: {
            const double x = Number(r), y = Number(r), w = Number(r), h = Number(r);
            gui_dialog_reset(x, y, w, h);
            break;
        }
        case 9: {
            const RtString id = Key(r), t = Text(r);
            const double w = Number(r), h = Number(r);
            gui_add_widget(id, t, w, h);
            break;
        }
        case 10: {
            const RtString id = Key(r), t = Text(r);
            const double w = Number(r), h = Number(r);
            gui_add_button(id, t, w, h);
            break;
        }
        case 11: {
            const RtString id = Key(r), t = Text(r);
            const double w = Number(r), h = Number(r);
            gui_add_checkbox(id, t, w, h);
            break;
        }
        case 12: {
            const double w = Number(r), h = Number(r);
            gui_add_spacer(w, h);
            break;
        }
        case 13: {
            const RtString id = Key(r);
            const double w = Number(r), h = Number(r);
            gui_add_slider(id, w, h);
            break;
        }
        case 14: {
            const RtString id = Key(r), t = Text(r);
            gui_add_radio(id, t, Number(r));
            break;
        }
        case 15: {
            const RtString id = Key(r), t = Text(r);
            const double w = Number(r), h = Number(r);
            gui_add_list(id, t, w, h);
            break;
        }
        case 16: {
            const RtString id = Key(r), t = Text(r);
            gui_insert_item(id, t, Number(r));
            break;
        }
        case 17: {
            const RtString id = Key(r);
            (void)gui_get_item(id, Number(r));
            break;
        }
        case 18: {
            const RtString id = Key(r);
            const double x = Number(r), y = Number(r);
            const double edge = double(int(r.byte() % 3) - 1);
            gui_update_widget(id, x, y, edge, 0);
            break;
        }
        case 19: {
            const RtString id = Key(r), t = Text(r);
            const double w = Number(r), h = Number(r);
            gui_add_text_field(id, t, w, h);
            break;
        }
        }
        Check(depth);
    }
    return 0;
}
