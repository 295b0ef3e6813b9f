#include "audio/AudioTestSupport.h"
#include "audio/DSoundInstance.h"
#include "audio/SoundBank.h"
#include "util/RandomGenerator.h"

#include <limits>
#include <memory>

namespace {

using namespace AudioTest;
using Tandry::DSoundInstance;
using Tandry::SoundBank;

class SoundBankTest : public SoundFixture {
protected:
    void SetUp() override
    {
        SoundFixture::SetUp();
        std::filesystem::create_directories("data/sound");
        for (const char* name : {"plain.wav", "stereo.wav", "tone.ogg", "click.ogg"})
            std::filesystem::copy_file(FixturePath(name), std::string("data/sound/") + name);
        mManager = std::make_unique<Tandry::DSoundManager>(FakeWindow(), false);
        Tandry::ResetUiSoundBank();
        mBank.SetSoundManager(mManager.get());
    }

    void TearDown() override
    {
        Tandry::ResetUiSoundBank();
        mManager.reset();
        SoundFixture::TearDown();
    }

    void Document(const std::string& text)
    {
        Tandry::NarrowIniDocument::LoadBytes(text.data(), text.size(), mBank.document);
    }

    // The id whose buffer the instance was duplicated from.
    int IdOf(Tandry::SoundInstance* instance)
    {
        for (int id = 0; id < Tandry::DSoundManager::kSoundIds; ++id)
            if (mManager->GetSoundBuffer(id) != nullptr
                && mManager->GetSoundBuffer(id) == static_cast<DSoundInstance*>(instance)->GetSourceBuffer())
                return id;
        return -1;
    }

    static int32_t PanOf(Tandry::SoundInstance* instance)
    {
        int32_t pan = 1;
        static_cast<DSoundInstance*>(instance)->GetBuffer()->GetPan(&pan);
        return pan;
    }

    std::unique_ptr<Tandry::DSoundManager> mManager;
    SoundBank mBank;
};

TEST_F(SoundBankTest, ANameWithThreeFilesLoadsThemAllAndPlaysTheVariantOfRand)
{
    Document("[sounds]\nknock=plain,stereo,tone\n");
    Tandry::CrtSeed(12345);
    std::vector<int> variants;
    for (int i = 0; i < 12; ++i)
        variants.push_back(Tandry::CrtRand() % 3);
    Tandry::CrtSeed(12345);
    std::vector<int> ids;
    for (int i = 0; i < 12; ++i) {
        Tandry::SoundInstance* instance = mBank.Play("knock", true, false, false, 1, 0);
        ASSERT_NE(instance, nullptr) << i;
        ids.push_back(IdOf(instance));
    }
    ASSERT_EQ(mBank.soundIds["knock"].size(), 3u);
    EXPECT_EQ(mManager->CountLoadedSounds(), 3);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(ids[i], mBank.soundIds["knock"][variants[i]]) << i;
}

TEST_F(SoundBankTest, VolumeAndPanReachTheInstance)
{
    Document("[sounds]\nclick=click\n");
    EXPECT_EQ(mBank.Play("click", false, false, false, 0, 0), nullptr);
    EXPECT_TRUE(mBank.soundIds.empty()); // nothing was even looked up
    Tandry::SoundInstance* silent = mBank.Play("click", false, false, true, 0, 0);
    ASSERT_NE(silent, nullptr);
    EXPECT_EQ(silent->GetPlayVolume(), 0);
    EXPECT_TRUE(silent->IsPlaying());
    silent->Discard();

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double pan;
        int32_t expected;
    } pans[] = {{0.5, 5000}, {-1, -10000}, {1, 10000}, {0.00019, 1}, {nan, 0}};
    for (const auto& c : pans) {
        Tandry::SoundInstance* instance = mBank.Play("click", false, false, false, -1, c.pan);
        ASSERT_NE(instance, nullptr);
        EXPECT_EQ(PanOf(instance), c.expected) << c.pan;
        EXPECT_EQ(instance->GetPlayVolume(), 1) << c.pan;
        instance->Discard();
    }
    EXPECT_EQ(Tandry::SoundBankPan(1e12), std::numeric_limits<int>::max());
    EXPECT_EQ(Tandry::SoundBankPan(-std::numeric_limits<double>::infinity()), std::numeric_limits<int>::min());
    // A pan past the ends is refused by the buffer, which keeps its centre.
    Tandry::SoundInstance* wide = mBank.Play("click", false, false, false, 0.5, 2);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(PanOf(wide), 0);
    EXPECT_EQ(wide->GetPlayVolume(), 0.5);
}

