#include "audio/AudioTestSupport.h"
#include "audio/DSoundInstance.h"

#include <cmath>
#include <limits>
#include <memory>

namespace {

using namespace AudioTest;
using Tandry::DSoundInstance;
using Tandry::DSoundManager;

class DSoundManagerTest : public SoundFixture {
protected:
    std::unique_ptr<DSoundManager> MakeManager(bool useFmod = false)
    {
        return std::make_unique<DSoundManager>(FakeWindow(), useFmod);
    }

    static int32_t VolumeOf(Tandry::SoundInstance* instance)
    {
        int32_t volume = 1;
        static_cast<DSoundInstance*>(instance)->GetBuffer()->GetVolume(&volume);
        return volume;
    }
    static int32_t PanOf(Tandry::SoundInstance* instance)
    {
        int32_t pan = 1;
        static_cast<DSoundInstance*>(instance)->GetBuffer()->GetPan(&pan);
        return pan;
    }
    static uint32_t FrequencyOf(Tandry::SoundInstance* instance)
    {
        uint32_t frequency = 0;
        static_cast<DSoundInstance*>(instance)->GetBuffer()->GetFrequency(&frequency);
        return frequency;
    }
};

TEST_F(DSoundManagerTest, StartUpTakesThePriorityLevelAndSetsThePrimaryFormat)
{
    auto manager = MakeManager();
    EXPECT_TRUE(manager->IsReady());
    const std::vector<DSoundCall> log = DSoundRuntime::Get().GetCallLog();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].op, DSoundOp::DirectSoundCreate);
    EXPECT_EQ(log[1].op, DSoundOp::SetCooperativeLevel);
    EXPECT_EQ(log[1].value, DSSCL_PRIORITY);
    EXPECT_EQ(log[2].op, DSoundOp::CreateSoundBuffer);
    EXPECT_EQ(log[2].value, DSBCAPS_PRIMARYBUFFER);
    EXPECT_FALSE(log[2].format.has_value());
    EXPECT_EQ(log[3].op, DSoundOp::SetFormat);
    EXPECT_EQ(log[3].result, DS_OK);
    ASSERT_TRUE(log[3].format.has_value());
    const DSoundWaveFormat& f = *log[3].format;
    EXPECT_EQ(std::vector<uint32_t>({f.formatTag, f.channels, f.samplesPerSec, f.avgBytesPerSec, f.blockAlign,
                                     f.bitsPerSample, f.extraSize}),
              std::vector<uint32_t>({1, 2, 44100, 176400, 4, 16, 18}));
}

TEST_F(DSoundManagerTest, ARefusedPriorityLevelFallsBackToNormalWithoutAPrimaryBuffer)
{
    DSoundRuntime::Get().InjectFailure(DSoundOp::SetCooperativeLevel, DSERR_GENERIC);
    auto manager = MakeManager();
    EXPECT_TRUE(manager->IsReady());
    const std::vector<DSoundCall> log = DSoundRuntime::Get().GetCallLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1].result, DSERR_GENERIC);
    EXPECT_EQ(log[2].op, DSoundOp::SetCooperativeLevel);
    EXPECT_EQ(log[2].value, DSSCL_NORMAL);
    // Loading and playing still work.
    EXPECT_TRUE(manager->LoadSoundIntoSlot(3, "sounds/plain"));
    EXPECT_NE(manager->NewSoundInstance(3), nullptr);
}

