// The file requester: a modal toolkit dialog over the open dialogs that browses the folders and
// returns a file's path. Cancel, Esc and an empty stack of answers give "NO_FILE".
#include "gui/gui_internal.h"
#include "input/input.h"
#include "runtime/app/frame.h"
#include "runtime/text.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const kFolder = "st_fr_folder";
const char* const kFiles = "ls_fr_files";
const char* const kName = "tx_fr_name";

// The wildcard patterns of the filter: pieces between "|" and ";" that hold "*" or "?".
std::vector<std::string> filter_patterns(const RtString& filter) {
    std::vector<std::string> out;
    std::string piece;
    const std::string text = filter.str() + "|";
    for (char c : text) {
        if (c != '|' && c != ';') {
            piece += c;
            continue;
        }
        while (!piece.empty() && piece.front() == ' ')
            piece.erase(piece.begin());
        while (!piece.empty() && piece.back() == ' ')
            piece.pop_back();
        if (piece.find_first_of("*?") != std::string::npos) out.push_back(piece);
        piece.clear();
    }
    return out;
}

// Case-insensitive match of "*" (any run) and "?" (one character).
bool wildcard_match(const char* p, const char* s) {
    for (; *p; ++p, ++s) {
        if (*p == '*') {
            while (p[1] == '*')
                ++p;
            for (const char* t = s;; ++t) {
                if (wildcard_match(p + 1, t)) return true;
                if (!*t) return false;
            }
        }
        if (!*s) return false;
        if (*p != '?' && std::tolower(static_cast<unsigned char>(*p)) !=
                             std::tolower(static_cast<unsigned char>(*s)))
            return false;
    }
    return *s == '\0';
}

}  // namespace

// Whether a file name passes the filter ("*.*" also takes names without a dot; no pattern at
// all takes everything).
bool file_filter_matches(const RtString& filter, const std::string& name) {
    const std::vector<std::string> patterns = filter_patterns(filter);
    if (patterns.empty()) return true;
    for (const std::string& p : patterns)
        if (p == "*.*" || p == "*" || wildcard_match(p.c_str(), name.c_str())) return true;
    return false;
}

// The list's items for the current folder: ".." (except at the root), the folders with a "/"
// after their name, then the files that pass the filter, each group in byte order. Names that
// cannot stand in an item list ("|", control characters) are left out.
std::vector<std::string> folder_items(const RtString& filter) {
    std::error_code ec;
    const fs::path here = fs::current_path(ec);
    std::vector<std::string> folders, files;
    for (fs::directory_iterator it(here, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.empty() ||
            std::any_of(name.begin(), name.end(),
                        [](char c) { return c == '|' || static_cast<unsigned char>(c) < 32; }))
            continue;
        std::error_code type_ec;
        if (it->is_directory(type_ec)) {
            folders.push_back(name + "/");
        } else if (file_filter_matches(filter, name)) {
            files.push_back(name);
        }
    }
    std::sort(folders.begin(), folders.end());
    std::sort(files.begin(), files.end());
    std::vector<std::string> items;
    if (here.has_relative_path()) items.push_back("..");
    items.insert(items.end(), folders.begin(), folders.end());
    items.insert(items.end(), files.begin(), files.end());
    return items;
}

namespace {

std::string current_folder() {
    std::error_code ec;
    return fs::current_path(ec).generic_string();
}

void show_folder(const RtString& filter) {
    RtString text;
    const std::vector<std::string> items = folder_items(filter);
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += "|";
        text += RtString(items[i]);
    }
    gui_set(RtString(kFiles) + "TEXT", text);
    gui::set_num(RtString(kFiles) + "COUNT", double(items.size()));
    gui_set(RtString(kFiles) + "SCROLL", "0");
    gui_set(RtString(kFiles) + "SELECT", "-1");
    gui_set(RtString(kFolder) + "TEXT", RtString(current_folder()));
}

