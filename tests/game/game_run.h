#pragma once
// Scripted runs of the real game in a folder of its own: the built program and its data,
// plus whatever level files and settings a test writes there.
#include "support/test_support.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

class GameRun {
  public:
    // A fresh folder with the program, linked data and (with_levels) the shipped level files.
    explicit GameRun(bool with_levels = true) : dir_(make_temp_dir()) {
        namespace fs = std::filesystem;
        const fs::path game = fs::path(game_executable()).parent_path();
        fs::copy_file(game_executable(), dir_ + "/steel_spree");
        for (const auto& e : fs::directory_iterator(game)) {
            const std::string name = e.path().filename().string();
            if (name == "steel_spree" || name == "limitfps.txt") continue;
            if (!with_levels && name.rfind("level", 0) == 0) continue;
            fs::create_symlink(e.path(), dir_ + "/" + name);
        }
    }
    const std::string& dir() const { return dir_; }
    void write(const std::string& name, const std::string& text) {
        std::filesystem::remove(dir_ + "/" + name);
        ASSERT_TRUE(write_bytes(dir_ + "/" + name, text));
    }
    std::string read(const std::string& name) const { return read_text(dir_ + "/" + name); }
    // Runs the script with extra options; returns the exit status (output in `output`).
    int run(const std::string& script, const std::string& options = "",
            std::string* output = nullptr) {
        write("script.txt", script);
        std::string out;
        int status = run_command("cd '" + dir_ + "' && TMPDIR='" + dir_ +
                                     "' ./steel_spree --script script.txt --max-ms 600000 " +
                                     options,
                                 &out);
        if (output) *output = out;
        return status;
    }

  private:
    std::string dir_;
};

// The value of the first member named `key` in a dump (numbers and strings; "" when absent).
inline std::string JsonField(const std::string& json, const std::string& key) {
    const std::string tag = "\"" + key + "\":";
    size_t at = json.find(tag);
    if (at == std::string::npos) return "";
    at += tag.size();
    if (json[at] == '"') {
        size_t end = json.find('"', at + 1);
        return json.substr(at + 1, end - at - 1);
    }
    size_t end = json.find_first_of(",}]", at);
    return json.substr(at, end - at);
}
inline double JsonNum(const std::string& json, const std::string& key) {
    std::string v = JsonField(json, key);
    return v.empty() ? std::nan("") : std::strtod(v.c_str(), nullptr);
}
