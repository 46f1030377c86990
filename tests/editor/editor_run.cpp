#include "editor_run.h"

#include <cstdlib>

namespace editor_test {

namespace {

// The text of the object member `name` ("{...}" or "[...]"), brackets included; "" when absent.
std::string Member(const std::string& json, const std::string& name) {
    size_t at = json.find("\"" + name + "\":");
    if (at == std::string::npos) return "";
    at = json.find_first_of("{[", at);
    const char open = json[at], close = open == '{' ? '}' : ']';
    int depth = 0;
    bool in_string = false;
    for (size_t i = at; i < json.size(); ++i) {
        const char c = json[i];
        if (in_string) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                in_string = false;
            continue;
        }
        if (c == '"')
            in_string = true;
        else if (c == open)
            ++depth;
        else if (c == close && --depth == 0)
            return json.substr(at, i - at + 1);
    }
    return "";
}

// The string literal starting at `at` (its opening quote); `at` moves past it.
std::string ReadString(const std::string& s, size_t& at) {
    std::string out;
    for (++at; at < s.size() && s[at] != '"'; ++at) {
        if (s[at] == '\\') ++at;
        out += s[at];
    }
    ++at;
    return out;
}

} // namespace

std::vector<std::pair<std::string, Rect>> WidgetBoxes(const std::string& json) {
    std::vector<std::pair<std::string, Rect>> out;
    const std::string m = Member(json, "Widgets");
    size_t at = 0;
    while ((at = m.find('"', at)) != std::string::npos) {
        const std::string id = ReadString(m, at);
        at = m.find('[', at) + 1;
        Rect r;
        char* end = nullptr;
        r.x = std::strtod(m.c_str() + at, &end);
        r.y = std::strtod(end + 1, &end);
        r.w = std::strtod(end + 1, &end);
        r.h = std::strtod(end + 1, &end);
        at = size_t(end - m.c_str());
        out.emplace_back(id, r);
    }
    return out;
}

Rect WidgetRect(const std::string& json, const std::string& id) {
    for (auto& [name, r] : WidgetBoxes(json))
        if (name == id) return r;
    return {};
}

std::map<std::string, std::string> GuiRows(const std::string& json) {
    std::map<std::string, std::string> rows;
    const std::string m = Member(json, "Gui");
    size_t at = 0;
    while ((at = m.find('"', at)) != std::string::npos) {
        const std::string key = ReadString(m, at);
        at = m.find('"', at);
        rows[key] = ReadString(m, at);
    }
    return rows;
}

std::vector<std::map<std::string, double>> DumpPads(const std::string& json) {
    std::vector<std::map<std::string, double>> pads;
    const std::string m = Member(json, "Pads");
    size_t at = 0;
    while ((at = m.find('{', at)) != std::string::npos) {
        const size_t end = m.find('}', at);
        std::map<std::string, double> pad;
        size_t k = at;
        while ((k = m.find('"', k)) != std::string::npos && k < end) {
            const std::string name = ReadString(m, k);
            pad[name] = std::strtod(m.c_str() + k + 1, nullptr);
        }
        pads.push_back(pad);
        at = end;
    }
    return pads;
}

const Layout& EditorLayout() {
    static const Layout layout = [] {
        Layout l;
        GameRun game(false);
        game.write("level1.ini",
                   LevelText({{0, 0, 0, 0, 1, 1}, {2, 0, 2, 0, 1, 1}, {4, 0, 4, 0, 1, 1}}));
        // A change, then the window closed: the question about it stays until the clock's end.
        std::string s = EnterEditor() + At(kStart, "dump editor.json") + Press(kStart + 100, 205) +
                        At(kStart + 300, "close") + At(kStart + 500, "dump question.json");
        game.run(s, "--no-draw --max-ms 4000");
        l.editor = game.read("editor.json");
        l.question = game.read("question.json");
        return l;
    }();
    return layout;
}

std::string LevelText(const std::vector<FilePad>& pads, double forcemap) {
    std::ostringstream s;
    s << "[global]\r\npadcount=" << pads.size() << "\r\nforcemap=" << forcemap << "\r\n";
    for (size_t i = 0; i < pads.size(); ++i) {
        const FilePad& p = pads[i];
        s << "[pads" << i << "]\r\nminx=" << p.minx << "\r\nminy=" << p.miny
          << "\r\nmaxx=" << p.maxx << "\r\nmaxy=" << p.maxy << "\r\nextx=" << p.extx
          << "\r\nexty=" << p.exty << "\r\n";
    }
    return s.str();
}

uint32_t Screenshot::at(int x, int y) const {
    const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    const size_t o = 54 + size_t(height - 1 - y) * stride + size_t(x) * 3;
    if (x < 0 || y < 0 || x >= width || y >= height || o + 2 >= bytes.size()) return 0xdeadbeef;
    auto b = [&](size_t i) { return uint32_t(uint8_t(bytes[i])); };
    return b(o + 2) << 16 | b(o + 1) << 8 | b(o);
}

Screenshot ReadScreenshot(const std::string& path) {
    Screenshot img;
    img.bytes = read_text(path);
    if (img.bytes.size() < 54) return img;
    auto u32 = [&](size_t o) {
        return uint32_t(uint8_t(img.bytes[o])) | uint32_t(uint8_t(img.bytes[o + 1])) << 8 |
               uint32_t(uint8_t(img.bytes[o + 2])) << 16 |
               uint32_t(uint8_t(img.bytes[o + 3])) << 24;
    };
    img.width = int(u32(18));
    img.height = int(u32(22));
    return img;
}

} // namespace editor_test
