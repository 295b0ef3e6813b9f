#include "game/shell/ShellSoundTestSupport.h"

#include "audio/DSoundManager.h"
#include "audio/SoundBank.h"
#include "audio/SoundInstance.h"
#include "game/shell/AmbientSounds.h"
#include "platform/dsound/DSoundRuntime.h"
#include "resources/ini/GameIni.h"

#include <cmath>
#include <limits>

namespace {

using namespace ShellSoundTest;
using Tandry::AmbientSet;
using Tandry::AmbientSound;
using Tandry::AmbientSounds;

constexpr float kStep = 0.01f;

class AmbientSoundsTest : public ShellSoundFixture {
protected:
    void SetUp() override
    {
        ShellSoundFixture::SetUp();
        Platform::DSoundRuntime::Get().Reset();
        const std::string sounds = std::string(MOORGLEN_TEST_DATA) + "/sounds/";
        std::filesystem::create_directories("data/sound");
        for (const char* name : {"click.ogg", "tone.ogg"})
            std::filesystem::copy_file(sounds + name, std::string("data/sound/") + name);
        mManager = std::make_unique<Tandry::DSoundManager>(reinterpret_cast<Platform::WindowHandle>(0x40), false);
        Tandry::ResetUiSoundBank();
        Tandry::SoundBank& bank = Tandry::GetUiSoundBank();
        bank.SetSoundManager(mManager.get());
        const std::string document = "[sounds]\nbird=click\nwind=tone\n";
        Tandry::NarrowIniDocument::LoadBytes(document.data(), document.size(), bank.document);
        GameIni("[Game]\nAmbientMul=1\n");
    }

    void TearDown() override
    {
        AmbientSounds::FreeAll();
        Tandry::ResetUiSoundBank();
        mManager.reset();
        Tandry::ResetGameIni();
        Tandry::ResetAmbientMultiplier();
        ShellSoundFixture::TearDown();
    }

    static void GameIni(const std::string& text)
    {
        Tandry::ResetGameIni();
        Tandry::gGameIni.LoadText(text);
        Tandry::ResetAmbientMultiplier();
    }

    AmbientSet* LoadSet(const std::string& text)
    {
        WriteFile("data/ambient/test.ini", text);
        return AmbientSounds::Load("test");
    }

    // How many of the 32 instance slots can still be had; gives them back.
    int FreeSlots()
    {
        std::vector<Tandry::SoundInstance*> taken;
        const int id = mManager->LoadSoundFile("data\\sound\\click");
        while (Tandry::SoundInstance* instance = mManager->NewSoundInstance(id))
            taken.push_back(instance);
        for (Tandry::SoundInstance* instance : taken)
            instance->Discard();
        return static_cast<int>(taken.size());
    }

