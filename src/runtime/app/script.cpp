#include "runtime/app/script.h"

#include "platform/joystick.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace {

const char* const kAxes[] = {"x", "y", "z", "rx", "ry", "rz"};

struct HatName {
    const char* name;
    unsigned value;
};
const HatName kHats[] = {
    {"centre", platform::kHatCentre}, {"up", 0}, {"right", 9000}, {"down", 18000}, {"left", 27000}};

bool parse_number(const std::string& s, double& v) {
    if (s.empty()) return false;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (*first == '+') ++first;
    auto [p, ec] = std::from_chars(first, last, v);
    return ec == std::errc() && p == last && std::isfinite(v);
}

bool parse_int(const std::string& s, long lo, long hi, int& v) {
    double d;
    if (!parse_number(s, d) || d != std::floor(d) || d < double(lo) || d > double(hi)) return false;
    v = int(d);
    return true;
}

std::string shortest(double v) {
    char buf[64];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, p) : std::string("0");
}

// Parses one line's words; an empty string on success, else the reason.
std::string parse_words(const std::vector<std::string>& w, ScriptCommand& c) {
    if (!parse_number(w[0], c.time) || c.time < 0)
        return "bad time '" + w[0] + "' (milliseconds, 0 or more)";
    if (w.size() < 2) return "missing command after the time";
    const std::string& cmd = w[1];
    size_t need = 0;
    auto up_down = [&](const std::string& s, bool& down) {
        if (s == "down")
            down = true;
        else if (s == "up")
            down = false;
        else
            return false;
        return true;
    };
    if (cmd == "key") {
        need = 4;
        if (w.size() < need) return "usage: <ms> key <scan code> down|up";
        c.op = ScriptOp::Key;
        if (!parse_int(w[2], 0, 255, c.a)) return "bad scan code '" + w[2] + "' (0..255)";
        if (!up_down(w[3], c.down)) return "expected down or up, not '" + w[3] + "'";
    } else if (cmd == "mouse") {
        need = 4;
        if (w.size() < need) return "usage: <ms> mouse <x> <y>";
        c.op = ScriptOp::Mouse;
        if (!parse_int(w[2], -1000000, 1000000, c.a)) return "bad x '" + w[2] + "' (whole pixels)";
        if (!parse_int(w[3], -1000000, 1000000, c.b)) return "bad y '" + w[3] + "' (whole pixels)";
    } else if (cmd == "button") {
        need = 4;
        if (w.size() < need) return "usage: <ms> button <1|2|3> down|up";
        c.op = ScriptOp::Button;
        if (!parse_int(w[2], 1, 3, c.a)) return "bad mouse button '" + w[2] + "' (1, 2 or 3)";
        if (!up_down(w[3], c.down)) return "expected down or up, not '" + w[3] + "'";
    } else if (cmd == "wheel") {
        need = 3;
        if (w.size() < need) return "usage: <ms> wheel up|down";
        c.op = ScriptOp::Wheel;
        bool down;
        if (!up_down(w[2], down)) return "expected up or down, not '" + w[2] + "'";
        c.a = down ? -1 : 1;
    } else if (cmd == "joy") {
        if (w.size() < 4) return "usage: <ms> joy <j> axis|button|hat ...";
        if (!parse_int(w[2], 0, platform::kMaxJoysticks - 1, c.a))
            return "bad joystick '" + w[2] + "' (0..9)";
        const std::string& part = w[3];
        if (part == "axis") {
            need = 6;
            if (w.size() < need) return "usage: <ms> joy <j> axis <x|y|z|rx|ry|rz> <-1..1>";
            c.op = ScriptOp::JoyAxis;
            auto it = std::find(std::begin(kAxes), std::end(kAxes), w[4]);
            if (it == std::end(kAxes)) return "bad axis '" + w[4] + "' (x, y, z, rx, ry or rz)";
            c.b = int(it - std::begin(kAxes));
            if (!parse_number(w[5], c.value) || c.value < -1 || c.value > 1)
                return "bad axis value '" + w[5] + "' (-1..1)";
        } else if (part == "button") {
            need = 6;
            if (w.size() < need) return "usage: <ms> joy <j> button <b> down|up";
            c.op = ScriptOp::JoyButton;
            if (!parse_int(w[4], 0, 31, c.b)) return "bad joystick button '" + w[4] + "' (0..31)";
            if (!up_down(w[5], c.down)) return "expected down or up, not '" + w[5] + "'";
        } else if (part == "hat") {
            need = 5;
            if (w.size() < need) return "usage: <ms> joy <j> hat centre|up|down|left|right";
            c.op = ScriptOp::JoyHat;
            auto it = std::find_if(std::begin(kHats), std::end(kHats),
                                   [&](const HatName& h) { return w[4] == h.name; });
            if (it == std::end(kHats))
                return "bad hat direction '" + w[4] + "' (centre, up, down, left or right)";
            c.b = int(it->value);
        } else {
            return "unknown joystick part '" + part + "' (axis, button or hat)";
        }
    } else if (cmd == "screenshot" || cmd == "dump") {
        need = 3;
        if (w.size() < need) return "usage: <ms> " + cmd + " <file>";
        c.op = cmd == "dump" ? ScriptOp::Dump : ScriptOp::Screenshot;
        c.file = w[2];
    } else if (cmd == "focus") {
        need = 3;
        if (w.size() < need) return "usage: <ms> focus lost|gained";
        c.op = ScriptOp::Focus;
        if (w[2] == "gained")
            c.down = true;
        else if (w[2] == "lost")
            c.down = false;
        else
            return "expected lost or gained, not '" + w[2] + "'";
    } else if (cmd == "close") {
        need = 2;
        c.op = ScriptOp::Close;
    } else if (cmd == "clock") {
        need = 3;
        if (w.size() < need) return "usage: <ms> clock <ms>";
        c.op = ScriptOp::Clock;
        if (!parse_number(w[2], c.value) || c.value < c.time)
            return "bad clock time '" + w[2] + "' (milliseconds, not before the command's time)";
    } else {
        return "unknown command '" + cmd + "'";
    }
    if (w.size() > need) return "unexpected '" + w[need] + "' after the command";
    return {};
}

} // namespace

