// The input-script parser on arbitrary bytes: no crash, no sanitizer report; a script that
// parses comes out sorted by time, and its commands written as lines parse back to the same
// lines, in the same order.
#include "runtime/app/script.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string Written(const std::vector<ScriptCommand>& commands) {
    std::string text;
    for (const ScriptCommand& c : commands)
        text += format_script_line(c) + "\n";
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<ScriptCommand> first;
    ScriptError error;
    if (!parse_script(bytes, first, error)) {
        // A refusal names a line of the input and says why.
        if (error.line < 1 || error.reason.empty()) std::abort();
        return 0;
    }
    for (size_t i = 1; i < first.size(); ++i)
        if (first[i].time < first[i - 1].time) std::abort();
    const std::string written = Written(first);
    std::vector<ScriptCommand> again;
    if (!parse_script(written, again, error)) std::abort();
    if (Written(again) != written) std::abort();
    return 0;
}
