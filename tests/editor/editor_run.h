#pragma once
// Scripted runs of the real program in the level editor: the way in from the menu, clicks on
// widgets by name (from the editor's state dump), keys, and readers for dumps, level files and
// screenshots.
#include "../game/game_run.h"

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace editor_test {

// The editor runs from about 2.9 s (splash and intro skipped, the logo's flight, F5), with keys
// held long enough for frames of a tenth of a second; scripts act from kStart on.
constexpr int kStart = 3200;
// From the splash to the editor.
inline std::string EnterEditor() {
    return "100 key 57 down\n250 key 57 up\n300 key 29 down\n450 key 29 up\n"
           "2800 key 63 down\n2950 key 63 up\n";
}

inline std::string At(int ms, const std::string& command) {
    return std::to_string(ms) + " " + command + "\n";
}
inline std::string Press(int ms, int key, int hold = 50) {
    return At(ms, "key " + std::to_string(key) + " down") +
           At(ms + hold, "key " + std::to_string(key) + " up");
}
// A left click at (x, y): move, press, release. The editor waits for input in steps of 30 ms;
// the steps are apart far enough for each to be a frame of its own.
inline std::string Click(int ms, double x, double y) {
    std::ostringstream s;
    s << ms << " mouse " << int(x) << " " << int(y) << "\n"
      << ms + 50 << " button 1 down\n"
      << ms + 100 << " button 1 up\n";
    return s.str();
}
// A drag with the left button from one point to another.
inline std::string Drag(int ms, double x0, double y0, double x1, double y1) {
    std::ostringstream s;
    s << ms << " mouse " << int(x0) << " " << int(y0) << "\n"
      << ms + 50 << " button 1 down\n"
      << ms + 100 << " mouse " << int((x0 + x1) / 2) << " " << int((y0 + y1) / 2) << "\n"
      << ms + 150 << " mouse " << int(x1) << " " << int(y1) << "\n"
      << ms + 200 << " button 1 up\n";
    return s.str();
}

struct Rect {
    double x = 0, y = 0, w = 0, h = 0;
    double cx() const { return x + w / 2; }
    double cy() const { return y + h / 2; }
};

// The "Widgets" member of a dump: each widget's box by identifier, in layout order.
std::vector<std::pair<std::string, Rect>> WidgetBoxes(const std::string& json);
// One widget's box (zero size when absent).
Rect WidgetRect(const std::string& json, const std::string& id);
// The "Gui" member: the active dialog's properties.
std::map<std::string, std::string> GuiRows(const std::string& json);

// The pad records of a dump: field name to value, one map per pad.
std::vector<std::map<std::string, double>> DumpPads(const std::string& json);

// Where the editor's widgets and the question about unsaved changes of level 1 put their
// widgets (one run, kept for the test program).
struct Layout {
    std::string editor;   // a dump of the editor right after entry
    std::string question; // a dump while the question is shown
    Rect at(const std::string& id) const { return WidgetRect(editor, id); }
    Rect yes() const { return WidgetRect(question, "bt_yes"); }
    Rect no() const { return WidgetRect(question, "bt_no"); }
};
const Layout& EditorLayout();
inline std::string ClickWidget(int ms, const std::string& id) {
    const Rect r = EditorLayout().at(id);
    return Click(ms, r.cx(), r.cy());
}

// A script of the editor from its entry on: each step is put at the script's clock, which then
// moves on by the step's length.
class Script {
  public:
    Script& click(double x, double y, int after = 200) { return put(Click(t_, x, y), after); }
    Script& click_widget(const std::string& id, int after = 200) {
        return put(ClickWidget(t_, id), after);
    }
    // Answers the question about unsaved changes (of level 1).
    Script& answer(bool yes) {
        const Rect r = yes ? EditorLayout().yes() : EditorLayout().no();
        return click(r.cx(), r.cy());
    }
    // A click on the first cell of a pad at cell (x, y) (cells are 20 pixels).
    Script& click_cell(double x, double y) { return click(x * 20 + 5, y * 20 + 5); }
    Script& press(int key, int hold = 50) { return put(Press(t_, key, hold), hold + 150); }
    Script& drag(double x0, double y0, double x1, double y1) {
        return put(Drag(t_, x0, y0, x1, y1), 300);
    }
    Script& dump(const std::string& file) { return put(At(t_, "dump " + file), 50); }
    Script& command(const std::string& c, int after = 100) { return put(At(t_, c), after); }
    Script& wait(int ms) {
        t_ += ms;
        return *this;
    }
    int now() const { return t_; }
    std::string text() const { return EnterEditor() + text_; }

  private:
    Script& put(const std::string& lines, int after) {
        text_ += lines;
        t_ += after;
        return *this;
    }
    int t_ = kStart;
    std::string text_;
};

// One pad of a level file: start, end of travel, size.
struct FilePad {
    double minx, miny, maxx, maxy, extx, exty;
};
// The level file text the game writes: CR LF line ends, no blank lines.
std::string LevelText(const std::vector<FilePad>& pads, double forcemap = 0);

// A 24-bit screenshot; at(x, y) is 0xRRGGBB, origin top-left.
struct Screenshot {
    int width = 0, height = 0;
    std::string bytes;
    uint32_t at(int x, int y) const;
};
Screenshot ReadScreenshot(const std::string& path);

} // namespace editor_test
