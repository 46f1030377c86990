// INI files: reading real bytes, the store's operations, write-back layout, and write-backs
// interrupted by a killed process.
#include "fork_style.h"
#include "runtime/errors.h"
#include "runtime/files.h"
#include "runtime/ini.h"
#include "runtime/numbers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::string S(const RtString& s) {
    return s.str();
}

class IniTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = make_temp_dir();
        ASSERT_FALSE(dir.empty());
        // Leave whatever an earlier test selected, without writing into this test's files.
        ini_open(dir + "/none.ini");
    }
    std::string path(const std::string& name) const { return dir + "/" + name; }
    RtString open_bytes(const std::string& name, const std::string& bytes) {
        EXPECT_TRUE(write_bytes(path(name), bytes));
        ini_open(path(name).c_str());
        return RtString(path(name).c_str());
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string dir;
};

TEST_F(IniTest, ReadsCrLfFilesWithoutAFinalLineEnd) {
    open_bytes("a.ini", "[pads0]\r\nminx=3\r\nMaxX=4\r\n\r\n[workers]\r\nexty=2");
    EXPECT_EQ(S(ini_get("pads0", "minx")), "3");
    EXPECT_EQ(S(ini_get("PADS0", "MinX")), "3"); // letter case is ignored
    EXPECT_EQ(S(ini_get("pads0", "maxx")), "4");
    EXPECT_EQ(S(ini_get("workers", "exty")), "2");
    EXPECT_EQ(S(ini_get("workers", "minx")), "NO_DATA");
    EXPECT_EQ(S(ini_get("nothing", "minx")), "NO_DATA");
}

TEST_F(IniTest, SeparatorsAndValues) {
    open_bytes("b.ini", "[s]\n"
                        "a=3\n"
                        "b\t3\n"
                        "c 3\n"
                        "d = 3\n"
                        "e=  spaced  \n"
                        "f=x\x01\x1f\xe9\n"
                        "g=\n"
                        "h\n"
                        "   ; comment=1\n"
                        ";k=1\n"
                        "  \t indented=5\n"
                        "i=a=b\n"
                        "=9\n");
    EXPECT_EQ(S(ini_get("s", "a")), "3");
    EXPECT_EQ(S(ini_get("s", "b")), "3");
    EXPECT_EQ(S(ini_get("s", "c")), "3");
    EXPECT_EQ(S(ini_get("s", "d")), "= 3");
    EXPECT_EQ(S(ini_get("s", "e")), "spaced  "); // trailing spaces stay
    EXPECT_EQ(S(ini_get("s", "f")), "x");        // trailing control and high bytes go
    EXPECT_EQ(S(ini_get("s", "g")), "NO_DATA");
    EXPECT_EQ(S(ini_get("s", "h")), "NO_DATA");
    EXPECT_EQ(S(ini_get("s", ";k")), "NO_DATA");
    EXPECT_EQ(S(ini_get("s", "indented")), "5");
    EXPECT_EQ(S(ini_get("s", "i")), "a=b");
    EXPECT_EQ(S(ini_get("s", "")), "9");
}

TEST_F(IniTest, OddHeaders) {
    auto sections =
        ini_parse("[global]\na=1\n[ global2 ] ; note\nb=2\n[two words]\nc=3\n[name]x\nd=4\n"
                  "[]\ne=5\n[empty]\n[last]\nf=6\n");
    ASSERT_EQ(sections.size(), 6u);
    EXPECT_EQ(sections[0].name, "global");
    EXPECT_EQ(sections[1].name, "global2");
    EXPECT_EQ(sections[2].name, "two");
    EXPECT_EQ(sections[3].name, "name]x");
    EXPECT_EQ(sections[4].name, "name]x"); // [] keeps the previous name
    EXPECT_EQ(sections[4].pairs[0].first, "e");
    EXPECT_EQ(sections[5].name, "last"); // [empty] had no pairs and vanished
}

TEST_F(IniTest, KeysBeforeAnyHeaderAndDuplicates) {
    open_bytes("c.ini", "top=1\n[a]\nk=first\nK=second\n[A]\nk=third\nz=1\n");
    EXPECT_EQ(S(ini_get("", "top")), "1");
    EXPECT_EQ(S(ini_get("a", "k")), "first");
    EXPECT_EQ(S(ini_get("a", "z")), "NO_DATA"); // only the first section named a is searched
    auto sections = ini_parse("top=1\n[a]\nk=first\nK=second\n[A]\nk=third\n");
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].name, "");
    EXPECT_EQ(sections[1].pairs.size(), 2u);
}

TEST_F(IniTest, LongLinesAreCutAndTheirRestSkipped) {
    std::string value(1500, 'v');
    open_bytes("long.ini",
               "[s]\nk=" + value + "\nnext=1\n[t]\nx=" + std::string(1019, 'w') + "=tail\n");
    EXPECT_EQ(S(ini_get("s", "k")), std::string(1021, 'v')); // 1023 bytes of line
    EXPECT_EQ(S(ini_get("s", "next")), "1");
    EXPECT_EQ(S(ini_get("t", "x")), std::string(1019, 'w') + "=t");
    EXPECT_EQ(S(ini_get("t", "tail")), "NO_DATA");
}

