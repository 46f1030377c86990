// The WAV reader's pure part: bytes written here and by an independent writer (sox).
#include "audio/wav.h"
#include "support/test_support.h"
#include "wav_bytes.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

bool parse(const std::string& file, WavInfo& info, std::string* error = nullptr) {
    auto bytes = as_bytes(file);
    return parse_wav(bytes, info, error);
}

TEST(Wav, ReadsFormatAndSampleRange) {
    WavSpec s;
    s.channels = 2;
    s.rate = 22050;
    s.bits = 16;
    std::string file = wav_bytes(s, pcm16(100, 2, 7));
    WavInfo info;
    ASSERT_TRUE(parse(file, info));
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.rate, 22050);
    EXPECT_EQ(info.bits, 16);
    EXPECT_EQ(info.frames, 100u);
    EXPECT_EQ(info.data_offset, 44u);
    EXPECT_EQ(info.data_bytes, 400u);
}

TEST(Wav, FactChunkBeforeDataIsAccepted) {
    WavSpec s;
    s.bits = 8;
    s.before_data = chunk("fact", std::string("\x10\0\0\0", 4));
    WavInfo info;
    ASSERT_TRUE(parse(wav_bytes(s, std::string(16, '\x80')), info));
    EXPECT_EQ(info.frames, 16u);
    EXPECT_EQ(info.data_offset, 44u + 12u);

    s.before_data = chunk("fact", std::string(1024, 'x'));
    EXPECT_TRUE(parse(wav_bytes(s, std::string(16, '\x80')), info));
    s.before_data = chunk("fact", std::string(1025, 'x'));
    EXPECT_FALSE(parse(wav_bytes(s, std::string(16, '\x80')), info));
}

TEST(Wav, AnyOtherChunkBeforeDataIsRefused) {
    WavSpec s;
    for (const char* id : {"LIST", "junk", "cue ", "fmt "}) {
        s.before_data = chunk(id, "abcd");
        WavInfo info;
        std::string error;
        EXPECT_FALSE(parse(wav_bytes(s, pcm16(8, 1, 1)), info, &error)) << id;
        EXPECT_EQ(error, "expected a data chunk") << id;
    }
    // Only one fact chunk.
    s.before_data = chunk("fact", "abcd") + chunk("fact", "abcd");
    WavInfo info;
    EXPECT_FALSE(parse(wav_bytes(s, pcm16(8, 1, 1)), info));
}

TEST(Wav, FormatChunkIsSkippedByItsOwnSize) {
    WavSpec s;
    s.format_extra = std::string("\0\0", 2); // 18 bytes, as some writers store PCM
    WavInfo info;
    ASSERT_TRUE(parse(wav_bytes(s, pcm16(10, 1, 3)), info));
    EXPECT_EQ(info.frames, 10u);
    EXPECT_EQ(info.data_offset, 46u);

    s.format_extra = std::string(24, '\x55'); // 40 bytes, an extensible format
    ASSERT_TRUE(parse(wav_bytes(s, pcm16(10, 1, 3)), info));
    EXPECT_EQ(info.data_offset, 68u);

    s.format_extra = std::string(1, '\0'); // odd size: the pad byte is skipped too
    std::string file = wav_bytes(s, pcm16(10, 1, 3));
    file.insert(12 + 8 + 17, 1, '\0');
    ASSERT_TRUE(parse(file, info));
    EXPECT_EQ(info.data_offset, 46u);

    // A format chunk claiming fewer than 16 bytes, or more than the file has.
    std::string short_fmt = wav_bytes(WavSpec{}, pcm16(10, 1, 3));
    short_fmt[16] = 14;
    EXPECT_FALSE(parse(short_fmt, info));
    std::string huge_fmt = wav_bytes(WavSpec{}, pcm16(10, 1, 3));
    huge_fmt[19] = '\x7F';
    EXPECT_FALSE(parse(huge_fmt, info));
    huge_fmt[19] = '\xFF';
    huge_fmt[18] = '\xFF';
    huge_fmt[17] = '\xFF';
    huge_fmt[16] = '\xFF';
    EXPECT_FALSE(parse(huge_fmt, info));
}

