// The real program in bare and hostile folders: a program folder with no data at all, one that
// cannot be written, and a log folder that cannot be written. The program is started from a
// folder of its own (where the script and its dumps live). Under root, permissions do not bind,
// so the runs that need a folder to refuse writes drop to the unprivileged user "nobody".
#include "editor_run.h"

#include <filesystem>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace editor_test;
namespace fs = std::filesystem;

constexpr const char* kDropToNobody = "setpriv --reuid=65534 --regid=65534 --clear-groups ";

// A temporary folder with the program folder "prog" (the built one copied, or the program
// alone) and the folder "work" the program is started from.
class HostileRun {
  public:
    explicit HostileRun(bool with_data) : root_(make_open_dir()) {
        const fs::path game = fs::path(game_executable()).parent_path();
        fs::create_directory(prog());
        if (with_data) {
            fs::copy(game, prog(), fs::copy_options::recursive | fs::copy_options::copy_symlinks);
            fs::remove(prog() + "/limitfps.txt");
        } else {
            fs::copy_file(game_executable(), prog() + "/steel_spree");
        }
        fs::create_directory(work());
        fs::create_directory(work() + "/tmp");
        // Readable by anyone, the work folder writable by anyone (for the runs as "nobody").
        chmod(root_.c_str(), 0755);
        chmod(work().c_str(), 0777);
        chmod((work() + "/tmp").c_str(), 0777);
    }
    ~HostileRun() {
        set_writable(prog(), true);
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    std::string prog() const { return root_ + "/prog"; }
    std::string work() const { return root_ + "/work"; }
    std::string log() const { return read_text(work() + "/tmp/ErrorLog.txt"); }
    std::string read(const std::string& name) const { return read_text(work() + "/" + name); }

    // Runs the script; `tmp` is the log's folder; `as_nobody` drops root's rights first.
    int run(const std::string& script, const std::string& options, bool as_nobody = false,
            std::string tmp = "", std::string* output = nullptr) {
        if (tmp.empty()) tmp = work() + "/tmp";
        EXPECT_TRUE(write_bytes(work() + "/script.txt", script));
        const std::string user = as_nobody && geteuid() == 0 ? kDropToNobody : "";
        std::string out;
        const int status = run_command("cd '" + work() + "' && TMPDIR='" + tmp + "' " + user +
                                           "'" + prog() + "/steel_spree' --script script.txt " +
                                           options,
                                       &out);
        if (output) *output = out;
        return status;
    }

    // Every file below the program folder with its bytes.
    std::map<std::string, std::string> prog_files() const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(prog()))
            if (e.is_regular_file())
                files[fs::relative(e.path(), prog()).string()] = read_text(e.path().string());
        return files;
    }

    static void set_writable(const std::string& dir, bool on) {
        std::error_code ec;
        const auto perms = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        fs::permissions(dir, perms, on ? fs::perm_options::add : fs::perm_options::remove, ec);
        for (const auto& e : fs::recursive_directory_iterator(dir, ec))
            fs::permissions(e.path(), perms, on ? fs::perm_options::add : fs::perm_options::remove,
                            ec);
    }

  private:
    // Outside the tests' own temporary folder, which only its owner may enter.
    static std::string make_open_dir() {
        std::string templ = "/tmp/ss_hostile_XXXXXX";
        if (!mkdtemp(templ.data())) return make_temp_dir();
        return templ;
    }
    std::string root_;
};

bool CanDropRights() {
    return geteuid() != 0 || run_command("setpriv --reuid=65534 --regid=65534 --clear-groups true") == 0;
}

// Splash and intro skipped: the menu from about 0.3 s.
const char* kToMenu = "100 key 57 down\n250 key 57 up\n300 key 29 down\n450 key 29 up\n";

std::vector<std::string> MissingLines(const std::string& log) {
    std::vector<std::string> lines;
    const std::string tag = "Missing file: ";
    for (size_t at = log.find(tag); at != std::string::npos; at = log.find(tag, at + 1)) {
        const size_t end = log.find("\r\n", at);
        lines.push_back(log.substr(at + tag.size(), end - at - tag.size()));
    }
    return lines;
}

