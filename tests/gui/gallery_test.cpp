// Scripted runs of gui_gallery: the events it prints for clicks and keys, the message box's
// answers and the file requester's paths, with widget positions taken from its state dumps.
#include "support/test_support.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <string>

namespace {

struct Rect {
    double x = 0, y = 0, w = 0, h = 0;
    int cx() const { return int(x + w / 2); }
    int cy() const { return int(y + h / 2); }
};

class Gallery : public testing::Test {
  protected:
    void SetUp() override {
        dir = make_temp_dir();
        std::filesystem::copy_file(SS_GUI_GALLERY, dir + "/gui_gallery");
        std::filesystem::copy_file(std::string(SS_GAME_DIR) + "/smalfont.bmp",
                                   dir + "/smalfont.bmp");
        std::filesystem::create_directory(dir + "/levels");
        std::filesystem::create_directory(dir + "/.tmp"); // the error log, out of the listing
        write_bytes(dir + "/levels/level1.ini", "[level]\n");
        write_bytes(dir + "/levels/notes.txt", "x\n");
    }

    // Runs the gallery with the script so far plus `tail`; returns its stdout and stderr.
    std::string run(const std::string& tail = "") {
        write_bytes(dir + "/script.txt", script + tail + std::to_string(t + 500) + " close\n");
        std::string out;
        status = run_command("cd '" + dir + "' && TMPDIR='" + dir +
                                 "/.tmp' ASAN_OPTIONS=detect_leaks=0 ./gui_gallery --script script.txt "
                                 "--max-ms 60000 2>/dev/null",
                             &out);
        return out;
    }
    // The state dump after everything scripted so far.
    std::string dump() {
        run(std::to_string(t + 100) + " dump state.json\n");
        return read_text(dir + "/state.json");
    }
    static Rect rect(const std::string& json, const std::string& id) {
        const std::string num = "(-?[0-9.e+]+)";
        std::smatch m;
        const std::regex re("\"id\": \"" + id + "\", \"rect\": \\[" + num + ", " + num + ", " +
                            num + ", " + num + "\\]");
        Rect r;
        EXPECT_TRUE(std::regex_search(json, m, re)) << id << " not in\n" << json;
        if (m.size() == 5) r = {std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4])};
        return r;
    }
    static std::string row(const std::string& json, const std::string& key) {
        std::smatch m;
        const std::regex re("\"" + key + "\": \"([^\"]*)\"");
        return std::regex_search(json, m, re) ? std::string(m[1]) : std::string("<absent>");
    }
    // A click at (x, y): move, press, release, then a pause.
    void click(int x, int y) {
        add("mouse " + std::to_string(x) + " " + std::to_string(y));
        add("button 1 down");
        add("button 1 up");
        t += 100;
    }
    void click(const Rect& r) { click(r.cx(), r.cy()); }
    void press(int code) {
        add("key " + std::to_string(code) + " down");
        add("key " + std::to_string(code) + " up");
        t += 100;
    }
    void add(const std::string& command) {
        t += 50;
        script += std::to_string(t) + " " + command + "\n";
    }

    std::string dir, script;
    int t = 200;
    int status = -1;
};

} // namespace

TEST_F(Gallery, ShowsBothDialogsAndSwapsThem) {
    std::string front = dump();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(row(front, "TEXT"), "Further widgets");
    EXPECT_NE(front.find("\"depth\": 2"), std::string::npos);
    for (const char* id : {"sl_volume", "rb_mode", "ls_levels", "tx_name", "fc_file", "bt_back"})
        rect(front, id);
    click(rect(front, "bt_back"));
    std::string back = dump();
    EXPECT_EQ(row(back, "TEXT"), "Basic widgets");
    for (const char* id : {"st_intro", "bt_save", "cb_map", "sp_red", "sp_blue", "bt_front"})
        rect(back, id);
    // The sprite buttons share the size of the largest sprite (24 x 16).
    EXPECT_EQ(rect(back, "sp_blue").w, 24);
    EXPECT_EQ(rect(back, "sp_blue").h, 16);
    click(rect(back, "cb_map"));
    click(rect(back, "bt_save"));
    click(rect(back, "cb_map"));
    std::string out = run();
    EXPECT_EQ(status, 0);
    EXPECT_NE(out.find("ready\nbt_backCLICKED\nswap Basic widgets\ncb_mapCHECKED 1\n"
                       "bt_saveCLICKED\ncb_mapCHECKED 0\n"),
              std::string::npos)
        << out;
}