// Without a window, and when the output cannot open, the manager runs silent.
TEST_F(DSoundManagerTest, WithoutOutputLoadsAnswerTrueAndInstancesAreSilent)
{
    const struct {
        const char* what;
        bool window;
        bool deviceMissing;
    } cases[] = {{"no window", false, false}, {"no device", true, true}};
    for (const auto& c : cases) {
        mPlatform->Audio().SetDeviceMissing(c.deviceMissing);
        DSoundManager manager(c.window ? FakeWindow() : nullptr, false);
        EXPECT_FALSE(manager.IsReady()) << c.what;
        EXPECT_TRUE(manager.LoadSoundIntoSlot(7, "sounds/plain")) << c.what;
        EXPECT_EQ(manager.CountLoadedSounds(), 0) << c.what;
        Tandry::SoundInstance* instance = manager.NewSoundInstance(7);
        ASSERT_NE(instance, nullptr) << c.what;
        EXPECT_FALSE(instance->Play(false, false)) << c.what;
        EXPECT_FALSE(instance->IsPlaying()) << c.what;
        instance->ShiftPitch(3);
        instance->SetPlayVolume(0.5);
        EXPECT_EQ(instance->GetPlayVolume(), 0.5);
        EXPECT_EQ(manager.LoadSoundFile("sounds/plain"), 255) << c.what;
        EXPECT_EQ(manager.LoadSoundFile("sounds/plain"), 255) << c.what;
    }
}

TEST_F(DSoundManagerTest, TheVolumeLawTurnsTheProductOfTheVolumesIntoHundredthsOfADecibel)
{
    auto manager = MakeManager();
    ASSERT_TRUE(manager->LoadSoundIntoSlot(0, "sounds/plain"));
    Tandry::SoundInstance* instance = manager->NewSoundInstance(0);
    ASSERT_NE(instance, nullptr);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double v;
        int32_t hundredths;
    } cases[] = {{1, 0},         {0.5, -605},     {0.25, -1138}, {0.1, -1682}, {0.05, -1956},
                 {0.04, -10000}, {0, -10000},     {1.5, 0},      {-0.5, -10000}, {nan, -10000}};
    for (const auto& c : cases) {
        instance->SetPlayVolume(1.0);
        instance->SetPlayVolume(c.v);
        EXPECT_EQ(VolumeOf(instance), c.hundredths) << c.v;
        EXPECT_EQ(DSoundInstance::VolumeToHundredths(c.v), c.hundredths) << c.v;
    }
    // The three volumes multiply; the master volume reaches playing instances.
    instance->SetPlayVolume(1.0);
    instance->SetDefaultVolume(0.5);
    EXPECT_EQ(VolumeOf(instance), -605);
    manager->SetOverallVolume(0.5);
    EXPECT_EQ(VolumeOf(instance), -1138);
    manager->SetOverallVolume(2.0);
    EXPECT_EQ(manager->masterVolume, 1.0);
    EXPECT_EQ(VolumeOf(instance), -605);
    manager->SetOverallVolume(-1.0);
    EXPECT_EQ(manager->masterVolume, 0.0);
    EXPECT_EQ(VolumeOf(instance), -10000);
}

TEST_F(DSoundManagerTest, ShiftPitchCountsSemitonesFromTheBaseFrequencyWithinTheLimits)
{
    auto manager = MakeManager();
    ASSERT_TRUE(manager->LoadSoundIntoSlot(0, "sounds/stereo"));
    Tandry::SoundInstance* instance = manager->NewSoundInstance(0);
    ASSERT_NE(instance, nullptr);
    const struct {
        double steps;
        uint32_t frequency;
    } cases[] = {{1, 46722}, {-120, 100}, {60, 100000}, {0, 44100}};
    for (const auto& c : cases) {
        instance->ShiftPitch(c.steps);
        EXPECT_EQ(FrequencyOf(instance), c.frequency) << c.steps;
    }
}

TEST_F(DSoundManagerTest, ThePanLawAddsThePlayPanToTheDefaultPan)
{
    auto manager = MakeManager();
    ASSERT_TRUE(manager->LoadSoundIntoSlot(9, "sounds/plain"));
    ASSERT_TRUE(manager->SetSoundDefaultPan(9, 2000));
    ASSERT_TRUE(manager->SetSoundDefaultVolume(9, 0.5));
    Tandry::SoundInstance* instance = manager->NewSoundInstance(9);
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(PanOf(instance), 2000);
    EXPECT_EQ(VolumeOf(instance), -605);
    instance->SetPlayPan(-500);
    EXPECT_EQ(PanOf(instance), 1500);
    instance->SetPlayPan(9000); // 11000 is refused and the old pan stays
    EXPECT_EQ(PanOf(instance), 1500);
}

