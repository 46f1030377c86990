#include "runtime/errors.h"

#include "runtime/numbers.h"

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

struct ErrorState {
    double error_code = 0;
    double error_line = 0;
    double current_line = 0;
    double current_line_aux = 0;
    bool debug = false;
    bool ending = false;
};

ErrorState& state() {
    static ErrorState s;
    return s;
}

std::vector<void (*)()>& end_hooks() {
    static std::vector<void (*)()> hooks;
    return hooks;
}

const char* error_text(int code) {
    switch (code) {
    case 0: return "normal end";
    case 3: return "file cannot be read";
    case 7: return "out of memory or line number out of range";
    case 8: return "array used before it was dimensioned";
    case 9: return "array index out of range";
    default: return "runtime error";
    }
}

std::string format_g(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

} // namespace

double set_error_code(double code) {
    state().error_code = code;
    state().error_line = state().current_line;
    return code;
}

double last_error_code() { return state().error_code; }

void set_error_line(double line, double aux) {
    state().current_line = line;
    state().current_line_aux = aux;
}

void set_debug_mode(bool on) { state().debug = on; }

void at_runtime_end(void (*fn)()) { end_hooks().push_back(fn); }

void runtime_error(double code) {
    set_error_code(code);
    int status = to_int32(code);
    // An error is never reported as success: the parent sees only the low 8 bits of the status,
    // so a code that is 0 there (0, 256, -512, ...) ends with 1.
    if ((status & 0xFF) == 0) status = 1;
    error_log("Runtime error " + std::to_string(to_int32(code)) + ": " + error_text(to_int32(code)));
    runtime_exit(status);
}

void runtime_end() { runtime_exit(0); }

void runtime_exit(int status) {
    ErrorState& s = state();
    if (s.ending) std::exit(status); // a hook failed while ending: leave at once
    s.ending = true;
    if (s.debug) {
        error_log("-End On Line");
        error_log(format_g(s.error_code));
        error_log(format_g(s.error_line - 1));
        error_log(format_g(s.current_line));
        error_log(format_g(s.current_line_aux));
    }
    auto& hooks = end_hooks();
    while (!hooks.empty()) {
        auto fn = hooks.back();
        hooks.pop_back();
        fn();
    }
    std::fflush(stdout);
    std::exit(status);
}

const char* error_log_path() {
    static std::string path;
    const char* tmp = std::getenv("TMPDIR");
    std::string dir = (tmp && *tmp) ? tmp : "/tmp";
    if (dir.back() != '/') dir += '/';
    path = dir + "ErrorLog.txt";
    return path.c_str();
}

void error_log(std::string_view line) {
    std::FILE* f = std::fopen(error_log_path(), "ab");
    if (!f) return;
    std::fwrite(line.data(), 1, line.size(), f);
    std::fwrite("\r\n", 1, 2, f);
    std::fclose(f);
}

void error_log_restart() { std::remove(error_log_path()); }

void log_missing_file(std::string_view name) {
    static std::set<std::string, std::less<>> logged;
    if (logged.count(name) != 0) return;
    logged.emplace(name);
    error_log("Missing file: " + std::string(name));
}
