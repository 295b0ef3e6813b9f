// The data tools' readers and writers: particle descriptions to the 128-byte
// parameter block, the language source to UTF-16LE, sound descriptions to
// samples and WAV, and the gamedata and gamesound commands with their
// errors. Expected values are worked out from the file formats and the
// synthesis formulas, not from the tools.
#include "tools/gamedata/Description.h"
#include "tools/gamedata/GameData.h"
#include "tools/gamedata/LangSource.h"
#include "tools/gamedata/ParticleDescription.h"
#include "tools/gamedata/SoundDescription.h"
#include "tools/gamedata/WavFile.h"

#include "tests/platform/fs/ScratchFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <sstream>

namespace {

using namespace Tandry::GameData;
namespace fs = std::filesystem;

float FloatAt(const ParticleBlock& block, size_t offset)
{
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= static_cast<uint32_t>(block[offset + i]) << (8 * i);
    return std::bit_cast<float>(bits);
}

int32_t IntAt(const ParticleBlock& block, size_t offset, int bytes)
{
    uint32_t bits = 0;
    for (int i = 0; i < bytes; ++i)
        bits |= static_cast<uint32_t>(block[offset + i]) << (8 * i);
    return bytes == 2 ? static_cast<int16_t>(bits) : static_cast<int32_t>(bits);
}

TEST(ParticleDescription, EveryStatementLandsAtItsOffset)
{
    const char* text = "# all of it\n"
                       "cel 5\nblend normal\nrate 40\nduration 2.5\nlife 1 3\ndirection -1.5\nspread 0.25\n"
                       "relative 1\nspeed 10 20\ngravity -3 4\nradial 5 6\ntangential 7 8\n"
                       "size 0.5 1.5 0.2\nspin 0.1 0.2 0.3\nbirth 1 0.5 0.25 0.75\ndeath 0 0.125 1 0\n"
                       "variation 0.4 0.6\n";
    ParticleBlock block{};
    std::string error;
    ASSERT_TRUE(ParseParticleDescription(text, block, error)) << error;
    EXPECT_EQ(IntAt(block, 0, 2), 5);
    EXPECT_EQ(IntAt(block, 2, 2), 6) << "normal drawing";
    EXPECT_EQ(IntAt(block, 4, 4), 40);
    EXPECT_EQ(block[28], 1);
    EXPECT_EQ(block[29] | block[30] | block[31], 0) << "padding";
    const struct {
        size_t offset;
        float value;
    } kFloats[] = {{8, 2.5f},    {12, 1},      {16, 3},    {20, -1.5f}, {24, 0.25f}, {32, 10},  {36, 20},
                   {40, -3},     {44, 4},      {48, 5},    {52, 6},     {56, 7},     {60, 8},   {64, 0.5f},
                   {68, 1.5f},   {72, 0.2f},   {76, 0.1f}, {80, 0.2f},  {84, 0.3f},  {88, 1},   {92, 0.5f},
                   {96, 0.25f},  {100, 0.75f}, {104, 0},   {108, 0.125f}, {112, 1},  {116, 0},  {120, 0.4f},
                   {124, 0.6f}};
    for (const auto& f : kFloats)
        EXPECT_EQ(FloatAt(block, f.offset), f.value) << "offset " << f.offset;
}

TEST(ParticleDescription, AShortDescriptionLeavesZerosAndOpaqueAlphas)
{
    ParticleBlock block{};
    std::string error;
    ASSERT_TRUE(ParseParticleDescription("blend add\nduration endless\n", block, error)) << error;
    EXPECT_EQ(IntAt(block, 2, 2), 0) << "anything but 6 draws additively";
    EXPECT_EQ(FloatAt(block, 8), -1.0f);
    EXPECT_EQ(FloatAt(block, 100), 1.0f);
    EXPECT_EQ(FloatAt(block, 116), 1.0f);
    for (size_t offset : {0u, 4u, 12u, 64u, 88u, 104u})
        EXPECT_EQ(IntAt(block, offset, 4), 0) << offset;
}

TEST(ParticleDescription, MistakesAreRefusedWithTheirLine)
{
    const struct {
        const char* text;
        const char* error;
    } kCases[] = {
        {"rate 4\nsparkle 1\n", "line 2: unknown statement sparkle"},
        {"rate 4\nrate 5\n", "line 2: rate is given twice"},
        {"life 1\n", "line 1: life takes 2 number(s)"},
        {"speed 1 fast\n", "line 1: 'fast' is no number"},
        {"speed 1 1e39\n", "line 1: '1e39' is no number"},
        {"cel 1.5\n", "line 1: cel must be a whole number from 0 to 32767"},
        {"relative 2\n", "line 1: relative must be a whole number from 0 to 1"},
        {"blend soft\n", "line 1: blend is normal or add"},
        {"duration -2\n", "line 1: a duration is endless or not negative"},
        {"size 1 2 3 x=1\n", "line 1: size takes 3 number(s)"},
        {"rate 1\n\n# fine\ncel\x01 2\n", "line 4: a byte that is not plain text"},
    };
    for (const auto& c : kCases) {
        ParticleBlock block{};
        block[0] = 0xAB;
        std::string error;
        EXPECT_FALSE(ParseParticleDescription(c.text, block, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_EQ(block[0], 0xAB) << "a refused description leaves the block alone";
    }
}

std::vector<uint8_t> Units(std::initializer_list<uint16_t> units)
{
    std::vector<uint8_t> bytes;
    for (uint16_t u : units) {
        bytes.push_back(static_cast<uint8_t>(u));
        bytes.push_back(static_cast<uint8_t>(u >> 8));
    }
    return bytes;
}

TEST(LangSource, UtfEightBecomesLittleEndianUnitsWithAMarkAndCrLf)
{
    std::vector<uint8_t> out;
    std::string error;
    // "[a]" LF "k=é" CRLF "x=𝄞" (no line end).
    ASSERT_TRUE(ConvertLangSource("[a]\nk=\xC3\xA9\r\nx=\xF0\x9D\x84\x9E", out, error)) << error;
    EXPECT_EQ(out, Units({0xFEFF, '[', 'a', ']', '\r', '\n', 'k', '=', 0x00E9, '\r', '\n', 'x', '=', 0xD834, 0xDD1E}));
}

TEST(LangSource, TextThatIsNoStrictUtfEightIsRefused)
{
    const struct {
        const char* text;
        size_t size;
        const char* error;
    } kCases[] = {
        {"a=1\nb=\xC3\n", 8, "line 2: not UTF-8"},
        {"a=\xC0\xAF\n", 5, "line 1: not UTF-8"},
        {"a=\xED\xA0\x80\n", 6, "line 1: not UTF-8"},
        {"a=1\n\nc=\0\n", 9, "line 3: a NUL, carriage return or byte order mark in the text"},
        {"\xEF\xBB\xBF[a]\n", 7, "line 1: a NUL, carriage return or byte order mark in the text"},
        {"a=b\rc\n", 6, "line 1: a NUL, carriage return or byte order mark in the text"},
    };
    for (const auto& c : kCases) {
        std::vector<uint8_t> out{1, 2};
        std::string error;
        EXPECT_FALSE(ConvertLangSource(std::string_view(c.text, c.size), out, error)) << c.error;
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(out, (std::vector<uint8_t>{1, 2}));
    }
}

SynthSound Render(const std::string& text)
{
    SoundScore score;
    std::string error;
    EXPECT_TRUE(ParseSoundDescription(text, score, error)) << error;
    return RenderSound(score);
}

int16_t Quantise(double value)
{
    return static_cast<int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32767.0));
}

TEST(SoundDescription, AToneFollowsItsFormula)
{
    // 8000 frames a second; the tone starts at frame 800, rises over 400
    // frames, decays by e^-3t, fades over its last 800 frames, with a second
    // harmonic of half weight.
    const SynthSound sound = Render("rate 8000\nlength 0.5\ngain 0.8\n"
                                    "tone at=0.1 length=0.3 freq=500 amp=0.9 attack=0.05 release=0.1 decay=3 "
                                    "harmonics=1,0.5\n");
    ASSERT_EQ(sound.rate, 8000u);
    ASSERT_EQ(sound.channels, 1);
    ASSERT_EQ(sound.samples.size(), 4000u);
    const double pi = 3.14159265358979323846;
    for (size_t i = 0; i < sound.samples.size(); ++i) {
        double expected = 0;
        if (i >= 800 && i < 3200) {
            const double t = (i - 800) / 8000.0;
            const double phase = 2 * pi * 500 * t;
            const double wave = (std::sin(phase) + 0.5 * std::sin(2 * phase)) / 1.5;
            double level = t < 0.05 ? t / 0.05 : 1.0;
            level *= std::exp(-3 * t);
            if (0.3 - t < 0.1)
                level *= (0.3 - t) / 0.1;
            expected = wave * 0.9 * level;
        }
        ASSERT_NEAR(sound.samples[i], Quantise(expected * 0.8), 1) << "frame " << i;
    }
}

TEST(SoundDescription, NotesRepeatAndPanAcrossTwoChannels)
{
    // 120 beats a minute: a beat is 0.5 s, 50 frames at 100 Hz... at 8000 Hz, 4000 frames.
    const SynthSound sound = Render("rate 8000\nchannels 2\nlength 2\ntempo 120\n"
                                    "note at=0 beats=1 pitch=69 pan=-1\n"
                                    "repeat from=0 to=2 times=1\n");
    ASSERT_EQ(sound.samples.size(), 2u * 16000);
    auto left = [&](size_t frame) { return sound.samples[frame * 2]; };
    auto right = [&](size_t frame) { return sound.samples[frame * 2 + 1]; };
    // Pitch 69 is 440 Hz; the copy starts two beats (8000 frames) later.
    for (size_t frame : {1u, 100u, 3999u}) {
        const double expected = std::sin(2 * 3.14159265358979323846 * 440 * frame / 8000.0);
        EXPECT_NEAR(left(frame), Quantise(expected), 1) << frame;
        EXPECT_EQ(right(frame), 0) << "panned hard left";
        EXPECT_EQ(left(frame + 8000), left(frame)) << "the repeat";
    }
    EXPECT_EQ(left(5000), 0) << "between the note and its repeat";
}

TEST(SoundDescription, NoiseIsTheSameOnEveryRunAndFollowsItsSeed)
{
    const std::string text = "rate 8000\nlength 0.1\nseed 3\nnoise at=0 length=0.1 amp=0.5 smooth=0.5\n";
    const SynthSound first = Render(text);
    EXPECT_EQ(Render(text).samples, first.samples);
    EXPECT_NE(Render("rate 8000\nlength 0.1\nseed 4\nnoise at=0 length=0.1 amp=0.5 smooth=0.5\n").samples,
              first.samples);
    int16_t loudest = 0;
    for (int16_t s : first.samples)
        loudest = std::max<int16_t>(loudest, static_cast<int16_t>(std::abs(s)));
    EXPECT_GT(loudest, 1000);
    EXPECT_LE(loudest, 16384) << "amp 0.5 of noise in [-1, 1)";
}

TEST(SoundDescription, MistakesAreRefusedWithTheirLine)
{
    const struct {
        const char* text;
        const char* error;
    } kCases[] = {
        {"tone at=0 length=1 freq=440\n", "no length"},
        {"length 1\nlength 2\n", "line 2: length is given twice"},
        {"length 1\nrate 100\n", "line 2: rate must be a number from 8000 to 48000"},
        {"length 1\nchannels 1.5\n", "line 2: channels must be a whole number"},
        {"length 1\ntone at=0 length=1\n", "line 2: tone needs freq="},
        {"length 1\ntone at=0 length=1 freq=440 color=red\n", "line 2: unknown option color of tone"},
        {"length 1\nnoise at=0 length=1 smooth=1\n", "line 2: smooth must be a number from 0 to 0.999"},
        {"length 1\nnote at=0 beats=1 pitch=128\n", "line 2: pitch must be a number from 0 to 127"},
        {"length 1\ntone at=0 length=1 freq=440 harmonics=1,,2\n", "line 2: each harmonic must be a number from 0 to 4"},
        {"length 1\nrepeat from=4 to=2 times=1\n", "line 2: a repeat ends after it starts"},
        {"length 1\ntone at=0 at=1 length=1 freq=440\n", "line 2: the option at is given twice"},
        {"length 1\nchirp\n", "line 2: unknown statement chirp"},
        {"length 601\n", "line 1: length must be a number from 0.001 to 600"},
    };
    for (const auto& c : kCases) {
        SoundScore score;
        std::string error;
        EXPECT_FALSE(ParseSoundDescription(c.text, score, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

TEST(SoundDescription, RepeatsCannotGrowWithoutBound)
{
    std::string text = "length 1\nnote at=0 beats=1 pitch=60\n";
    for (int i = 0; i < 20; ++i)
        text += "repeat from=0 to=100000 times=1000\n";
    SoundScore score;
    std::string error;
    EXPECT_FALSE(ParseSoundDescription(text, score, error));
    EXPECT_NE(error.find("too many voices"), std::string::npos) << error;
}

TEST(WavFile, TheHeaderDescribesSixteenBitPcm)
{
    SynthSound sound;
    sound.rate = 22050;
    sound.channels = 2;
    sound.samples = {1, -1, 0x1234, -32768};
    const std::vector<uint8_t> wav = EncodeWav(sound);
    const std::vector<uint8_t> expected = {
        'R', 'I', 'F', 'F', 44, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
        1, 0, 2, 0, 0x22, 0x56, 0, 0, 0x88, 0x58, 1, 0, 4, 0, 16, 0, 'd', 'a', 't', 'a', 8, 0, 0, 0,
        1, 0, 0xFF, 0xFF, 0x34, 0x12, 0x00, 0x80};
    EXPECT_EQ(wav, expected);
}

struct Outcome {
    int code;
    std::string err;
};

Outcome RunData(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = Tandry::RunGameData(args, out, err);
    return {code, err.str()};
}

TEST(GameDataCommand, WritesTheFileAndLeavesNoneWhenTheSourceIsBad)
{
    TestSupport::ScratchFolder scratch;
    const std::string source = scratch / "spark.txt";
    const std::string output = scratch / "spark";
    TestSupport::WriteFile(source, "rate 3\n");
    ASSERT_EQ(RunData({"particle", source, output}).code, 0);
    EXPECT_EQ(fs::file_size(output), 128u);

    TestSupport::WriteFile(source, "rate 3\nrate 4\n");
    const Outcome bad = RunData({"particle", source, output});
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.err, "gamedata: " + source + ": line 2: rate is given twice\n");
    EXPECT_FALSE(fs::exists(output)) << "no stale file passes for the one that failed";
    EXPECT_FALSE(fs::exists(output + ".part"));

    EXPECT_EQ(RunData({"particle", scratch / "missing.txt", output}).code, 1);
    EXPECT_EQ(RunData({"sound", source, output}).code, 2) << "sounds are gamesound's";
    EXPECT_EQ(RunData({"lang", source}).code, 2);
}

// The built program: a WAV and an Ogg Vorbis stream, the same bytes twice.
TEST(GameSoundCommand, WritesWavAndOggTheSameOnEveryRun)
{
    TestSupport::ScratchFolder scratch;
    const std::string source = scratch / "chime.txt";
    TestSupport::WriteFile(source, "length 0.5\nchannels 2\ntone at=0 length=0.5 freq=880 decay=4 pan=0.5\n");
    auto run = [&](const std::string& output) {
        const std::string command = std::string(MOORGLEN_GAMESOUND) + " " + source + " " + output + " > /dev/null";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    ASSERT_EQ(run(scratch / "a.ogg"), 0);
    ASSERT_EQ(run(scratch / "b.ogg"), 0);
    const std::string ogg = TestSupport::ReadFile(scratch / "a.ogg");
    EXPECT_EQ(ogg, TestSupport::ReadFile(scratch / "b.ogg"));
    ASSERT_GT(ogg.size(), 58u);
    EXPECT_EQ(ogg.substr(0, 4), "OggS");
    EXPECT_EQ(ogg.substr(29, 6), "vorbis");
    EXPECT_EQ(static_cast<uint8_t>(ogg[39]), 2) << "channels";

    ASSERT_EQ(run(scratch / "c.wav"), 0);
    const std::string wav = TestSupport::ReadFile(scratch / "c.wav");
    EXPECT_EQ(wav.size(), 44u + 4u * 11025u);

    TestSupport::WriteFile(source, "length 0.5\ntone at=0 length=0.5\n");
    EXPECT_EQ(run(scratch / "c.wav"), 1);
    EXPECT_FALSE(fs::exists(scratch / "c.wav"));
}

} // namespace
