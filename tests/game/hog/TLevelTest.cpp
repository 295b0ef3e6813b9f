// Starting a hidden-object level: the extra chosen items drawn over all
// pictures, the order of the start's last steps, the hog item hand-over and
// finding a picture by name.
#include "game/hog/TLevel.h"

#include "game/hog/MessageParam.h"
#include "game/hog/TMessenger.h"
#include "resources/ini/GameIni.h"
#include "util/RandomGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Tandry::TLevel;
using Tandry::TPaintElement;
using Tandry::TPicture;

// The elements are only handed around, never used: distinct addresses
// stand for them.
std::array<std::byte, 64> gElementStorage;
TPaintElement* Element(size_t i)
{
    return reinterpret_cast<TPaintElement*>(&gElementStorage[i]);
}

// The classic 15-bit generator, written again from its formula.
class ClassicRand {
public:
    explicit ClassicRand(uint32_t seed) : mState(seed) {}
    int Next()
    {
        mState = mState * 214013u + 2531011u;
        return static_cast<int>((mState >> 16) & 0x7FFF);
    }

private:
    uint32_t mState;
};

// Records the order of the start's last steps.
class RecordingLevel : public TLevel {
public:
    explicit RecordingLevel(std::vector<std::string>& log) : TLevel("lvl"), mLog(log) {}
    void LoadState() override { mLog.push_back(std::string("LoadState, started ") + (IsStarted() ? "1" : "0")); }

private:
    std::vector<std::string>& mLog;
};

class PreparedListener : public Tandry::TMessenger {
public:
    explicit PreparedListener(std::vector<std::string>& log) : mLog(log) { Subscribe(this, 57); }
    void OnMessage(int, TMessenger* from, Tandry::MessageParam* param) override
    {
        mLog.push_back("57");
        level = param->level;
        sender = from;
    }
    TLevel* level = nullptr;
    TMessenger* sender = nullptr;

private:
    std::vector<std::string>& mLog;
};

class TLevelTest : public testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset()
    {
        Tandry::ResetMessageBus();
        Tandry::ResetGameIni();
        Tandry::ResetPlaceAllSpheres();
    }

    // Two pictures of ten items each: elements 0..9, then 10..19.
    static void AddTwoPictures(TLevel& level)
    {
        for (size_t p = 0; p < 2; ++p) {
            auto picture = std::make_unique<TPicture>("pic" + std::to_string(p), &level);
            for (size_t i = 0; i < 10; ++i)
                picture->GetItemsToFind().push_back(Element(p * 10 + i));
            level.AddPicture(std::move(picture));
        }
    }

    static std::vector<TPaintElement*> Sorted(std::vector<TPaintElement*> items)
    {
        std::sort(items.begin(), items.end());
        return items;
    }
};

TEST_F(TLevelTest, ChoosesThreeItemsOverAllPicturesOrAllWithPlaceAllSpheres)
{
    const struct {
        const char* gameIni;
        uint32_t seed;
        size_t chosen;
    } cases[] = {
        {"", 1, 3},
        {"[Game]\r\nPlaceAllSpheres=0\r\n", 7, 3},
        {"[Game]\r\nPlaceAllSpheres=2\r\n", 12345, 3},
        {"[Game]\r\nPlaceAllSpheres=1\r\n", 99, 20},
        {"[game]\r\nplaceallspheres=1\r\n", 5, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gameIni);
        Reset();
        Tandry::gGameIni.LoadText(c.gameIni);
        TLevel level("lvl");
        AddTwoPictures(level);

        // The expected picks: index = rand % remaining pairs, pairs in
        // picture order, each pick removed.
        std::vector<TPaintElement*> pairs;
        for (size_t i = 0; i < 20; ++i)
            pairs.push_back(Element(i));
        std::array<std::vector<TPaintElement*>, 2> expected;
        ClassicRand model(c.seed);
        for (size_t n = 0; n < c.chosen; ++n) {
            const size_t index = static_cast<size_t>(model.Next()) % pairs.size();
            const size_t element = static_cast<size_t>(reinterpret_cast<std::byte*>(pairs[index]) - &gElementStorage[0]);
            expected[element / 10].push_back(pairs[index]);
            pairs.erase(pairs.begin() + static_cast<std::ptrdiff_t>(index));
        }

        Tandry::CrtSeed(c.seed);
        level.Start();
        for (size_t p = 0; p < 2; ++p)
            EXPECT_EQ(Sorted(level.GetPictures()[p]->GetChosenItems()), Sorted(expected[p])) << "picture " << p;
        EXPECT_EQ(level.GetPictures()[0]->GetChosenItems().size() + level.GetPictures()[1]->GetChosenItems().size(),
                  c.chosen);
    }
}

TEST_F(TLevelTest, PlaceAllSpheresIsReadOnce)
{
    Tandry::gGameIni.LoadText("[Game]\r\nPlaceAllSpheres=1\r\n");
    EXPECT_TRUE(Tandry::PlaceAllSpheres());
    Tandry::gGameIni.LoadText("[Game]\r\nPlaceAllSpheres=0\r\n");
    EXPECT_TRUE(Tandry::PlaceAllSpheres());
    Tandry::ResetPlaceAllSpheres();
    EXPECT_FALSE(Tandry::PlaceAllSpheres());
}

TEST_F(TLevelTest, StartTellsTheBusThenRestoresTheStateThenIsStarted)
{
    std::vector<std::string> log;
    RecordingLevel level(log);
    AddTwoPictures(level);
    PreparedListener listener(log);
    EXPECT_FALSE(level.IsStarted());
    level.Start();
    EXPECT_EQ(log, (std::vector<std::string>{"57", "LoadState, started 0"}));
    EXPECT_EQ(listener.level, &level);
    EXPECT_EQ(listener.sender, static_cast<Tandry::TMessenger*>(&level));
    EXPECT_TRUE(level.IsStarted());
    EXPECT_EQ(level.GetHintsStay(), 5);
    EXPECT_FALSE(level.IsPaused());
}

TEST_F(TLevelTest, ANewHogItemReachesEveryPictureAndStartsTheLevelOnlyWhenItDiffers)
{
    std::vector<std::string> log;
    RecordingLevel level(log);
    AddTwoPictures(level);
    // The level's first hog item is empty: handing it over starts nothing.
    level.SetHogItem("");
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(level.IsStarted());
    level.SetHogItem("key");
    EXPECT_EQ(log.size(), 1u);
    for (const auto& picture : level.GetPictures())
        EXPECT_EQ(picture->GetHogItem(), "key");
    level.SetHogItem("key");
    EXPECT_EQ(log.size(), 1u);
    level.SetHogItem("coin");
    EXPECT_EQ(log.size(), 2u);
    EXPECT_EQ(level.GetPictures()[1]->GetHogItem(), "coin");
}

TEST_F(TLevelTest, FindPictureGivesTheFirstOfThatExactName)
{
    TLevel level("lvl");
    for (const char* name : {"attic", "cellar", "attic"})
        level.AddPicture(std::make_unique<TPicture>(name, &level));
    const struct {
        const char* name;
        TPicture* found;
    } cases[] = {
        {"attic", level.GetPictures()[0].get()},
        {"cellar", level.GetPictures()[1].get()},
        {"Attic", nullptr},
        {"att", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(level.FindPicture(c.name), c.found) << c.name;
    EXPECT_EQ(level.GetPictures()[1]->GetLevel(), &level);
}

} // namespace