TEST_F(DSoundManagerTest, ThirtyTwoInstancesFillTheSlots)
{
    auto manager = MakeManager();
    ASSERT_TRUE(manager->LoadSoundIntoSlot(0, "sounds/plain"));
    std::vector<Tandry::SoundInstance*> instances;
    for (int i = 0; i < 32; ++i) {
        instances.push_back(manager->NewSoundInstance(0));
        ASSERT_NE(instances.back(), nullptr) << i;
    }
    EXPECT_EQ(manager->NewSoundInstance(0), nullptr);
    instances[17]->Discard();
    EXPECT_NE(manager->NewSoundInstance(0), nullptr);
}

TEST_F(DSoundManagerTest, AFinishedAutoReleaseInstanceIsCollectedWhenItsSlotIsNeeded)
{
    auto manager = MakeManager();
    ASSERT_TRUE(manager->LoadSoundIntoSlot(0, "sounds/plain"));
    Tandry::SoundInstance* oneShot = manager->NewSoundInstance(0); // slot 0
    Tandry::SoundInstance* held = manager->NewSoundInstance(0);    // slot 1
    ASSERT_TRUE(oneShot->Play(false, true));
    ASSERT_TRUE(held->Play(true, false));
    Render(2205 * 2 + 1); // the 22050 Hz sound lasts twice its frames
    EXPECT_FALSE(oneShot->IsPlaying());
    EXPECT_TRUE(held->IsPlaying());
    const uint32_t buffers = DSoundRuntime::Get().LiveCount(DSoundObjectKind::Buffer);
    ASSERT_NE(manager->NewSoundInstance(0), nullptr); // takes slot 0, deleting the finished one
    EXPECT_EQ(DSoundRuntime::Get().LiveCount(DSoundObjectKind::Buffer), buffers);
    ASSERT_NE(manager->NewSoundInstance(0), nullptr); // slot 2
    EXPECT_EQ(DSoundRuntime::Get().LiveCount(DSoundObjectKind::Buffer), buffers + 1);
}

TEST_F(DSoundManagerTest, TheSweepCollectsFinishedInstancesOnlyAfterMoreThanASecond)
{
    auto manager = MakeManager();
    ASSERT_TRUE(manager->LoadSoundIntoSlot(0, "sounds/plain"));
    mPlatform->Clock().Advance(5000);
    Tandry::SoundInstance* first = manager->NewSoundInstance(0);   // sweeps now; slot 0
    Tandry::SoundInstance* oneShot = manager->NewSoundInstance(0); // slot 1
    ASSERT_TRUE(first && oneShot);
    oneShot->Play(false, true);
    Render(2205 * 2 + 1);
    first->Discard();
    const uint32_t buffers = DSoundRuntime::Get().LiveCount(DSoundObjectKind::Buffer);

    mPlatform->Clock().Advance(1000);
    Tandry::SoundInstance* second = manager->NewSoundInstance(0); // slot 0 again; slot 1 stays
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(DSoundRuntime::Get().LiveCount(DSoundObjectKind::Buffer), buffers);
    second->Discard();

    mPlatform->Clock().Advance(1);
    ASSERT_NE(manager->NewSoundInstance(0), nullptr); // sweeps slots 0 and 1, then takes slot 0
    EXPECT_EQ(DSoundRuntime::Get().LiveCount(DSoundObjectKind::Buffer), buffers - 1);
}

