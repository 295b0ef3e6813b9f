#include "DemoTestSupport.h"

#include "app/DemoEventType.h"
#include "app/DemoPlaybackControls.h"
#include "platform/registry/Registry.h"
#include "platform/window/WindowMessages.h"

#include <string>
#include <vector>

namespace {

using Tandry::DemoPlaybackControls;

class DemoControls : public LoopTest::DemoFixture {
protected:
    void SetUp() override
    {
        DemoFixture::SetUp();
        mApp->mRegistryKey = "Hollowmere\\Moorglen";
        // A key far ahead, so that updates can run.
        mWriter.WriteKey(100000, Tandry::kDemoKeyDown, 1);
        Play();
        mApp->mDemoEndUpdate = 100000;
    }

    void Type(const std::string& keys)
    {
        for (char key : keys)
            Send(Platform::WM_CHAR, static_cast<uintptr_t>(static_cast<unsigned char>(key)));
    }
    void MakeKey()
    {
        Platform::RegistryKey key;
        ASSERT_TRUE(mPlatform->Registry().CreateKey("SOFTWARE\\Hollowmere\\Moorglen", key));
    }
    std::optional<std::vector<uint8_t>> StoredJumpTime()
    {
        const Platform::RegistryStore store = mPlatform->Registry().Snapshot();
        const Platform::RegistryValue* value = store.FindValue("SOFTWARE\\Hollowmere\\Moorglen", "DemoJumpTime");
        if (value == nullptr)
            return std::nullopt;
        EXPECT_EQ(value->type, Platform::REG_SZ);
        return value->data;
    }
    std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }
};

TEST_F(DemoControls, NumberKeysJumpBackFromTheEndOfTheRecording)
{
    const std::vector<std::pair<char, int>> cases = {{'7', 97000}, {'4', 88000}, {'0', 100000}, {'9', 99500}};
    for (const auto& [key, target] : cases) {
        SCOPED_TRACE(key);
        mApp->mDemoJumpTarget = 0;
        Type(std::string(1, key));
        EXPECT_EQ(mApp->mDemoJumpTarget, target);
    }
    mApp->mDemoJumpTarget = 5;
    Type("123");
    EXPECT_EQ(mApp->mDemoJumpTarget, 5);
}

TEST_F(DemoControls, SpeedKeysMultiplyAndResetTheSpeed)
{
    Type("--++");
    EXPECT_NEAR(mApp->mDemoSpeed, 1.0, 1e-12);
    Type("+=");
    EXPECT_EQ(mApp->mDemoSpeed, 1.0);
}

TEST_F(DemoControls, PauseTogglesAndResetsTheTimingAndMFastForwardsEverything)
{
    mApp->mUpdateAccumMs = 50;
    Type("P");
    EXPECT_TRUE(mApp->mDemoPaused);
    EXPECT_EQ(mApp->mUpdateAccumMs, 0);
    Type("p");
    EXPECT_FALSE(mApp->mDemoPaused);
    Type("M");
    EXPECT_TRUE(mApp->mDemoFastForwardAll);
}

TEST_F(DemoControls, NWhilePausedRunsExactlyOneUpdateAndPresentsAtOnce)
{
    mApp->dirtyEachUpdate = true;
    Type("P");
    StartTimingAndAdvance(100);
    RunCycle();
    RunCycle();
    const int before = mApp->mUpdateCount;
    EXPECT_EQ(mApp->CountEvents("U"), 0);
    Type("N");
    mApp->events.clear();
    RunCycle();
    EXPECT_EQ(mApp->mUpdateCount, before + 1);
    ASSERT_GE(mApp->events.size(), 2u);
    EXPECT_EQ(mApp->CountEvents("U"), 1);
    EXPECT_EQ(mApp->CountEvents("P"), 1);
    EXPECT_FALSE(mApp->mDemoSingleStep);
    mApp->events.clear();
    Clock().Advance(100);
    RunCycle();
    RunCycle();
    EXPECT_EQ(mApp->CountEvents("U"), 0);
}

TEST_F(DemoControls, SoundKeyTwiceRestoresBothVolumes)
{
    mApp->SetMusicVolume(0.6);
    mApp->SetSfxVolume(0.4);
    Type("S");
    EXPECT_EQ(mApp->GetMusicVolume(), 0);
    EXPECT_EQ(mApp->GetSfxVolume(), 0);
    Type("s");
    EXPECT_EQ(mApp->GetMusicVolume(), 0.6);
    EXPECT_EQ(mApp->GetSfxVolume(), 0.4);
}

TEST_F(DemoControls, JumpToTimeFoldsTheTextAndRemembersIt)
{
    MakeKey();
    struct Case {
        std::optional<std::string> answer;
        int target;
        std::optional<std::string> stored;
    };
    const std::vector<Case> cases = {
        {"1:30", 100000 - 9100, std::string("1:30", 5)},
        {"", 100000 - 100, std::string("", 1)},
        {"0:1:0", 100000 - 6100, std::string("0:1:0", 6)},
        {"  -2x:5", 100000 - (-2 * 60 + 5 + 1) * 100, std::string("  -2x:5", 8)},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.answer.value_or("cancel"));
        mApp->mDemoJumpTarget = 0;
        mPlatform->Dialogs().ScriptText(test.answer);
        const size_t bitsBefore = static_cast<size_t>(mApp->mDemoBuffer.GetDataBitSize());
        const int readBefore = mApp->mDemoBuffer.GetReadBitPos();
        EXPECT_EQ(DemoSeam().Controls().ShowJumpToTimeDialog(), DemoPlaybackControls::kAnswered);
        EXPECT_EQ(mApp->mDemoJumpTarget, test.target);
        EXPECT_EQ(StoredJumpTime(), Bytes(*test.stored));
        EXPECT_EQ(static_cast<size_t>(mApp->mDemoBuffer.GetDataBitSize()), bitsBefore);
        EXPECT_EQ(mApp->mDemoBuffer.GetReadBitPos(), readBefore);
    }
    const auto prompts = mPlatform->Dialogs().GetPrompts();
    ASSERT_EQ(prompts.size(), cases.size());
    EXPECT_EQ(prompts[0].title, "Jump To Time");
    EXPECT_EQ(prompts[0].defaultText, "");
    EXPECT_EQ(prompts[1].defaultText, "1:30");
}