TEST(BareFolder, WithNoDataTheGamePlaysTheEmptyLevelToItsEndAndOpensTheEditor) {
    HostileRun game(false);
    // The menu; F4 starts a game at level 1, which has no file: one pad of no size, a worker
    // who stands on nothing, so the clock takes every life (120 s, then 1000 s for each of the
    // three others) and the game ends back at the menu; F5 opens the editor.
    std::string s = kToMenu;
    s += "2000 dump menu.json\n" + Press(2800, 62) + "4000 dump play.json\n";
    const int over = 3200000;
    s += At(over, "dump over.json") + Press(over + 2500, 63) + At(over + 4000, "dump editor.json");
    s += At(over + 4500, "close");
    ASSERT_EQ(game.run(s, "--no-draw --max-ms 3300000"), 0);
    EXPECT_EQ(JsonField(game.read("menu.json"), "Screen"), "menu");
    const std::string play = game.read("play.json");
    EXPECT_EQ(JsonField(play, "Screen"), "play");
    EXPECT_EQ(JsonNum(play, "Lives"), 3);
    auto count = [&](const std::string& key) {
        size_t n = 0;
        for (size_t at = play.find(key); at != std::string::npos; at = play.find(key, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("\"step_x\""), 1u) << "one pad: " << play;
    EXPECT_EQ(count("\"heading\""), 1u) << "one worker: " << play;
    const std::string over_dump = game.read("over.json");
    EXPECT_EQ(JsonField(over_dump, "Screen"), "menu");
    EXPECT_EQ(JsonNum(over_dump, "Lives"), -1);
    EXPECT_EQ(JsonField(game.read("editor.json"), "Screen"), "editor");

    // Each missing data file is logged once: pictures, models, sounds, music, fonts.
    const std::vector<std::string> missing = MissingLines(game.log());
    const std::set<std::string> unique(missing.begin(), missing.end());
    EXPECT_EQ(unique.size(), missing.size()) << game.log();
    for (const char* file : {"gfx/splash.bmp", "gfx/Trelmond.bmp", "sfx/bell.wav", "bigfont.bmp",
                             "music\\SS_6.IT"})
        EXPECT_EQ(unique.count(file), 1u) << file << " in\n" << game.log();
    EXPECT_GE(unique.size(), 20u) << game.log();
}

TEST(BareFolder, WithNoDataTheMenuIsDrawn) {
    HostileRun game(false);
    std::string s = kToMenu;
    s += "3000 screenshot menu.bmp\n3100 close\n";
    ASSERT_EQ(game.run(s, "--max-ms 20000"), 0);
    const Screenshot shot = ReadScreenshot(game.work() + "/menu.bmp");
    ASSERT_EQ(shot.width, 800);
    int lit = 0;
    for (int y = 0; y < 600; y += 2)
        for (int x = 0; x < 800; x += 2)
            lit += shot.at(x, y) != 0;
    EXPECT_GT(lit, 100) << "the menu's texts in the built-in font";
}

TEST(HostileFolder, AReadOnlyProgramFolderLosesNothingAndSaysWhatItCannotWrite) {
    if (!CanDropRights()) GTEST_SKIP() << "no way to run without root's rights";
    HostileRun game(true);
    const auto before = game.prog_files();
    HostileRun::set_writable(game.prog(), false);

    // Play: a game of level 1, then the program ends.
    std::string out;
    const std::string play = "1000 dump play.json\n2000 close\n";
    EXPECT_EQ(game.run(play, "--level 1 --no-draw --max-ms 10000", true, "", &out), 0) << out;
    EXPECT_EQ(JsonField(game.read("play.json"), "Screen"), "play");

    // The editor: a pad added and saved; the save cannot be written, and the box says so.
    Script s;
    s.click_widget("bt_add").click_widget("bt_save").dump("failed.json");
    EXPECT_EQ(game.run(s.text(), "--no-draw --max-ms 6000", true, "", &out), 2) << out;
    auto rows = GuiRows(game.read("failed.json"));
    EXPECT_NE(rows["ID_STATIC_1TEXT"].find("Cannot write level1.ini"), std::string::npos)
        << rows["ID_STATIC_1TEXT"];
    EXPECT_EQ(rows["bt_yesTEXT"], "OK");

    HostileRun::set_writable(game.prog(), true);
    EXPECT_EQ(game.prog_files(), before) << "the program folder is as it was";
}

TEST(HostileFolder, ALogFolderThatCannotBeWrittenLeavesTheGameRunning) {
    if (!CanDropRights()) GTEST_SKIP() << "no way to run without root's rights";
    HostileRun game(true);
    const std::string locked = game.work() + "/locked";
    fs::create_directory(locked);
    chmod(locked.c_str(), 0555);
    const std::string script = "1000 key 205 down\n1500 key 205 up\n2000 dump play.json\n"
                               "2100 close\n";
    struct Case {
        const char* name;
        std::string tmp;
    };
    const Case cases[] = {{"read-only folder", locked}, {"no such folder", game.work() + "/none/x"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(game.work() + "/play.json");
        std::string out;
        EXPECT_EQ(game.run(script, "--level 1 --no-draw --max-ms 10000", true, c.tmp, &out), 0)
            << out;
        const std::string dump = game.read("play.json");
        EXPECT_EQ(JsonField(dump, "Screen"), "play");
        EXPECT_GT(JsonNum(dump, "FrameClock"), 1900);
        EXPECT_FALSE(fs::exists(c.tmp + "/ErrorLog.txt"));
    }
}

} // namespace