TEST_F(DSoundManagerTest, StopAllInstancesStopsThemAndAutoReleaseOnesAreStillCollected)
{
    auto manager = MakeManager();
    ASSERT_TRUE(manager->LoadSoundIntoSlot(0, "sounds/plain"));
    Tandry::SoundInstance* looping = manager->NewSoundInstance(0);
    Tandry::SoundInstance* kept = manager->NewSoundInstance(0);
    looping->Play(true, true);
    kept->Play(true, false);
    manager->StopAllInstances();
    EXPECT_FALSE(looping->IsPlaying());
    EXPECT_FALSE(kept->IsPlaying());
    EXPECT_TRUE(looping->IsDiscarded());
    EXPECT_FALSE(kept->IsDiscarded());
    // A plain Stop clears the flag: that instance keeps its slot.
    kept->Play(true, true);
    kept->Stop();
    EXPECT_FALSE(kept->IsDiscarded());
}

TEST_F(DSoundManagerTest, FileLoadsTakeIdsFromTheTopAndKnownNamesAreNotLoadedAgain)
{
    auto manager = MakeManager();
    EXPECT_EQ(manager->LoadSoundFile("sounds/plain"), 255);
    EXPECT_EQ(manager->LoadSoundFile("sounds/stereo"), 254);
    DSoundRuntime::Get().ClearCallLog();
    EXPECT_EQ(manager->LoadSoundFile("sounds/plain"), 255);
    EXPECT_TRUE(DSoundRuntime::Get().GetCallLog().empty());
    EXPECT_EQ(manager->LoadSoundFile("SOUNDS/PLAIN"), 253) << "names are compared byte for byte";
    EXPECT_EQ(manager->FindFreeSoundId(), 0);
    ASSERT_TRUE(manager->LoadSoundIntoSlot(0, "sounds/plain"));
    EXPECT_EQ(manager->FindFreeSoundId(), 1);
    EXPECT_EQ(manager->CountLoadedSounds(), 4);
    manager->FreeSound(255);
    EXPECT_EQ(manager->CountLoadedSounds(), 3);
    EXPECT_EQ(manager->LoadSoundFile("sounds/plain"), 0) << "the name is still on id 0";
    EXPECT_EQ(manager->LoadSoundFile("sounds/stereo"), 254);
    manager->FreeAllSounds();
    EXPECT_EQ(manager->CountLoadedSounds(), 0);
    // The names went with the sounds: the next load of a name loads again.
    EXPECT_EQ(manager->LoadSoundFile("sounds/stereo"), 255);
    EXPECT_EQ(manager->CountLoadedSounds(), 1);
}

TEST_F(DSoundManagerTest, IdsOutsideTheTableGiveNullOrFalseEverywhere)
{
    auto manager = MakeManager();
    for (int id : {-1, 256, -1000, 1 << 30}) {
        EXPECT_EQ(manager->NewSoundInstance(id), nullptr) << id;
        EXPECT_FALSE(manager->SetSoundDefaultVolume(id, 0.5)) << id;
        EXPECT_FALSE(manager->SetSoundDefaultPan(id, 100)) << id;
        EXPECT_FALSE(manager->LoadSoundIntoSlot(id, "sounds/plain")) << id;
        manager->FreeSound(id);
    }
    EXPECT_EQ(manager->CountLoadedSounds(), 0);
    EXPECT_EQ(manager->NewSoundInstance(5), nullptr) << "an id without a sound";
}

TEST_F(DSoundManagerTest, ANameWhoseFilesAllFailLeavesItsIdFreeAndFailsAgain)
{
    auto manager = MakeManager();
    EXPECT_EQ(manager->LoadSoundFile("sounds/nothing"), -1);
    EXPECT_EQ(manager->LoadSoundFile("sounds/nothing"), -1);
    EXPECT_EQ(manager->LoadSoundFile("sounds/enc3"), -1);
    EXPECT_EQ(manager->CountLoadedSounds(), 0);
    EXPECT_EQ(manager->LoadSoundFile("sounds/plain"), 255);
    EXPECT_FALSE(manager->LoadSoundIntoSlot(4, "sounds/nothing"));
    EXPECT_EQ(manager->GetSoundBuffer(4), nullptr);
    EXPECT_EQ(manager->FindFreeSoundId(), 0);
}