bool parse_script(std::string_view text, std::vector<ScriptCommand>& out, ScriptError& error) {
    out.clear();
    int number = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string line(text.substr(pos, end - pos));
        pos = end + 1;
        ++number;
        if (auto hash = line.find('#'); hash != std::string::npos) line.resize(hash);
        if (line.find('\0') != std::string::npos) {
            error = {number, "NUL byte in the line"};
            return false;
        }
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        if (w.empty()) {
            if (end == text.size()) break;
            continue;
        }
        ScriptCommand c;
        c.line = number;
        std::string reason = parse_words(w, c);
        if (!reason.empty()) {
            error = {number, reason};
            return false;
        }
        out.push_back(std::move(c));
        if (end == text.size()) break;
    }
    std::stable_sort(out.begin(), out.end(), [](const ScriptCommand& x, const ScriptCommand& y) {
        return x.time < y.time;
    });
    return true;
}

std::string format_script_line(const ScriptCommand& c) {
    std::string s = shortest(c.time) + " ";
    auto ud = [](bool down) { return down ? " down" : " up"; };
    switch (c.op) {
    case ScriptOp::Key:
        return s + "key " + std::to_string(c.a) + ud(c.down);
    case ScriptOp::Mouse:
        return s + "mouse " + std::to_string(c.a) + " " + std::to_string(c.b);
    case ScriptOp::Button:
        return s + "button " + std::to_string(c.a) + ud(c.down);
    case ScriptOp::Wheel:
        return s + (c.a > 0 ? "wheel up" : "wheel down");
    case ScriptOp::JoyAxis:
        return s + "joy " + std::to_string(c.a) + " axis " + axis_name(c.b) + " " +
               shortest(c.value);
    case ScriptOp::JoyButton:
        return s + "joy " + std::to_string(c.a) + " button " + std::to_string(c.b) + ud(c.down);
    case ScriptOp::JoyHat:
        return s + "joy " + std::to_string(c.a) + " hat " + hat_name(unsigned(c.b));
    case ScriptOp::Screenshot:
        return s + "screenshot " + c.file;
    case ScriptOp::Dump:
        return s + "dump " + c.file;
    case ScriptOp::Focus:
        return s + (c.down ? "focus gained" : "focus lost");
    case ScriptOp::Close:
        return s + "close";
    case ScriptOp::Clock:
        return s + "clock " + shortest(c.value);
    }
    return s;
}

const char* hat_name(unsigned hat) {
    for (const HatName& h : kHats)
        if (h.value == hat) return h.name;
    return "centre";
}

const char* axis_name(int axis) {
    return axis >= 0 && axis < 6 ? kAxes[axis] : "x";
}