TEST(Wav, SizesThatLieFailCleanly) {
    WavInfo info;
    std::string error;
    WavSpec s;
    s.data_size = 1000; // larger than what follows
    EXPECT_FALSE(parse(wav_bytes(s, pcm16(10, 1, 3)), info, &error));
    EXPECT_EQ(error, "data chunk runs past the file");
    s.data_size = 0xFFFFFFFF;
    EXPECT_FALSE(parse(wav_bytes(s, pcm16(10, 1, 3)), info));
    s.data_size = 0;
    EXPECT_FALSE(parse(wav_bytes(s, pcm16(10, 1, 3)), info));

    auto refused = [&](WavSpec format) { return !parse(wav_bytes(format, pcm16(10, 2, 3)), info); };
    WavSpec zero_channels;
    zero_channels.channels = 0;
    EXPECT_TRUE(refused(zero_channels));
    WavSpec six_channels;
    six_channels.channels = 6;
    EXPECT_TRUE(refused(six_channels));
    WavSpec no_align;
    no_align.block_align = 0;
    EXPECT_TRUE(refused(no_align));
    WavSpec wrong_align;
    wrong_align.block_align = 3;
    EXPECT_TRUE(refused(wrong_align));
    WavSpec bits24;
    bits24.bits = 24;
    EXPECT_TRUE(refused(bits24));
    WavSpec bits0;
    bits0.bits = 0;
    EXPECT_TRUE(refused(bits0));
    WavSpec rate0;
    rate0.rate = 0;
    EXPECT_TRUE(refused(rate0));
    WavSpec rate_huge;
    rate_huge.rate = 0xFFFFFFFF;
    EXPECT_TRUE(refused(rate_huge));

    // Every truncation of a good file fails or reads only what is there.
    std::string good = wav_bytes(WavSpec{}, pcm16(10, 1, 3));
    for (size_t n = 0; n < good.size(); ++n) {
        auto part = as_bytes(good.substr(0, n));
        EXPECT_FALSE(parse_wav(part, info)) << n;
    }
}

TEST(Wav, FilesWrittenBySox) {
    std::string dir = make_temp_dir();
    ASSERT_FALSE(dir.empty());
    struct Case {
        const char* args;
        int channels, rate, bits;
        size_t frames;
    } cases[] = {
        {"-r 22050 -c 2 -b 16", 2, 22050, 16, 11025},
        {"-r 11025 -c 1 -b 8", 1, 11025, 8, 5512},
        {"-r 44100 -c 1 -b 16", 1, 44100, 16, 22050},
        // mu-law: an 18-byte format chunk and a fact chunk before the data
        {"-r 8000 -c 1 -e u-law", 1, 8000, 8, 4000},
    };
    for (const Case& c : cases) {
        std::string path = dir + "/sox.wav";
        std::string out;
        ASSERT_EQ(
            run_command(std::string("sox -n ") + c.args + " " + path + " synth 0.5 sine 440", &out),
            0)
            << out;
        std::string file = read_text(path);
        WavInfo info;
        std::string error;
        ASSERT_TRUE(parse(file, info, &error)) << c.args << ": " << error;
        EXPECT_EQ(info.channels, c.channels) << c.args;
        EXPECT_EQ(info.rate, c.rate) << c.args;
        EXPECT_EQ(info.bits, c.bits) << c.args;
        EXPECT_EQ(info.frames, c.frames) << c.args;
        EXPECT_EQ(info.data_offset + info.data_bytes, file.size()) << c.args;
    }
    // sox's float files are refused (32 bits per sample).
    std::string path = dir + "/float.wav";
    ASSERT_EQ(run_command("sox -n -r 8000 -c 1 -b 32 -e float " + path + " synth 0.1 sine 440"), 0);
    WavInfo info;
    EXPECT_FALSE(parse(read_text(path), info));
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

} // namespace
