// steel_data music FILE: what libopenmpt makes of a music module, how loud it plays (rendered
// to its end, integrated loudness and sample peak) and the form its song message names.
#include "audio/music.h"
#include "command.h"
#include "loudness.h"
#include "runtime/files.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// JSON string contents: quotes, backslashes and control characters escaped.
std::string json_text(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(char(c));
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out.push_back(char(c));
        }
    }
    return out;
}

// The value of the message line "key: value" ("" when there is none).
std::string message_field(const std::string& message, const std::string& key) {
    size_t at = 0;
    while (at <= message.size()) {
        size_t end = message.find('\n', at);
        if (end == std::string::npos) end = message.size();
        const std::string line = message.substr(at, end - at);
        if (line.rfind(key + ": ", 0) == 0) return line.substr(key.size() + 2);
        at = end + 1;
    }
    return "";
}

// Renders the whole module (it plays once) through the loudness meter. False when it does
// not end within an hour.
bool measure(Module& module, LoudnessMeter* meter, double* rendered_s) {
    constexpr size_t kFrames = 4096, kRate = 44100, kMaxFrames = kRate * 3600;
    std::vector<float> buf(2 * kFrames);
    size_t total = 0;
    for (;;) {
        const size_t n = module.render(buf.data(), kFrames);
        if (n == 0) break;
        meter->add(buf.data(), n);
        total += n;
        if (total > kMaxFrames) return false;
    }
    *rendered_s = double(total) / double(kRate);
    return true;
}

int cmd_music(int argc, char** argv) {
    if (argc != 2) return usage_error("usage: steel_data music FILE");
    std::string error;
    std::unique_ptr<Module> module;
    auto bytes = read_file(argv[1], kMaxModuleBytes);
    if (!bytes)
        error = "cannot read the file";
    else
        module = Module::load(*bytes, &error);
    if (!module) {
        return json_error(error);
    }
    LoudnessMeter meter(44100);
    double rendered = 0;
    if (!measure(*module, &meter, &rendered)) return json_error("the module does not end");
    const std::string message = module->message();
    std::printf("{\"duration_s\":%.3f, \"channels\":%d, \"patterns\":%d, \"orders\":%d, "
                "\"samples\":%d, \"title\":\"%s\", \"form\":\"%s\", \"ending\":\"%s\", "
                "\"rendered_s\":%.3f, \"loudness_lufs\":%.2f, \"peak_dbfs\":%.2f}\n",
                module->duration_s(), module->channels(), module->patterns(), module->orders(),
                module->samples(), json_text(message_field(message, "Title")).c_str(),
                json_text(message_field(message, "Form")).c_str(),
                json_text(message_field(message, "Ending")).c_str(), rendered, meter.integrated(),
                meter.peak_dbfs());
    return 0;
}

const CommandRegistrar reg("music", "music FILE", cmd_music);

} // namespace