TEST_F(SoundBankTest, TwoNamesOfOneFileShareItsId)
{
    Document("[sounds]\nopen=click\nclose=click\n");
    mBank.Preload("open");
    mBank.Preload("close");
    ASSERT_EQ(mBank.soundIds["open"].size(), 1u);
    EXPECT_EQ(mBank.soundIds["open"], mBank.soundIds["close"]);
    EXPECT_EQ(mManager->CountLoadedSounds(), 1);
}

TEST_F(SoundBankTest, MissingNamesAreLookedUpAgainButEmptyOnesWaitForRelease)
{
    Document("[sounds]\nempty=\n");
    EXPECT_EQ(mBank.Play("missing", true, false, false, 1, 0), nullptr);
    EXPECT_EQ(mBank.soundIds.count("missing"), 0u);
    EXPECT_EQ(mBank.Play("empty", true, false, false, 1, 0), nullptr);
    EXPECT_EQ(mBank.soundIds.count("empty"), 1u);

    Document("[sounds]\nmissing=click\nempty=click\n");
    EXPECT_NE(mBank.Play("missing", true, false, false, 1, 0), nullptr);
    EXPECT_EQ(mBank.Play("empty", true, false, false, 1, 0), nullptr);
    mBank.Release();
    EXPECT_NE(mBank.Play("empty", true, false, false, 1, 0), nullptr);
    // The document's lookup ignores case; the cache does not.
    EXPECT_NE(mBank.Play("EMPTY", true, false, false, 1, 0), nullptr);
    EXPECT_EQ(mBank.soundIds.size(), 2u);
}

TEST_F(SoundBankTest, AFailedFileLeavesTheFilesLoadedBeforeIt)
{
    Document("[sounds]\nstep=click,nothing,tone\n");
    EXPECT_EQ(mBank.Play("step", true, false, false, 1, 0), nullptr);
    ASSERT_EQ(mBank.soundIds["step"].size(), 1u);
    const int first = mBank.soundIds["step"][0];
    for (int i = 0; i < 5; ++i) {
        Tandry::SoundInstance* instance = mBank.Play("step", false, false, false, 1, 0);
        ASSERT_NE(instance, nullptr);
        EXPECT_EQ(IdOf(instance), first);
        instance->Discard();
    }
    EXPECT_EQ(mManager->CountLoadedSounds(), 1);
}

TEST_F(SoundBankTest, ReleaseFreesTheIdsWhilePlayingInstancesPlayOn)
{
    Document("[sounds]\nbed=tone\n");
    Tandry::SoundInstance* instance = mBank.Play("bed", false, true, false, 1, 0);
    ASSERT_NE(instance, nullptr);
    mBank.Release();
    EXPECT_TRUE(mBank.soundIds.empty());
    EXPECT_EQ(mManager->CountLoadedSounds(), 0);
    EXPECT_TRUE(instance->IsPlaying());
    const std::vector<int16_t> rendered = Render(2000);
    EXPECT_TRUE(std::any_of(rendered.begin(), rendered.end(), [](int16_t s) { return s != 0; }));
    instance->Discard();
}

TEST_F(SoundBankTest, WithoutASoundManagerNothingLoadsOrPlays)
{
    Document("[sounds]\nclick=click\n");
    mBank.SetSoundManager(nullptr);
    EXPECT_EQ(mBank.Play("click", true, false, true, 1, 0), nullptr);
    EXPECT_EQ(mBank.PickSoundId("click"), -1);
    EXPECT_TRUE(mBank.soundIds.empty());
    mBank.SetSoundManager(mManager.get());
    EXPECT_NE(mBank.Play("click", true, false, true, 1, 0), nullptr);
    EXPECT_EQ(&Tandry::GetUiSoundBank(), &Tandry::GetUiSoundBank());
}

} // namespace