void set_name(const RtString& name) {
    gui_set(RtString(kName) + "TEXT", name);
    gui::set_num(RtString(kName) + "SELSTART", str_len(name));
    gui::set_num(RtString(kName) + "SELEND", str_len(name));
}

// The name field as one line: a Return typed into it is taken out again.
std::string typed_name() {
    const std::string text = gui_get(RtString(kName) + "TEXT").str();
    std::string name;
    for (char c : text)
        if (c != '\n' && c != '\r') name += c;
    if (name != text) set_name(RtString(name));
    return name;
}

bool enter_folder(const fs::path& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return false;
    fs::current_path(folder, ec);
    return !ec;
}

// A key's press: true once when it goes down.
struct KeyEdge {
    double code;
    bool was_down;
    explicit KeyEdge(double c) : code(c), was_down(key_state(c) != 0) {}
    bool pressed() {
        const bool down = key_state(code) != 0;
        const bool result = down && !was_down;
        was_down = down;
        return result;
    }
};

}  // namespace

RtString file_requester(double open, const RtString& filter) {
    std::error_code ec;
    const fs::path start_folder = fs::current_path(ec);
    const double esc_was_ending = esc_ends();
    set_esc_ends(0);

    double sw = 0, sh = 0;
    screen_size(sw, sh);
    const gui::Glyph g = gui::glyph();
    const double w = std::max(0.6 * sw, 40 * g.w);
    gui_dialog_open((sw - w) * 0.5, 0.1 * sh, w, 0.75 * sh);
    gui_set("MOVABLE", "1");
    gui_set("TEXT", open != 0 ? "Open file" : "Save file");
    const double inner = gui_get_number("WIDTH") - 20;
    gui_add_widget(kFolder, "", inner, 0);
    gui_add_spacer(10000, 0);
    gui_add_list(kFiles, "", inner, 14 * g.h);
    gui_add_spacer(10000, 0);
    gui_add_widget("st_fr_label", "Name:", 0, 0);
    gui_add_text_field(kName, "", inner - 8 * g.w, g.h + 6);
    gui_add_spacer(10000, 4);
    gui_add_button("bt_fr_ok", "OK", 0, 0);
    gui_add_button("bt_fr_cancel", "Cancel", 0, 0);
    gui_set("FOCUS", kName);
    show_folder(filter);
    gui_dialog_reset(0, 0, 0, 0);

    KeyEdge ret(28), esc(1);
    RtString result("NO_FILE");
    for (bool done = false; !done;) {
        gui_show(0);
        present_frame();
        const std::string name = typed_name();
        if (gui_get_number(RtString(kFiles) + "CLICKED") != 0) {
            const std::string item = gui_get_item(kFiles, -1).str();
            if (item == "..") {
                enter_folder("..");
                show_folder(filter);
            } else if (!item.empty() && item.back() == '/') {
                enter_folder(item.substr(0, item.size() - 1));
                show_folder(filter);
            } else if (!item.empty()) {
                set_name(RtString(item));
            }
        }
        const bool ok = gui_get_number("bt_fr_okCLICKED") != 0 || ret.pressed();
        if (gui_get_number("bt_fr_cancelCLICKED") != 0 || esc.pressed()) {
            done = true;
        } else if (ok && !name.empty()) {
            const fs::path chosen = fs::current_path(ec) / fs::path(name);
            std::error_code type_ec;
            if (fs::is_directory(chosen, type_ec)) {
                enter_folder(chosen);
                set_name("");
                show_folder(filter);
            } else if (open == 0 || fs::is_regular_file(chosen, type_ec)) {
                result = RtString(chosen.lexically_normal().generic_string());
                done = true;
            }
        }
    }
    // Esc still held would end the program once it counts as the end key again.
    while (key_state(1) != 0) {
        gui_show(0);
        present_frame();
    }
    gui_dialog_close();
    fs::current_path(start_folder, ec);
    set_esc_ends(esc_was_ending);
    return result;
}
