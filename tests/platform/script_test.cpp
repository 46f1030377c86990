// The script format and the runtime options: what is accepted, what is refused with which line.
#include "runtime/app/options.h"
#include "runtime/app/script.h"

#include <gtest/gtest.h>

namespace {

ScriptError parse_error(const std::string& text) {
    std::vector<ScriptCommand> commands;
    ScriptError error;
    EXPECT_FALSE(parse_script(text, commands, error)) << text;
    return error;
}

} // namespace

TEST(ScriptFormat, ReadsEveryCommandWithCommentsAndSortsByTime) {
    const char* text = "# header comment\n"
                       "\n"
                       "  120 key 57 down   # trailing comment\r\n"
                       "100 mouse -5 900\n"
                       "100 button 3 up\n"
                       "130 wheel down\n"
                       "140 joy 2 axis ry -0.25\n"
                       "150 joy 9 button 31 down\n"
                       "160 joy 0 hat left\n"
                       "170 screenshot shots/one.bmp\n"
                       "180 dump state.json\n"
                       "190.5 focus lost\n"
                       "200 close";
    std::vector<ScriptCommand> c;
    ScriptError error;
    ASSERT_TRUE(parse_script(text, c, error)) << error.line << ": " << error.reason;
    ASSERT_EQ(c.size(), 11u);
    // Same time: file order is kept.
    EXPECT_EQ(c[0].op, ScriptOp::Mouse);
    EXPECT_EQ(c[0].a, -5);
    EXPECT_EQ(c[0].b, 900);
    EXPECT_EQ(c[1].op, ScriptOp::Button);
    EXPECT_EQ(c[1].a, 3);
    EXPECT_FALSE(c[1].down);
    EXPECT_EQ(c[2].op, ScriptOp::Key);
    EXPECT_EQ(c[2].a, 57);
    EXPECT_TRUE(c[2].down);
    EXPECT_EQ(c[2].line, 3);
    EXPECT_EQ(c[3].a, -1);
    EXPECT_EQ(c[4].op, ScriptOp::JoyAxis);
    EXPECT_EQ(c[4].a, 2);
    EXPECT_EQ(c[4].b, 4);
    EXPECT_EQ(c[4].value, -0.25);
    EXPECT_EQ(c[5].b, 31);
    EXPECT_EQ(c[6].b, 27000);
    EXPECT_EQ(c[7].file, "shots/one.bmp");
    EXPECT_EQ(c[8].op, ScriptOp::Dump);
    EXPECT_EQ(c[9].time, 190.5);
    EXPECT_FALSE(c[9].down);
    EXPECT_EQ(c[10].op, ScriptOp::Close);
}

TEST(ScriptFormat, BadLinesGiveTheirNumberAndReason) {
    ScriptError e = parse_error("0 key 1 down\n# ok\nten key 1 down\n");
    EXPECT_EQ(e.line, 3);
    EXPECT_NE(e.reason.find("bad time"), std::string::npos);
    EXPECT_EQ(parse_error("-1 close").line, 1);
    EXPECT_NE(parse_error("5 key 256 down").reason.find("0..255"), std::string::npos);
    EXPECT_NE(parse_error("5 key 1.5 down").reason.find("scan code"), std::string::npos);
    EXPECT_NE(parse_error("5 key 1 pressed").reason.find("down or up"), std::string::npos);
    EXPECT_NE(parse_error("5 button 4 down").reason.find("1, 2 or 3"), std::string::npos);
    EXPECT_NE(parse_error("5 joy 10 button 1 down").reason.find("0..9"), std::string::npos);
    EXPECT_NE(parse_error("5 joy 0 axis x 1.5").reason.find("-1..1"), std::string::npos);
    EXPECT_NE(parse_error("5 joy 0 axis x nan").reason.find("-1..1"), std::string::npos);
    EXPECT_NE(parse_error("5 joy 0 hat north").reason.find("hat direction"), std::string::npos);
    EXPECT_NE(parse_error("5 joy 0 button 32 up").reason.find("0..31"), std::string::npos);
    EXPECT_NE(parse_error("5 screenshot").reason.find("usage"), std::string::npos);
    EXPECT_NE(parse_error("5 close now").reason.find("unexpected 'now'"), std::string::npos);
    EXPECT_NE(parse_error("5 jump").reason.find("unknown command 'jump'"), std::string::npos);
    EXPECT_NE(parse_error("5 focus away").reason.find("lost or gained"), std::string::npos);
    EXPECT_NE(parse_error("5").reason.find("missing command"), std::string::npos);
    EXPECT_EQ(parse_error(std::string("1 close\n2 clo\0se\n", 18)).line, 2);
    // A recorded late frame moves the clock on, never back.
    EXPECT_NE(parse_error("50 clock").reason.find("usage"), std::string::npos);
    EXPECT_NE(parse_error("50 clock 49").reason.find("not before"), std::string::npos);
    EXPECT_NE(parse_error("50 clock soon").reason.find("bad clock time"), std::string::npos);
}

