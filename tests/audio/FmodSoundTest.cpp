// The FMOD library as the sound manager and the music back end share it:
// loading its table, its reference count, the manager's start-up and
// teardown around it, and MP3 sounds decoded through it.
#include "audio/AudioTestSupport.h"
#include "audio/FModMusicInterface.h"
#include "audio/RecordingFmod.h"
#include "audio/SoundFileLoaders.h"
#include "audio/FmodInstance.h"
#include "platform/music/FmodRuntime.h"
#include "tests/support/Mp3Reference.h"

#include <memory>

namespace {

using namespace AudioTest;
using Platform::FmodRuntime;
using Tandry::DSoundManager;
using Tandry::FModMusicInterface;

class FmodSoundTest : public SoundFixture {
protected:
    void SetUp() override
    {
        SoundFixture::SetUp();
        FmodRuntime::Get().Reset();
        Platform::ResetLibraryOpener();
    }

    void TearDown() override
    {
        Platform::ResetLibraryOpener();
        FmodRuntime::Get().Reset();
        SoundFixture::TearDown();
    }

    // The names of the stand-in's logged calls and whether each worked.
    static std::vector<std::string> FmodLog()
    {
        std::vector<std::string> names;
        for (const FmodRuntime::Call& call : FmodRuntime::Get().GetCallLog())
            names.push_back(call.name + (call.ok ? "" : " failed"));
        return names;
    }
};

TEST_F(FmodSoundTest, AMissingLibraryOrEntryEndsTheProgramWithABox)
{
    const struct {
        const char* what;
        std::set<std::string> leftOut;
        bool missingLibrary;
        const wchar_t* text;
    } cases[] = {
        {"no library", {}, true, L"Can't find fmod.dll."},
        {"no FMUSIC_IsPlaying", {"_FMUSIC_IsPlaying@4"}, false,
         L"\"_FMUSIC_IsPlaying@4\" function not found in fmod.dll"},
        {"first missing in order", {"_FMUSIC_PlaySong@4", "_FSOUND_Sample_Lock@28"}, false,
         L"\"_FSOUND_Sample_Lock@28\" function not found in fmod.dll"},
    };
    for (const auto& c : cases) {
        HeadlessPlatform& platform = InstallHeadlessPlatform();
        InstallRecordingFmod(c.leftOut, c.missingLibrary);
        EXPECT_THROW(FModMusicInterface music(""), HeadlessExit) << c.what;
        EXPECT_EQ(platform.Process().GetExitCode(), 0) << c.what;
        const auto boxes = platform.Dialogs().GetBoxes();
        ASSERT_EQ(boxes.size(), 1u) << c.what;
        EXPECT_EQ(boxes[0].text, c.text);
        EXPECT_EQ(boxes[0].caption, L"Error");
        EXPECT_EQ(boxes[0].flags, MB_ICONERROR);
    }
}

TEST_F(FmodSoundTest, TheLibraryIsUnloadedWithTheLastOfItsUsers)
{
    int unloads = 0;
    InstallRecordingFmod();
    RecordingFmod().onUnload = [&] { ++unloads; };
    auto manager = std::make_unique<DSoundManager>(FakeWindow(), true);
    auto first = std::make_unique<FModMusicInterface>("");
    auto second = std::make_unique<FModMusicInterface>("");
    manager.reset();
    first.reset();
    EXPECT_EQ(unloads, 0);
    second.reset();
    EXPECT_EQ(unloads, 1);

    // The manager last, and again from nothing.
    first = std::make_unique<FModMusicInterface>("");
    manager = std::make_unique<DSoundManager>(FakeWindow(), true);
    first.reset();
    EXPECT_EQ(unloads, 1);
    manager.reset();
    EXPECT_EQ(unloads, 2);

    // Without the FMOD choice the manager never opens it.
    RecordingFmod().calls.clear();
    DSoundManager plain(FakeWindow(), false);
    EXPECT_TRUE(RecordingFmod().calls.empty());
    EXPECT_EQ(unloads, 2);
}

TEST_F(FmodSoundTest, TheManagerStartsTheLibraryBetweenCreateAndCooperativeLevelAndClosesItInOrder)
{
    InstallRecordingFmod();
    // The DirectSound calls logged when each FMOD call came.
    std::vector<std::pair<std::string, size_t>> seen;
    RecordingFmod().onCall = [&](const std::string& name) {
        seen.emplace_back(name, DSoundRuntime::Get().GetCallLog().size());
    };
    std::vector<uint32_t> atClose;
    std::vector<uint32_t> atUnload;
    auto live = [] {
        return std::vector<uint32_t>{DSoundRuntime::Get().LiveCount(DSoundObjectKind::DirectSound),
                                     DSoundRuntime::Get().LiveCount(DSoundObjectKind::Buffer)};
    };
    RecordingFmod().onUnload = [&] { atUnload = live(); };
    auto manager = std::make_unique<DSoundManager>(FakeWindow(), true);
    EXPECT_EQ(FmodCallsOf("FSOUND_SetHWND"),
              (std::vector<FmodCall>{{"FSOUND_SetHWND", {reinterpret_cast<intptr_t>(FakeWindow())}}}));
    EXPECT_EQ(FmodCallsOf("FSOUND_SetBufferSize"), (std::vector<FmodCall>{{"FSOUND_SetBufferSize", {200}}}));
    EXPECT_EQ(FmodCallsOf("FSOUND_Init"), (std::vector<FmodCall>{{"FSOUND_Init", {44100, 64, 2}}}));
    const std::vector<DSoundCall> log = DSoundRuntime::Get().GetCallLog();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].first, "FSOUND_SetHWND");
    EXPECT_EQ(seen[1].first, "FSOUND_SetBufferSize");
    EXPECT_EQ(seen[2].first, "FSOUND_Init");
    for (const auto& [name, logged] : seen) {
        ASSERT_EQ(logged, 1u) << name;
        EXPECT_EQ(log[0].op, DSoundOp::DirectSoundCreate);
        EXPECT_EQ(log[1].op, DSoundOp::SetCooperativeLevel);
    }
    EXPECT_TRUE(FmodRuntime::Get().IsInitialised());

    RecordingFmod().onCall = [&](const std::string& name) {
        if (name == "FSOUND_Close")
            atClose = live();
    };
    manager.reset();
    // The primary buffer is gone at the close, DirectSound is not; the table goes after both.
    EXPECT_EQ(atClose, (std::vector<uint32_t>{1, 0}));
    EXPECT_EQ(atUnload, (std::vector<uint32_t>{0, 0}));
    EXPECT_FALSE(FmodRuntime::Get().IsInitialised());
}

