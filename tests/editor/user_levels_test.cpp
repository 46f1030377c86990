// Saving into the player's folder: the shipped levels and the game folder stay as they are, the
// saved level is the one read from then on, and a save with nowhere to write keeps the edits.
#include "editor_run.h"

#include <filesystem>
#include <map>

namespace editor_test {
namespace {

namespace fs = std::filesystem;

const char* kQuick = "--no-draw --max-ms 60000";

// Every entry of the game folder with what it is and holds (links by their target's text).
std::map<std::string, std::string> FolderState(const std::string& dir) {
    std::map<std::string, std::string> state;
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        if (name == "ErrorLog.txt" || name == "script.txt" ||
            name.find(".json") != std::string::npos)
            continue;
        const std::string what = e.is_symlink() ? "link " + fs::read_symlink(e.path()).string()
                                 : e.is_regular_file() ? std::string("file")
                                                       : std::string("other");
        const std::string text = e.is_regular_file() ? read_text(e.path().string()) : "";
        state[name] = what + " " + std::to_string(std::hash<std::string>{}(text));
    }
    return state;
}

TEST(EditorUserLevels, SaveAndTestWriteOnlyIntoTheUserFolder) {
    GameRun game; // the shipped levels, linked into the game folder
    const std::string user = make_temp_dir() + "/user";
    const auto before = FolderState(game.dir());
    Script s;
    s.click_widget("bt_add").click_widget("bt_save").dump("saved.json");
    s.click_widget("bt_test").command("key 1 down", 200).command("key 1 up", 300);
    s.command("close");
    ASSERT_EQ(game.run(s.text(), std::string(kQuick) + " --user-dir '" + user + "'"), 0);
    const size_t pads = DumpPads(game.read("saved.json")).size();
    // The shipped level 1 has three pads; the saved one a fourth.
    EXPECT_EQ(pads, 4u);
    EXPECT_EQ(FolderState(game.dir()), before);
    const std::string saved = read_text(user + "/levels/level1.ini");
    EXPECT_NE(saved.find("padcount=4\r\n"), std::string::npos);
    EXPECT_EQ(read_text(user + "/levels/level0.ini"), saved); // "-TEST-" plays level 0
    // The next run of the editor opens the player's level 1.
    Script again;
    again.dump("opened.json").command("close");
    ASSERT_EQ(game.run(again.text(), std::string(kQuick) + " --user-dir '" + user + "'"), 0);
    EXPECT_EQ(DumpPads(game.read("opened.json")).size(), 4u);
}

TEST(EditorUserLevels, ASaveWithNowhereToWriteSaysSoAndKeepsTheEdits) {
    GameRun game;
    const std::string user = game.dir() + "/user";
    fs::create_directories(user);
    // A file where the levels folder belongs: nothing can be saved.
    ASSERT_TRUE(write_bytes(user + "/levels", "not a folder"));
    Script s;
    s.click_widget("bt_add").click_widget("bt_save").dump("failed.json");
    // The box stays until it is answered; the clock ends the run.
    EXPECT_EQ(game.run(s.text(), "--no-draw --max-ms 5000 --user-dir '" + user + "'"), 2);
    const std::string failed = game.read("failed.json");
    auto rows = GuiRows(failed);
    EXPECT_EQ(rows["bt_yesTEXT"], "OK");
    EXPECT_NE(rows["ID_STATIC_1TEXT"].find("not saved"), std::string::npos);
    EXPECT_EQ(DumpPads(failed).size(), 4u); // the edit is still there
    EXPECT_EQ(read_text(user + "/levels"), "not a folder");
}

} // namespace
} // namespace editor_test