TEST_F(Gallery, FurtherWidgetsReportTheirChanges) {
    const std::string front = dump();
    const Rect slider = rect(front, "sl_volume"), radio = rect(front, "rb_mode"),
               list = rect(front, "ls_levels"), text = rect(front, "tx_name");
    click(int(slider.x + slider.w - 4), slider.cy());
    click(radio.cx(), int(radio.y + 16 * 2 + 8)); // "Hard"
    click(int(list.x + 10), int(list.y + 16 + 8)); // "Level 2"
    click(int(text.x + 2), text.cy());              // the caret before "Worker"
    press(45);                                      // x
    press(14);                                      // Backspace
    const std::string out = run();
    EXPECT_NE(out.find("sl_volumeTEXT 1.00\n"), std::string::npos) << out;
    EXPECT_NE(out.find("rb_modeSELECT 2 Hard\n"), std::string::npos) << out;
    EXPECT_NE(out.find("ls_levelsSELECT 1 Level 2\n"), std::string::npos) << out;
    EXPECT_NE(out.find("tx_nameTEXT xWorker\ntx_nameTEXT Worker\n"), std::string::npos) << out;
}

TEST_F(Gallery, MessageBoxAnswersAndRestoresTheDialog) {
    click(rect(dump(), "bt_back"));
    const std::string back = dump();
    click(rect(back, "bt_ask"));
    const std::string box = dump();
    EXPECT_EQ(row(box, "TEXT"), "!?");
    EXPECT_NE(box.find("\"depth\": 3"), std::string::npos);
    click(rect(box, "bt_yes"));
    click(rect(back, "bt_ask"));
    click(rect(box, "bt_no"));
    click(rect(back, "bt_msg"));
    const std::string ok_box = dump();
    EXPECT_EQ(row(ok_box, "bt_yesTEXT"), "OK");
    EXPECT_EQ(row(ok_box, "bt_noTEXT"), "<absent>");
    click(rect(ok_box, "bt_yes"));
    const std::string after = dump();
    EXPECT_EQ(row(after, "TEXT"), "Basic widgets");
    EXPECT_EQ(row(after, "bt_askCLICKED"), "0");
    EXPECT_EQ(row(after, "bt_msgCLICKED"), "0");
    const std::string out = run();
    EXPECT_NE(out.find("bt_askCLICKED\nmessage_box 1\nbt_askCLICKED\nmessage_box 0\n"
                       "bt_msgCLICKED\nmessage_box 1\n"),
              std::string::npos)
        << out;
}

TEST_F(Gallery, FileChooserReturnsAPathAndCancelGivesNoFile) {
    const std::string front = dump();
    click(rect(front, "fc_file"));
    const std::string chooser = dump();
    EXPECT_EQ(row(chooser, "TEXT"), "Open file");
    const std::string folder = row(chooser, "st_fr_folderTEXT");
    EXPECT_EQ(std::filesystem::path(folder), std::filesystem::canonical(dir));
    const Rect list = rect(chooser, "ls_fr_files");
    EXPECT_EQ(row(chooser, "ls_fr_filesTEXT"),
              "..|.tmp/|levels/|gui_gallery|script.txt|smalfont.bmp|state.json");
    click(int(list.x + 10), int(list.y + 2 * 16 + 8)); // "levels/"
    const std::string inside = dump();
    EXPECT_EQ(row(inside, "ls_fr_filesTEXT"), "..|level1.ini|notes.txt");
    click(int(list.x + 10), int(list.y + 16 + 8)); // "level1.ini"
    click(rect(chooser, "bt_fr_ok"));
    // The save requester: Esc cancels without ending the program, and the folder is the
    // starting one again.
    click(rect(front, "bt_saveas"));
    const std::string save = dump();
    EXPECT_EQ(row(save, "st_fr_folderTEXT"), folder);
    EXPECT_EQ(row(save, "ls_fr_filesTEXT"), "..|.tmp/|levels/|script.txt");
    press(1);
    // Once more: a typed name and Return.
    click(rect(front, "bt_saveas"));
    press(45); // x
    press(28); // Return
    click(rect(front, "bt_back"));
    const std::string out = run();
    EXPECT_EQ(status, 0) << out;
    const std::string level = std::filesystem::canonical(dir).string() + "/levels/level1.ini";
    EXPECT_NE(out.find("fc_fileTEXT " + level + "\n"), std::string::npos) << out;
    EXPECT_NE(out.find("bt_saveasCLICKED\nfile_requester NO_FILE\n"), std::string::npos) << out;
    EXPECT_NE(out.find("file_requester " + std::filesystem::canonical(dir).string() + "/x\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("bt_backCLICKED\nswap Basic widgets\n"), std::string::npos) << out;
}