TEST(ScriptFormat, FormattedLinesReadBackToTheSameCommands) {
    const char* text = "16.666666666666668 key 200 down\n"
                       "33.343333333333334 mouse 12 -7\n"
                       "40 button 2 up\n"
                       "41 wheel up\n"
                       "50.01 joy 3 axis rz -9.155552842799158e-05\n"
                       "60 joy 1 button 7 down\n"
                       "70 joy 0 hat centre\n"
                       "80 focus gained\n"
                       "85.5 clock 116.66666666666669\n"
                       "90 close\n";
    std::vector<ScriptCommand> c;
    ScriptError error;
    ASSERT_TRUE(parse_script(text, c, error));
    std::string again;
    for (const ScriptCommand& cmd : c)
        again += format_script_line(cmd) + "\n";
    EXPECT_EQ(again, text);
}

TEST(RuntimeOptions, ReadsEveryOptionAndRefusesMistakes) {
    auto parse = [](std::vector<std::string> args, RuntimeOptions& o, std::string& err) {
        std::vector<char*> argv;
        static std::string prog = "steel_spree";
        argv.push_back(prog.data());
        for (std::string& a : args)
            argv.push_back(a.data());
        return parse_runtime_options(int(argv.size()), argv.data(), o, err);
    };
    RuntimeOptions o;
    std::string err;
    ASSERT_TRUE(parse(
        {"--windowed", "--script", "s.txt", "--seed=42", "--max-ms", "1500", "level3"}, o, err))
        << err;
    EXPECT_EQ(o.display, -1);
    EXPECT_EQ(o.script, "s.txt");
    EXPECT_TRUE(o.seed_given);
    EXPECT_EQ(o.seed, 42u);
    EXPECT_EQ(o.max_ms, 1500);
    EXPECT_EQ(o.level, -1);
    ASSERT_TRUE(parse({"--fullscreen", "--record", "r.txt", "--level", "7"}, o, err));
    EXPECT_EQ(o.display, 1);
    EXPECT_EQ(o.record, "r.txt");
    EXPECT_FALSE(o.seed_given);
    EXPECT_EQ(o.level, 7);
    ASSERT_TRUE(parse({"--level=0"}, o, err));
    EXPECT_EQ(o.level, 0);
    ASSERT_TRUE(parse({"--level=2147483647"}, o, err));
    EXPECT_EQ(o.level, 2147483647.0);
    for (const char* bad : {"-1", "2147483648", "1.5", "three", "", "nan", "4x"}) {
        EXPECT_FALSE(parse({"--level", bad}, o, err)) << bad;
        EXPECT_EQ(err,
                  std::string("--level needs a whole number 0..2147483647, not '") + bad + "'");
    }
    EXPECT_FALSE(parse({"--level"}, o, err));
    EXPECT_NE(err.find("needs a value"), std::string::npos);
    EXPECT_FALSE(parse({"--script"}, o, err));
    EXPECT_NE(err.find("needs a value"), std::string::npos);
    EXPECT_FALSE(parse({"--seed", "-3"}, o, err));
    EXPECT_FALSE(parse({"--seed", "4294967296"}, o, err));
    EXPECT_FALSE(parse({"--max-ms", "soon"}, o, err));
    EXPECT_FALSE(parse({"--script", "a", "--record", "b"}, o, err));
    EXPECT_FALSE(parse({"--windowed=1"}, o, err));
    EXPECT_FALSE(parse({"--fulscreen"}, o, err));
    EXPECT_NE(err.find("unknown option --fulscreen"), std::string::npos);
    EXPECT_NE(err.find("--level N"), std::string::npos);
    EXPECT_NE(err.find("--no-draw"), std::string::npos);
    ASSERT_TRUE(parse({"--no-draw", "--script", "s.txt"}, o, err)) << err;
    EXPECT_TRUE(o.no_draw);
    EXPECT_FALSE(parse({"--no-draw"}, o, err));
    EXPECT_EQ(err, "--no-draw needs --script (a run that draws nothing has no player)");
    EXPECT_FALSE(parse({"--no-draw", "--record", "r.txt"}, o, err));
    EXPECT_FALSE(parse({"--no-draw=yes", "--script", "s.txt"}, o, err));
    EXPECT_EQ(err, "option --no-draw takes no value");
    // The sound file is written in step with a script's clock; the exit dump by any run.
    ASSERT_TRUE(
        parse({"--script", "s.txt", "--audio-out", "m.wav", "--dump-at-exit=e.json"}, o, err))
        << err;
    EXPECT_EQ(o.audio_out, "m.wav");
    EXPECT_EQ(o.dump_at_exit, "e.json");
    ASSERT_TRUE(parse({"--record", "r.txt", "--dump-at-exit", "e.json"}, o, err)) << err;
    EXPECT_FALSE(parse({"--audio-out", "m.wav"}, o, err));
    EXPECT_NE(err.find("--audio-out needs --script"), std::string::npos);
    EXPECT_FALSE(parse({"--script", "s.txt", "--audio-out"}, o, err));
    EXPECT_FALSE(parse({"--script", "s.txt", "--dump-at-exit="}, o, err));
}