TEST_F(DemoControls, JumpToTimeCancelledChangesNothing)
{
    MakeKey();
    mApp->mDemoJumpTarget = 7;
    mPlatform->Dialogs().ScriptText(std::nullopt);
    EXPECT_EQ(DemoSeam().Controls().ShowJumpToTimeDialog(), DemoPlaybackControls::kCancelled);
    EXPECT_EQ(mApp->mDemoJumpTarget, 7);
    EXPECT_EQ(StoredJumpTime(), std::nullopt);
}

TEST_F(DemoControls, JumpToTimeWithHugeNumbersOverflowsNothingAndJumpsNowhere)
{
    MakeKey();
    mApp->mUpdateCount = 10;
    for (const std::string text : {"99999999999:99", "99999999999999999999999:99999999999999999999:9",
                                    "-99999999999999999999999"}) {
        SCOPED_TRACE(text);
        mApp->mDemoJumpTarget = 3;
        mPlatform->Dialogs().ScriptText(text);
        DemoSeam().Controls().ShowJumpToTimeDialog();
        if (text[0] != '-') {
            EXPECT_EQ(mApp->mDemoJumpTarget, 3);
        }
    }
}

TEST_F(DemoControls, TheStoredJumpTimeIsCutAtItsFirstNulAndItsLimits)
{
    MakeKey();
    Platform::RegistryKey key;
    ASSERT_TRUE(mPlatform->Registry().OpenKey("SOFTWARE\\Hollowmere\\Moorglen", key));
    const std::string stored("2:00\0tail", 9);
    mPlatform->Registry().SetValue(key, "DemoJumpTime", Platform::REG_BINARY,
                                   reinterpret_cast<const uint8_t*>(stored.data()), 9);
    mPlatform->Dialogs().ScriptText(std::string(600, '1'));
    DemoSeam().Controls().ShowJumpToTimeDialog();
    EXPECT_EQ(mPlatform->Dialogs().GetPrompts().back().defaultText, "2:00");
    const auto saved = StoredJumpTime();
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->size(), 501u);
}

TEST_F(DemoControls, TheMarkerListShowsTheMarkersAheadWithTheirTimeLeft)
{
    mApp->mDemoMarkers = {{"a", 50}, {"b", 4000}, {"c", 9000}};
    mApp->mUpdateCount = 100;
    mApp->mDemoEndUpdate = 10000;
    mPlatform->Dialogs().ScriptChoice(0);
    EXPECT_EQ(DemoSeam().Controls().ShowMarkerListDialog(), DemoPlaybackControls::kAnswered);
    EXPECT_EQ(mApp->mDemoJumpTarget, 4000);
    const auto prompts = mPlatform->Dialogs().GetPrompts();
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].title, "Marker List");
    EXPECT_EQ(prompts[0].lines, (std::vector<std::string>{"b (00:01:00)", "c (00:00:10)"}));
}

TEST_F(DemoControls, TheMarkerListStaysOpenUntilAListedMarkerIsChosenOrItIsCancelled)
{
    mApp->mDemoMarkers = {{"b", 4000}, {"c", 9000}};
    mApp->mUpdateCount = 100;
    mApp->mDemoEndUpdate = 10000;
    mPlatform->Dialogs().ScriptChoice(5);
    mPlatform->Dialogs().ScriptChoice(1);
    EXPECT_EQ(DemoSeam().Controls().ShowMarkerListDialog(), DemoPlaybackControls::kAnswered);
    EXPECT_EQ(mApp->mDemoJumpTarget, 9000);
    EXPECT_EQ(mPlatform->Dialogs().GetPrompts().size(), 2u);

    mApp->mDemoJumpTarget = 0;
    mPlatform->Dialogs().ScriptChoice(std::nullopt);
    EXPECT_EQ(DemoSeam().Controls().ShowMarkerListDialog(), DemoPlaybackControls::kCancelled);
    EXPECT_EQ(mApp->mDemoJumpTarget, 0);
}

TEST(DemoMarkerLine, ShowsHoursMinutesAndSecondsLeft)
{
    EXPECT_EQ(DemoPlaybackControls::MarkerLine({"m", 0}, 366100, 10), "m (01:01:01)");
    EXPECT_EQ(DemoPlaybackControls::MarkerLine({"far", INT_MIN}, INT_MAX, 1000), "far (1193046:28:15)");
}

TEST(DemoJumpSeconds, ReadsEachPieceLikeAtoi)
{
    const std::vector<std::pair<std::string, int64_t>> cases = {
        {"", 0},         {"45", 45},      {"1:30", 90},     {"1:0:0", 3600}, {"+5", 5},
        {"x", 0},        {"7x:1", 421},   {" 2:\t3", 123}, {"::", 0},       {"-1:30", -30},
    };
    for (const auto& [text, seconds] : cases)
        EXPECT_EQ(DemoPlaybackControls::ParseJumpSeconds(text), seconds) << text;
}

} // namespace
