#include "runtime/user_dir.h"

#include "runtime/files.h"

#include <cerrno>
#include <sys/stat.h>

#ifndef SS_DATA_FROM_BIN
#define SS_DATA_FROM_BIN "../share/games/steel_spree"
#endif

namespace {

std::string current_user_dir;

std::string join(std::string_view a, std::string_view b) {
    std::string s(a);
    if (!s.empty() && s.back() != '/') s += '/';
    s += b;
    return s;
}

} // namespace

void set_user_dir(std::string_view dir) {
    current_user_dir = dir;
    while (current_user_dir.size() > 1 && current_user_dir.back() == '/')
        current_user_dir.pop_back();
}

const std::string& user_dir() {
    return current_user_dir;
}

std::string user_path(std::string_view name) {
    return current_user_dir.empty() ? std::string() : join(current_user_dir, name);
}

bool is_dir(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool make_dirs(const std::string& path) {
    if (path.empty()) return false;
    if (is_dir(path)) return true;
    for (size_t at = 1; at <= path.size(); ++at) {
        if (at < path.size() && path[at] != '/') continue;
        const std::string part = path.substr(0, at);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return is_dir(path);
}

std::string user_or_shipped(std::string_view sub, std::string_view name) {
    if (!current_user_dir.empty()) {
        std::string own = join(join(current_user_dir, sub), name);
        if (file_readable(own)) return own;
    }
    return std::string(name);
}

std::string user_write_path(std::string_view sub, std::string_view name) {
    if (current_user_dir.empty()) return std::string(name);
    const std::string folder = join(current_user_dir, sub);
    if (!make_dirs(folder)) return {};
    return join(folder, name);
}

std::string data_dir_for_executable(const std::string& exe_dir) {
    auto has_data = [](const std::string& dir) {
        return file_readable(join(dir, "bigfont.bmp")) || is_dir(join(dir, "gfx"));
    };
    if (exe_dir.empty() || has_data(exe_dir)) return exe_dir;
    // The installed layout: the data folder relative to the executable's, ".." taken apart so
    // that the log and the dump show a plain path.
    std::string dir = exe_dir;
    std::string_view rest = SS_DATA_FROM_BIN;
    while (!rest.empty()) {
        const size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part == "..") {
            const size_t at = dir.find_last_of('/');
            dir = at == std::string::npos || at == 0 ? "/" : dir.substr(0, at);
        } else if (!part.empty() && part != ".") {
            dir = join(dir, part);
        }
    }
    return has_data(dir) ? dir : exe_dir;
}

std::string xdg_pictures_dir(const std::string& home, const std::string& config_home) {
    std::string config = config_home.empty() ? join(home, ".config") : config_home;
    auto bytes = read_file(join(config, "user-dirs.dirs"), size_t(1) << 20);
    if (!bytes) return {};
    std::string text(bytes->begin(), bytes->end());
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos) continue;
        line = line.substr(start);
        const std::string key = "XDG_PICTURES_DIR=";
        if (line.rfind(key, 0) != 0) continue;
        std::string value = line.substr(key.size());
        while (!value.empty() && (value.back() == '\r' || value.back() == ' '))
            value.pop_back();
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0) {
            if (home.empty()) return {};
            value = home + value.substr(5);
        }
        // Only absolute paths are valid there; a folder equal to home means "not set".
        if (value.empty() || value[0] != '/') return {};
        std::string trimmed = value;
        while (trimmed.size() > 1 && trimmed.back() == '/')
            trimmed.pop_back();
        if (trimmed == home) return {};
        return trimmed;
    }
    return {};
}