TEST_F(IniTest, NulBytesAndBinaryGarbageAreHarmless) {
    open_bytes("nul.ini", std::string("[s]\na=1\0junk\nb=2\n", 17));
    EXPECT_EQ(S(ini_get("s", "a")), "1");
    EXPECT_EQ(S(ini_get("s", "b")), "2");
    std::string garbage;
    for (int i = 0; i < 5000; ++i)
        garbage += char((i * 7919) & 255);
    ini_parse(garbage); // no crash, no sanitizer report
}

TEST_F(IniTest, PutCreatesAFileWithExactlyTheLayout) {
    ini_open(path("new.ini").c_str());
    ini_put("a", "k", 1);
    EXPECT_FALSE(file_readable(path("new.ini"))); // nothing on disk yet
    ini_open(path("other.ini").c_str());
    EXPECT_EQ(read_text(path("new.ini")), "[a]\r\nk=1\r\n");
}

TEST_F(IniTest, WriteBackLayoutByteForByte) {
    open_bytes("w.ini",
               "; comment\r\ntop = 5\r\n[ pads0 ]\r\nminx=1\r\nmaxx\t2\r\n[workers]\r\nx=1\r\n");
    ini_put("pads0", "MINX", "7");   // replaces in place, keeps the stored key
    ini_put("pads0", "extx", "9");   // appended
    ini_put("workers", "x", "");     // removed
    ini_put("new", "k", "");         // written as k= and vanishes on reading
    ini_open(path("w.ini").c_str()); // the same file: written, then read back
    EXPECT_EQ(
        read_text(path("w.ini")),
        "[]\r\ntop== 5\r\n[pads0]\r\nminx=7\r\nmaxx=2\r\nextx=9\r\n[workers]\r\n[new]\r\nk=\r\n");
    EXPECT_EQ(S(ini_get("pads0", "minx")), "7");
    EXPECT_EQ(S(ini_get("new", "k")), "NO_DATA");
    EXPECT_EQ(S(ini_get("", "top")), "= 5");
}

TEST_F(IniTest, RemovingAKeyMovesTheLastPairIntoItsPlace) {
    open_bytes("r.ini", "[s]\na=1\nb=2\nc=3\nd=4\n");
    ini_put("s", "b", "");
    ini_flush();
    EXPECT_EQ(read_text(path("r.ini")), "[s]\r\na=1\r\nd=4\r\nc=3\r\n");
}

TEST_F(IniTest, RemovingASectionMovesTheLastSectionIntoItsPlace) {
    open_bytes("sec.ini", "[a]\nx=1\n[b]\nx=2\n[c]\nx=3\n");
    ini_put("A", "", "");
    ini_flush();
    EXPECT_EQ(read_text(path("sec.ini")), "[c]\r\nx=3\r\n[b]\r\nx=2\r\n");
    EXPECT_EQ(S(ini_get("a", "x")), "NO_DATA");
}

TEST_F(IniTest, ReopeningTheSelectedFileKeepsUnsavedChanges) {
    open_bytes("same.ini", "[s]\nk=1\n");
    ini_put("s", "k", "2");
    ini_open(path("same.ini").c_str());
    EXPECT_EQ(S(ini_get("s", "k")), "2");
}

TEST_F(IniTest, UnchangedStoresAreNotWritten) {
    open_bytes("keep.ini", "[s]\nk  =  1\n");
    ini_open(path("other.ini").c_str());
    EXPECT_EQ(read_text(path("keep.ini")), "[s]\nk  =  1\n");
    EXPECT_FALSE(file_readable(path("other.ini")));
}

TEST_F(IniTest, BackslashNamesAreMappedToFolders) {
    ASSERT_EQ(mkdir(path("levels").c_str(), 0755), 0);
    write_bytes(path("levels/level1.ini"), "[s]\nk=ok\n");
    std::string name = dir + "\\levels\\level1.ini";
    ini_open(name.c_str());
    EXPECT_EQ(S(ini_get("s", "k")), "ok");
}

TEST_F(IniTest, ProgramEndWritesTheStoreBack) {
    ForkedDeathTests forked;
    const std::string file = path("end.ini");
    EXPECT_EXIT(
        {
            ini_open(file.c_str());
            ini_put("a", "k", "v");
            runtime_end();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(read_text(file), "[a]\r\nk=v\r\n");
}

// A child process writes a large store back again and again, one value toggling between two
// versions; it is killed at many moments. The file on disk must always be one whole version.
TEST_F(IniTest, KilledWriteBackLeavesAWholeFile) {
    const std::string file = path("big.ini");
    auto version = [](char c) {
        std::vector<IniSection> s;
        for (int i = 0; i < 20; ++i) {
            IniSection sec{"section" + std::to_string(i), {}};
            for (int k = 0; k < 150; ++k)
                sec.pairs.emplace_back("key" + std::to_string(k), std::string(100, 'v'));
            s.push_back(sec);
        }
        s[0].pairs[0].second = std::string(100, c);
        return ini_format(s);
    };
    const std::string a = version('a'), b = version('b');
    ASSERT_TRUE(write_bytes(file, a));
    kill_at_moments(
        [&] {
            ini_open(file);
            auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            for (int round = 0; std::chrono::steady_clock::now() < until; ++round) {
                ini_put("section0", "key0", std::string(100, round % 2 ? 'a' : 'b'));
                ini_open(file); // writes back, then reads the file again
            }
        },
        [&](int delay) {
            std::string now = read_text(file);
            EXPECT_TRUE(now == a || now == b)
                << "after " << delay << " us: " << now.size() << " bytes";
        },
        40000);
}

} // namespace
