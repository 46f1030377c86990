// Line-file reading on arbitrary bytes: at most 256 lines of at most 1023 bytes, none with a NUL
// or a line feed.
#include "runtime/line_files.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> lines =
        line_parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (lines.size() > 256) std::abort();
    for (const std::string& line : lines)
        if (line.size() > 1023 || line.find('\0') != std::string::npos ||
            line.find('\n') != std::string::npos)
            std::abort();
    return 0;
}