TEST_F(DSoundManagerTest, AFailedDuplicationShowsTheCodesNameAndEndsTheProgram)
{
    const struct {
        HRESULT code;
        const wchar_t* box; // null: no box
    } cases[] = {
        {DSERR_INVALIDCALL, L"DSERR_INVALIDCALL"},
        {static_cast<HRESULT>(0x8007000Eu), L"DSERR_OUTOFMEMORY"},
        {static_cast<HRESULT>(0x80070057u), L"DSERR_INVALIDPARAM"},
        {DSERR_ALLOCATED, L"DSERR_ALLOCATED"},
        {DSERR_UNINITIALIZED, L"DSERR_UNINITIALIZED"},
        {DSERR_GENERIC, nullptr},
    };
    for (const auto& c : cases) {
        HeadlessPlatform& platform = InstallHeadlessPlatform();
        auto manager = MakeManager();
        ASSERT_TRUE(manager->LoadSoundIntoSlot(0, "sounds/plain"));
        DSoundRuntime::Get().InjectFailure(DSoundOp::DuplicateSoundBuffer, c.code);
        EXPECT_THROW(manager->NewSoundInstance(0), HeadlessExit);
        EXPECT_EQ(platform.Process().GetExitCode(), 0);
        const auto boxes = platform.Dialogs().GetBoxes();
        if (c.box == nullptr) {
            EXPECT_TRUE(boxes.empty());
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].caption, L"Hey");
            EXPECT_EQ(boxes[0].text, c.box);
        }
        // The manager is still whole after the exit that a test survives.
        EXPECT_NE(manager->NewSoundInstance(0), nullptr);
    }
}

TEST_F(DSoundManagerTest, TheSystemVolumeIsTheSpeakerVolumeOfTheMixer)
{
    auto manager = MakeManager();
    EXPECT_EQ(manager->GetSystemVolume(), 1.0);
    manager->SetSystemVolume(0.5);
    EXPECT_EQ(SoundMixer::GetSpeakerVolume(), 32767u);
    EXPECT_NEAR(manager->GetSystemVolume(), 0.5, 1e-4);
    manager->SetSystemVolume(7.0);
    EXPECT_EQ(SoundMixer::GetSpeakerVolume(), 65535u);
}

TEST_F(DSoundManagerTest, SetWindowTakesTheNormalLevelForTheNewWindow)
{
    auto manager = MakeManager();
    DSoundRuntime::Get().ClearCallLog();
    manager->SetWindow(FakeWindow(), true);
    const std::vector<DSoundCall> log = DSoundRuntime::Get().GetCallLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].op, DSoundOp::SetCooperativeLevel);
    EXPECT_EQ(log[0].value, DSSCL_NORMAL);
}

TEST_F(DSoundManagerTest, APlayedInstanceIsHeardAndRestartsFromTheBeginning)
{
    auto manager = MakeManager();
    ASSERT_TRUE(manager->LoadSoundIntoSlot(0, "sounds/stereo"));
    const std::vector<int16_t> samples = BufferSamples(manager->GetSoundBuffer(0));
    Tandry::SoundInstance* instance = manager->NewSoundInstance(0);
    ASSERT_TRUE(instance->Play(false, false));
    std::vector<int16_t> first = Render(100);
    EXPECT_EQ(first, std::vector<int16_t>(samples.begin(), samples.begin() + 200));
    ASSERT_TRUE(instance->Play(false, false));
    EXPECT_EQ(Render(100), first);
    instance->Discard();
    EXPECT_FALSE(instance->IsPlaying());
    EXPECT_TRUE(instance->IsDiscarded());
}

} // namespace
