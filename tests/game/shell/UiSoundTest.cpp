// The game's interface sounds: each kind plays its bank name once, not
// looping, at the application's sound-effect volume and centre pan; the
// level-end kinds and unknown kinds play nothing.
#include "game/shell/UiSound.h"

#include "ShellAppFixture.h"
#include "app/SoundManagerStub.h"
#include "audio/SoundBank.h"
#include "audio/SoundInstance.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct PlayRecord {
    std::string file;
    double volume;
    int pan;
    bool looping;
};

class RecordingInstance : public Tandry::SoundInstance {
public:
    RecordingInstance(std::string file, std::vector<PlayRecord>* plays) : mFile(std::move(file)), mPlays(plays) {}
    void Discard() override {}
    void SetDefaultVolume(double) override {}
    void SetDefaultPan(int) override {}
    void ShiftPitch(double) override {}
    void SetPlayVolume(double volume) override { mVolume = volume; }
    void SetPlayPan(int pan) override { mPan = pan; }
    bool Play(bool looping, bool /*autoRelease*/) override
    {
        mPlays->push_back({mFile, mVolume, mPan, looping});
        return true;
    }
    void Stop() override {}
    bool IsPlaying() override { return false; }
    bool IsDiscarded() override { return false; }
    double GetPlayVolume() override { return mVolume; }

private:
    std::string mFile;
    std::vector<PlayRecord>* mPlays;
    double mVolume = -1.0;
    int mPan = 12345;
};

class RecordingSoundManager : public AppTest::SoundManagerStub {
public:
    int LoadSoundFile(const std::string& path) override
    {
        files.push_back(path);
        return static_cast<int>(files.size()) - 1;
    }
    Tandry::SoundInstance* NewSoundInstance(int id) override
    {
        instances.push_back(std::make_unique<RecordingInstance>(files.at(id), &plays));
        return instances.back().get();
    }

    std::vector<std::string> files;
    std::vector<std::unique_ptr<RecordingInstance>> instances;
    std::vector<PlayRecord> plays;
};

class UiSoundTest : public ShellTest::ShellAppFixture {
protected:
    void SetUp() override
    {
        ShellAppFixture::SetUp();
        Tandry::ResetUiSoundBank();
        Tandry::SoundBank& bank = Tandry::GetUiSoundBank();
        bank.SetSoundManager(&manager);
        const std::string document = "[sounds]\nbuttonPress=press\nbuttonEnter=enter\npause=pause\n"
                                     "KeyPick=pick\nKeyPlaceRight=right\nKeyPlace=place\nSpyMove=spy\n";
        Tandry::NarrowIniDocument::LoadBytes(document.data(), document.size(), bank.document);
        app->SetSfxVolume(0.4);
    }
    void TearDown() override
    {
        Tandry::ResetUiSoundBank();
        ShellAppFixture::TearDown();
    }

    RecordingSoundManager manager;
};

TEST_F(UiSoundTest, EachKindPlaysItsSoundOnceAtTheEffectVolumeAndCentrePan)
{
    const struct {
        int kind;
        const char* file; // null: nothing plays
    } cases[] = {
        {0, "press"}, {1, "enter"}, {2, "pause"},  {3, "pause"}, {4, "press"},  {5, nullptr},
        {6, nullptr}, {7, "pick"},  {8, "right"},  {9, "place"}, {10, "spy"},   {11, nullptr},
        {-1, nullptr},
    };
    for (const auto& c : cases) {
        manager.plays.clear();
        Tandry::PlayUiSound(c.kind);
        if (c.file == nullptr) {
            EXPECT_TRUE(manager.plays.empty()) << "kind " << c.kind;
            continue;
        }
        ASSERT_EQ(manager.plays.size(), 1u) << "kind " << c.kind;
        EXPECT_EQ(manager.plays[0].file, std::string("data\\sound\\") + c.file) << "kind " << c.kind;
        EXPECT_DOUBLE_EQ(manager.plays[0].volume, 0.4) << "kind " << c.kind;
        EXPECT_EQ(manager.plays[0].pan, 0) << "kind " << c.kind;
        EXPECT_FALSE(manager.plays[0].looping) << "kind " << c.kind;
    }
}

TEST_F(UiSoundTest, ByNamePlaysTheBankNameAndAMissingNameNothing)
{
    Tandry::PlayUiSoundByName("KeyPick");
    Tandry::PlayUiSoundByName("nothing");
    ASSERT_EQ(manager.plays.size(), 1u);
    EXPECT_EQ(manager.plays[0].file, "data\\sound\\pick");
}

} // namespace