    std::unique_ptr<Tandry::DSoundManager> mManager;
};

TEST_F(AmbientSoundsTest, ASetFileGivesOneRecordPerSectionInFileOrder)
{
    AmbientSet* set = LoadSet("[Wind]\nloop=1\nvolume=0.5/0.7, 0.2\nfade=2\n[bird]\ndelay=1\npause=3/4\npan=-1/1\n");
    ASSERT_EQ(set->sounds.size(), 2u);
    const AmbientSound& wind = *set->sounds[0];
    EXPECT_EQ(wind.name, "wind");
    EXPECT_TRUE(wind.looping);
    ASSERT_EQ(wind.volumes.size(), 2u);
    EXPECT_EQ(wind.volumes[0].min, 0.5f);
    EXPECT_EQ(wind.volumes[0].max, 0.7f);
    EXPECT_EQ(wind.volumes[1].min, 0.2f);
    EXPECT_EQ(wind.volumes[1].max, 0.2f);
    EXPECT_EQ(wind.fadeFactor, 0);
    const AmbientSound& bird = *set->sounds[1];
    EXPECT_FALSE(bird.looping);
    EXPECT_EQ(bird.fadeFactor, 1);
    EXPECT_EQ(bird.fadeTarget, 1);
    EXPECT_TRUE(bird.volumes.empty());
    EXPECT_EQ(bird.pans[0].min, -1);

    AmbientSet* missing = AmbientSounds::Load("nothing");
    EXPECT_TRUE(missing->sounds.empty());
    EXPECT_EQ(AmbientSounds::Entries().size(), 2u);
    // A released empty set has nothing to wait for.
    AmbientSounds::Release(missing);
    AmbientSounds::UpdateAll(kStep);
    EXPECT_EQ(AmbientSounds::Entries().size(), 1u);
}

TEST_F(AmbientSoundsTest, AnOccasionalSoundPlaysAfterItsDelayAndThenEveryPause)
{
    AmbientSet* set = LoadSet("[bird]\ndelay=0\npause=5\nvolume=1\n");
    AmbientSound& bird = *set->sounds[0];
    AmbientSet::Start(set);
    // The wait as the record counts it: a float sum of the steps.
    int expectedGap = 0;
    for (float timer = 0; !(5.0f <= timer); timer += kStep)
        ++expectedGap;
    std::vector<int> plays;
    size_t known = 0;
    for (int update = 1; update <= 1200; ++update) {
        AmbientSounds::UpdateAll(kStep);
        if (bird.playing.size() > known)
            plays.push_back(update);
        known = bird.playing.size(); // nothing is rendered, so nothing ends
    }
    EXPECT_EQ(expectedGap, 500);
    EXPECT_EQ(plays, (std::vector<int>{1, 1 + expectedGap, 1 + 2 * expectedGap}));
}

TEST_F(AmbientSoundsTest, AFadeToZeroStopsALoopingBedAndItsReleasedSetGoesInTheSameUpdate)
{
    AmbientSet* set = LoadSet("[wind]\nloop=1\nvolume=0.8\nfade=0.1\n");
    AmbientSound& wind = *set->sounds[0];
    AmbientSet::Start(set);
    ASSERT_EQ(wind.playing.size(), 1u);
    Tandry::SoundInstance* instance = wind.playing[0].instance;
    EXPECT_TRUE(instance->IsPlaying());
    EXPECT_EQ(instance->GetPlayVolume(), 0); // the fade starts at 0
    int fadeUpdates = 0;
    for (float progress = 0; progress < 1; progress += kStep * 10.0f)
        ++fadeUpdates;
    for (int i = 0; i < fadeUpdates; ++i)
        AmbientSounds::UpdateAll(kStep);
    EXPECT_FALSE(wind.fading);
    EXPECT_EQ(wind.fadeFactor, 1);
    EXPECT_FLOAT_EQ(static_cast<float>(instance->GetPlayVolume()), 0.8f * 0.5f);

    AmbientSet::Stop(set);
    AmbientSounds::Release(set);
    for (int i = 1; i < fadeUpdates; ++i) {
        AmbientSounds::UpdateAll(kStep);
        ASSERT_EQ(AmbientSounds::Entries().size(), 1u) << i;
        EXPECT_TRUE(instance->IsPlaying());
    }
    EXPECT_EQ(FreeSlots(), 31);
    AmbientSounds::UpdateAll(kStep);
    EXPECT_TRUE(AmbientSounds::Entries().empty());
    EXPECT_EQ(FreeSlots(), 32);
}

TEST_F(AmbientSoundsTest, OutsideAFadeVolumesStayUntilApplyVolume)
{
    AmbientSet* set = LoadSet("[wind]\nloop=1\nvolume=0.8\nfade=0\n");
    AmbientSound& wind = *set->sounds[0];
    AmbientSet::Start(set);
    AmbientSounds::UpdateAll(kStep); // speed 1000: done in one update
    ASSERT_FALSE(wind.fading);
    Tandry::SoundInstance* instance = wind.playing[0].instance;
    EXPECT_FLOAT_EQ(static_cast<float>(instance->GetPlayVolume()), 0.4f);
    mGame->mAmbientVolume = 0.25;
    AmbientSounds::UpdateAll(kStep);
    EXPECT_FLOAT_EQ(static_cast<float>(instance->GetPlayVolume()), 0.4f);
    AmbientSounds::ApplyVolume();
    EXPECT_FLOAT_EQ(static_cast<float>(instance->GetPlayVolume()), 0.2f);
}

TEST_F(AmbientSoundsTest, ASecondStopDoesNothing)
{
    AmbientSet* set = LoadSet("[wind]\nloop=1\nvolume=1\nfade=1\n");
    AmbientSound& wind = *set->sounds[0];
    AmbientSet::Start(set);
    AmbientSet::Stop(set);
    for (int i = 0; i < 30; ++i)
        AmbientSounds::UpdateAll(kStep);
    const float progress = wind.fadeProgress;
    EXPECT_GT(progress, 0);
    AmbientSet::Stop(set);
    EXPECT_EQ(wind.fadeProgress, progress);
    EXPECT_EQ(wind.fadeTarget, 0);
}

TEST_F(AmbientSoundsTest, PicksFollowTheRangeFormula)
{
    const Tandry::AmbientRanges ranges = Tandry::ParseAmbientRanges({"0.3/0.5", "2"});
    for (uint32_t seed : {1u, 99u, 12345u}) {
        Tandry::CrtSeed(seed);
        std::vector<float> expected;
        for (int i = 0; i < 50; ++i) {
            const int which = Tandry::CrtRand() % 2;
            const int k = Tandry::CrtRand() % 10000;
            expected.push_back(which == 1 ? 2.0f : static_cast<float>(0.3f + k / 10000.0 * (0.5f - 0.3f)));
        }
        Tandry::CrtSeed(seed);
        for (int i = 0; i < 50; ++i)
            EXPECT_EQ(Tandry::PickFromRanges(ranges), expected[i]);
    }
    const Tandry::AmbientRanges one = Tandry::ParseAmbientRanges({"0.3/0.5"});
    float low = 1, high = 0;
    for (int i = 0; i < 20000; ++i) {
        const float v = Tandry::PickFromRanges(one);
        low = std::min(low, v);
        high = std::max(high, v);
    }
    EXPECT_GE(low, 0.3f);
    EXPECT_LE(high, 0.49998f + 1e-6f);
    EXPECT_EQ(Tandry::PickFromRanges({}), 0);
}

TEST_F(AmbientSoundsTest, FadePicksThatWouldNeverEndGiveTheFastestFade)
{
    const struct {
        const char* fade;
        float speed;
    } cases[] = {{"0", 1000}, {"-2", 1000}, {"nan", 1000}, {"inf", 1000}, {"-inf", 1000}, {"", 1000}, {"4", 0.25f}};
    for (const auto& c : cases) {
        AmbientSound sound("wind", true);
        if (*c.fade != '\0')
            sound.fades = Tandry::ParseAmbientRanges({c.fade});
        EXPECT_EQ(sound.FadeSpeed(), c.speed) << c.fade;
    }
}

TEST_F(AmbientSoundsTest, WithoutAmbientMulAmbientSoundsAreSilent)
{
    GameIni("[Game]\nOther=1\n");
    AmbientSet* set = LoadSet("[wind]\nloop=1\nvolume=1\nfade=0\n");
    AmbientSet::Start(set);
    AmbientSounds::UpdateAll(kStep);
    ASSERT_EQ(set->sounds[0]->playing.size(), 1u); // the bed is forced to play
    EXPECT_EQ(set->sounds[0]->playing[0].instance->GetPlayVolume(), 0);
    EXPECT_EQ(set->sounds[0]->LoudnessFactor(), 0);
}

// Stopped beds keep their instances; deleting the set must give them back.
TEST_F(AmbientSoundsTest, ReleasedSetsGiveTheirInstanceSlotsBack)
{
    for (int cycle = 1; cycle <= 40; ++cycle) {
        AmbientSet* set = LoadSet("[wind]\nloop=1\nvolume=1\nfade=0.05\n");
        AmbientSet::Start(set);
        ASSERT_EQ(set->sounds[0]->playing.size(), 1u) << cycle;
        for (int i = 0; i < 10; ++i)
            AmbientSounds::UpdateAll(kStep);
        AmbientSet::Stop(set);
        AmbientSounds::Release(set);
        for (int i = 0; i < 10 && !AmbientSounds::Entries().empty(); ++i)
            AmbientSounds::UpdateAll(kStep);
        ASSERT_TRUE(AmbientSounds::Entries().empty()) << cycle;
    }
    EXPECT_EQ(FreeSlots(), 32);
}

TEST_F(AmbientSoundsTest, AStoppedBedIsPlayedAgainByTheNextStart)
{
    AmbientSet* set = LoadSet("[wind]\nloop=1\nvolume=1\nfade=0\n");
    AmbientSet::Start(set);
    AmbientSet::Stop(set);
    AmbientSounds::UpdateAll(kStep);
    AmbientSound& wind = *set->sounds[0];
    ASSERT_TRUE(wind.finished);
    ASSERT_EQ(wind.playing.size(), 1u);
    Tandry::SoundInstance* instance = wind.playing[0].instance;
    EXPECT_FALSE(instance->IsPlaying());
    AmbientSet::Start(set);
    EXPECT_EQ(wind.playing.size(), 1u);
    EXPECT_EQ(wind.playing[0].instance, instance);
    EXPECT_TRUE(instance->IsPlaying());
    // FreeAll stops and deletes every set and gives every slot back.
    AmbientSounds::FreeAll();
    EXPECT_TRUE(AmbientSounds::Entries().empty());
    EXPECT_EQ(FreeSlots(), 32);
}

} // namespace
