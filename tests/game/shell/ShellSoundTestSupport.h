// Shared pieces of the tests of the music playlist and the ambient sets: a
// music interface that records its calls, and a fixture on a fresh headless
// platform (pulled sound) inside a scratch folder, with a game object whose
// music interface the test chooses.
#pragma once

#include "audio/MusicInterface.h"
#include "game/shell/GameApp.h"
#include "platform/fs/ScratchFolder.h"
#include "platform/headless/HeadlessPlatform.h"
#include "util/RandomGenerator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace ShellSoundTest {

struct MusicCall {
    std::string what;
    int id;
    double speed;
    bool flag;
    bool operator==(const MusicCall&) const = default;
};

inline void PrintTo(const MusicCall& call, std::ostream* out)
{
    *out << call.what << "(" << call.id << ", " << call.speed << ", " << call.flag << ")";
}

class RecordingMusic : public Tandry::MusicInterface {
public:
    bool LoadTrack(int id, const std::string& fileName) override
    {
        loads.push_back(std::to_string(id) + " " + fileName);
        return true;
    }
    void FadeInTrack(int id, int offset, double speed, bool noLoop) override
    {
        EXPECT_EQ(offset, 0);
        calls.push_back({"in", id, speed, noLoop});
    }
    void FadeOutTrack(int id, bool stopWhenFaded, double speed) override
    {
        calls.push_back({"out", id, speed, stopWhenFaded});
    }
    bool IsTrackPlaying(int /*id*/) override { return playing; }

    // The ids faded in, in order.
    std::vector<int> FadedIn() const
    {
        std::vector<int> ids;
        for (const MusicCall& call : calls)
            if (call.what == "in")
                ids.push_back(call.id);
        return ids;
    }

    std::vector<std::string> loads;
    std::vector<MusicCall> calls;
    bool playing = false;
};

class ShellSoundFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        mPlatform = &Platform::InstallHeadlessPlatform();
        mGame = std::make_unique<Tandry::GameApp>();
        Tandry::RandomGenerator::Global().Seed(2024);
        Tandry::CrtSeed(77);
    }

    void TearDown() override
    {
        mGame.reset();
        Platform::ResetPlatform();
    }

    static void WriteFile(const std::string& path, const std::string& text)
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    // A recording music interface, owned by the game object.
    RecordingMusic& UseRecordingMusic()
    {
        auto* music = new RecordingMusic();
        delete mGame->mMusicInterface;
        mGame->mMusicInterface = music;
        return *music;
    }

    TestSupport::ScratchFolder mScratch{TestSupport::ScratchFolder::Enter};
    Platform::HeadlessPlatform* mPlatform = nullptr;
    std::unique_ptr<Tandry::GameApp> mGame;
};

} // namespace ShellSoundTest