TEST_F(FmodSoundTest, WithTheFmodChoiceAnMp3SoundLoadsWhatLibmpg123Decodes)
{
    DSoundManager manager(FakeWindow(), true);
    const TestSupport::Mp3Decoded beep = TestSupport::DecodeMp3Whole(FixtureBytes("beep.mp3"));
    ASSERT_FALSE(beep.samples.empty());
    ASSERT_TRUE(manager.LoadSoundIntoSlot(1, "sounds/beep"));
    DirectSoundBuffer* buffer = manager.GetSoundBuffer(1);
    ASSERT_NE(buffer, nullptr);
    const DSoundWaveFormat format = buffer->GetFormat();
    EXPECT_EQ(std::vector<uint32_t>({format.formatTag, format.channels, format.samplesPerSec, format.avgBytesPerSec,
                                     format.blockAlign, format.bitsPerSample}),
              std::vector<uint32_t>({1, 1, 22050, 44100, 2, 16}));
    EXPECT_EQ(BufferSamples(buffer), beep.samples);
    // The sample was handed back to the library.
    EXPECT_EQ(FmodRuntime::Get().LiveSamples(), 0u);

    // A ".wav" of the same name wins; the MP3 is never opened.
    FmodRuntime::Get().ClearCallLog();
    ASSERT_TRUE(manager.LoadSoundIntoSlot(2, "sounds/stereo"));
    EXPECT_EQ(manager.GetSoundBuffer(2)->GetFormat().samplesPerSec, 44100u);
    const std::vector<uint8_t> wav = FixtureBytes("stereo.wav");
    EXPECT_EQ(BufferBytes(manager.GetSoundBuffer(2)), std::vector<uint8_t>(wav.begin() + 44, wav.end()));
    EXPECT_TRUE(FmodLog().empty());
}

TEST_F(FmodSoundTest, WithoutTheFmodChoiceTheMp3IsNeverOpened)
{
    DSoundManager manager(FakeWindow(), false);
    EXPECT_FALSE(manager.LoadSoundIntoSlot(1, "sounds/beep"));
    EXPECT_EQ(manager.GetSoundBuffer(1), nullptr);
    EXPECT_TRUE(FmodLog().empty());
}

TEST_F(FmodSoundTest, AnMp3WhoseBytesCannotBeCopiedFailsAndTheOggIsTried)
{
    DSoundManager manager(FakeWindow(), true);
    const uint32_t buffers = DSoundRuntime::Get().LiveCount(DSoundObjectKind::Buffer);
    Tandry::FMOD_INSTANCE* fmod = Tandry::FMOD_INSTANCE::Acquire();
    FmodRuntime::Get().InjectFailure(FmodRuntime::Fault::SampleLock);
    EXPECT_EQ(Tandry::LoadMp3Sound(*manager.GetDirectSound(), *fmod, "sounds/tone.mp3"), nullptr);
    EXPECT_EQ(DSoundRuntime::Get().LiveCount(DSoundObjectKind::Buffer), buffers);
    EXPECT_EQ(FmodRuntime::Get().LiveSamples(), 0u);
    Tandry::FMOD_INSTANCE::Release();

    // Through the manager, "tone.ogg" lies beside "tone.mp3".
    FmodRuntime::Get().ClearCallLog();
    FmodRuntime::Get().InjectFailure(FmodRuntime::Fault::SampleLock);
    ASSERT_TRUE(manager.LoadSoundIntoSlot(3, "sounds/tone"));
    EXPECT_EQ(FmodLog(), (std::vector<std::string>{"FSOUND_Sample_Load", "FSOUND_Sample_Lock failed",
                                                   "FSOUND_Sample_Free"}));
    int channels = 0;
    const std::vector<int16_t> ogg = DecodeOggWholeFile(FixturePath("tone.ogg"), channels);
    EXPECT_EQ(BufferSamples(manager.GetSoundBuffer(3)), ogg);

    // A name with only the MP3 leaves its id empty.
    FmodRuntime::Get().InjectFailure(FmodRuntime::Fault::SampleLock);
    EXPECT_FALSE(manager.LoadSoundIntoSlot(4, "sounds/beep"));
    EXPECT_EQ(manager.GetSoundBuffer(4), nullptr);
    EXPECT_EQ(manager.CountLoadedSounds(), 1);
}

} // namespace
