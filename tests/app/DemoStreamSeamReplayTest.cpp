#include "DemoTestSupport.h"

#include "app/DemoEventType.h"
#include "platform/window/WindowMessages.h"

#include <atomic>
#include <string>
#include <vector>

namespace {

using LoopTest::DemoFixture;
using Tandry::DemoEventCodec;

class DemoReplay : public DemoFixture {
protected:
    // Ends a stream with a key far ahead, so updates may run up to it.
    void KeyAt(int update, int key) { mWriter.WriteKey(update, Tandry::kDemoKeyDown, key); }

    std::vector<std::string> Calls(const std::string& prefix = "")
    {
        std::vector<std::string> found;
        for (const std::string& call : Inputs().calls) {
            if (call.compare(0, prefix.size(), prefix) == 0)
                found.push_back(call);
        }
        return found;
    }
    std::vector<Platform::HeadlessDialogs::BoxRecord> Boxes() { return mPlatform->Dialogs().GetBoxes(); }
};

TEST_F(DemoReplay, EachEventMakesItsCallsAtTheUpdateOfItsHeader)
{
    mWriter.WriteMousePosition(2, 500, 300);
    mWriter.WriteMousePosition(2, 510, 290);
    mWriter.WriteMouseButton(2, true, -2);
    mWriter.WriteMouseButton(2, false, 3);
    mWriter.WriteKey(3, Tandry::kDemoKeyDown, 65);
    mWriter.WriteKey(3, Tandry::kDemoKeyUp, 65);
    mWriter.WriteKeyChar(3, L'\u00E9');
    // A narrow character, as an older recorder wrote them.
    mWriter.WriteEventStart(3, Tandry::kDemoKeyChar);
    mStream.buffer.PutBits(0, 1);
    mStream.buffer.PutBits('z', 8);
    mWriter.WriteWheel(4, -2);
    mWriter.WriteBare(4, Tandry::kDemoMouseLeave);
    mWriter.WriteBare(4, Tandry::kDemoMouseEnter);
    mWriter.WriteActivate(40, false);
    mWriter.WriteActivate(40, true);
    KeyAt(41, 66);
    mApp->mBrowserLaunchPending = true;
    mApp->mBrowserUrl = "https://example.invalid/";
    Play();
    Inputs().calls.clear();
    const int cursorsBefore = mApp->applyCursorCalls;

    StepTo(41);
    Step();
    const std::vector<std::string> expected = {
        "MouseMove 500,300 @2", "MouseMove 510,290 @2", "MouseDown 510,290,-2 @2", "MouseUp 510,290,3 @2",
        "KeyDown 65 @3",        "KeyUp 65 @3",          "KeyChar 233 @3",          "KeyChar 122 @3",
        "MouseWheel -2 @4",     "MouseExit @4",         "LostFocus @40",           "GotFocus @40",
        "KeyDown 66 @41",
    };
    EXPECT_EQ(Calls(), expected);
    EXPECT_EQ(mApp->applyCursorCalls - cursorsBefore, 2);
    EXPECT_TRUE(mApp->mMouseInWindow);
    EXPECT_EQ(mApp->browserEvents, std::vector<std::string>{"done https://example.invalid/"});
    EXPECT_EQ(mApp->mDemoMouseX, 510);
    // The stream is used up: updates stop at the last event's.
    for (int i = 0; i < 5; ++i)
        Step();
    EXPECT_EQ(mApp->mUpdateCount, 41);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(DemoReplay, MinimisingMutesAndRestoringUnmutesAndMarksAllDirty)
{
    mWriter.WriteMinimise(1, true);
    mWriter.WriteMinimise(2, true);
    mWriter.WriteMinimise(3, false);
    KeyAt(4, 1);
    Play();
    mApp->muteEvents.clear();
    const int dirtyBefore = Inputs().markAllDirtyCalls;
    StepTo(2);
    Step();
    EXPECT_TRUE(mApp->mMinimized);
    // As live: the minimise mutes, and so does the loss of focus it brings.
    EXPECT_EQ(mApp->muteEvents, (std::vector<std::string>{"mute auto", "mute auto"}));
    StepTo(4);
    EXPECT_FALSE(mApp->mMinimized);
    EXPECT_EQ(mApp->muteEvents,
              (std::vector<std::string>{"mute auto", "mute auto", "unmute auto", "unmute auto"}));
    EXPECT_EQ(Inputs().markAllDirtyCalls - dirtyBefore, 1);
}

TEST_F(DemoReplay, DisplayStateSetsTheWindowModeAndRefreshRateAndCloseShutsDown)
{
    mWriter.WriteDisplayState(1, false, 85);
    mWriter.WriteBare(2, Tandry::kDemoCloseWindow);
    KeyAt(2, 70);
    Play();
    StepTo(1);
    Step();
    EXPECT_FALSE(mApp->mWindowed);
    EXPECT_EQ(mApp->mRefreshRate, 85);
    EXPECT_FALSE(mApp->mShutdown);
    Step();
    EXPECT_TRUE(mApp->mShutdown);
    // The replay stops with the shutdown: the key after the close stays unread.
    EXPECT_TRUE(Calls("KeyDown").empty());
}

TEST_F(DemoReplay, UpdatesWaitForTheRecordedEndOfLoadingAndForTheRealOne)
{
    mWriter.WriteBare(5, Tandry::kDemoLoadingDone);
    KeyAt(9, 1);
    std::atomic<bool> release{false};
    mApp->loadingBody = [&] {
        while (!release)
            std::this_thread::yield();
    };
    Play();
    mApp->LaunchLoadingThread();
    StepTo(5);
    for (int i = 0; i < 5; ++i)
        Step();
    EXPECT_TRUE(mApp->mDemoLoadingDone);
    EXPECT_EQ(mApp->mUpdateCount, 5) << "the real loading thread has not finished";
    release = true;
    ASSERT_TRUE(LoopTest::WaitFor([&] { return mApp->mLoadingThreadDone.load(); }));
    StepTo(9);
    EXPECT_EQ(mApp->loadingDoneCalls, 1);
}

TEST_F(DemoReplay, AFinishedLoadingThreadIsAcknowledgedOnlyWhereTheRecordingDidIt)
{
    mWriter.WriteBare(6, Tandry::kDemoLoadingDone);
    KeyAt(8, 1);
    Play();
    mApp->LaunchLoadingThread();
    ASSERT_TRUE(LoopTest::WaitFor([&] { return mApp->mLoadingThreadDone.load(); }));
    StepTo(6);
    EXPECT_EQ(mApp->loadingDoneCalls, 0);
    StepTo(8);
    EXPECT_EQ(mApp->loadingDoneCalls, 1);
}

TEST_F(DemoReplay, SynchronousEventsTheLoopMeetsArePassedOverWhole)
{
    Tandry::Buffer block;
    block.PutLong(0x12345678);
    block.PutString("text");
    mWriter.WriteSyncBlock(3, block);
    const uint8_t value[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    mWriter.WriteRegistryRead(3, true, 3, value, 8);
    mWriter.WriteRegistryRead(3, false, 0, nullptr, 0);
    mWriter.WriteRegistryWrite(3, true);
    KeyAt(3, 75);
    KeyAt(4, 76);
    Play();
    StepTo(4);
    Step();
    EXPECT_EQ(Calls("KeyDown"), (std::vector<std::string>{"KeyDown 75 @3", "KeyDown 76 @4"}));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(DemoReplay, AConsumerMeetingAnotherEventEndsThePlayback)
{
    KeyAt(0, 65);
    KeyAt(3, 66);
    Play();
    EXPECT_TRUE(mApp->WriteRegistryRaw("Value", Platform::REG_DWORD, nullptr, 0));
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(L"update 0"), std::wstring::npos);
    EXPECT_NE(boxes[0].text.find(L"a registry write"), std::wstring::npos);
    EXPECT_NE(boxes[0].text.find(L"a key press"), std::wstring::npos);
    EXPECT_TRUE(mApp->mDemoFinished);
    int read = 0;
    EXPECT_FALSE(mApp->ReadRegistryDword("Value", &read));
    for (int i = 0; i < 5; ++i)
        Step();
    EXPECT_EQ(mApp->mUpdateCount, 0);
    EXPECT_TRUE(Calls("KeyDown").empty()) << "nothing of the stream is replayed after the end";
    EXPECT_EQ(Boxes().size(), 1u);
}

TEST_F(DemoReplay, ConsumersCheckTheirOwnType)
{
    // Each consumer against a header of another synchronous kind.
    struct Case {
        std::string name;
        std::function<void(DemoEventCodec&)> write;
        std::function<void(Tandry::TandryAppBase&)> consume;
    };
    const std::vector<Case> cases = {
        {"read meets write", [](DemoEventCodec& c) { c.WriteRegistryWrite(0, true); },
         [](Tandry::TandryAppBase& app) {
             int v = 0;
             EXPECT_FALSE(app.ReadRegistryDword("V", &v));
         }},
        {"block meets read", [](DemoEventCodec& c) { c.WriteRegistryRead(0, false, 0, nullptr, 0); },
         [](Tandry::TandryAppBase& app) {
             std::string text = "kept";
             app.SyncStringWithDemo(text);
             EXPECT_EQ(text, "kept");
         }},
        {"display state meets a mouse button", [](DemoEventCodec& c) { c.WriteMouseButton(0, true, 1); },
         [](Tandry::TandryAppBase& app) { app.GetDemoSeam().ReplayDisplayState(); }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        mStream.buffer.Clear();
        mStream.nextEventUpdate = 0;
        test.write(mWriter);
        RemakeApp(std::make_unique<LoopTest::LoopApp>());
        const size_t boxesBefore = Boxes().size();
        Play();
        test.consume(*mApp);
        EXPECT_TRUE(mApp->mDemoFinished);
        EXPECT_EQ(Boxes().size(), boxesBefore + 1);
    }
}

TEST_F(DemoReplay, ABlockCountBeyondTheStreamEndsThePlaybackAndCopiesNothing)
{
    mWriter.WriteEventStart(0, Tandry::kDemoSyncBlock);
    mStream.buffer.PutLong(0xFFFFFFFF);
    mStream.buffer.PutLong(0xAAAAAAAA);
    Play();
    bool flag = true;
    mApp->SyncBoolWithDemo(flag);
    EXPECT_TRUE(flag);
    EXPECT_TRUE(mApp->mDemoFinished);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].text.find(L"4294967295 bytes"), std::wstring::npos);
}

TEST_F(DemoReplay, ARecordedValueTooLargeForTheCallerFailsTheReadAndKeepsTheStreamInStep)
{
    const uint8_t value[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    mWriter.WriteRegistryRead(0, true, Platform::REG_BINARY, value, 8);
    const uint8_t small[4] = {9, 8, 7, 6};
    mWriter.WriteRegistryRead(0, true, Platform::REG_BINARY, small, 4);
    KeyAt(2, 81);
    Play();

    uint8_t buffer[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    uint32_t type = 77;
    uint32_t length = 4;
    EXPECT_FALSE(mApp->ReadRegistryRaw("Big", &type, buffer, &length));
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 4), (std::vector<uint8_t>{0xAA, 0xAA, 0xAA, 0xAA}));
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(type, 77u);
    EXPECT_TRUE(mApp->ReadRegistryRaw("Small", &type, buffer, &length));
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 4), (std::vector<uint8_t>{9, 8, 7, 6}));
    EXPECT_EQ(type, Platform::REG_BINARY);
    StepTo(2);
    Step();
    EXPECT_EQ(Calls("KeyDown"), std::vector<std::string>{"KeyDown 81 @2"});
    EXPECT_FALSE(mApp->mDemoFinished);
}

TEST_F(DemoReplay, AfterTheCloseWritesSucceedAndReadsFailWithoutTouchingTheStream)
{
    mWriter.WriteRegistryWrite(0, false);
    mWriter.WriteRegistryRead(0, true, Platform::REG_DWORD, reinterpret_cast<const uint8_t*>("abcd"), 4);
    Play();
    SendAndProcess(Platform::WM_CLOSE);
    ASSERT_TRUE(mApp->mDemoFinished);
    const int position = mApp->mDemoBuffer.GetReadBitPos();
    EXPECT_TRUE(mApp->WriteRegistryRaw("V", Platform::REG_DWORD, reinterpret_cast<const uint8_t*>("wxyz"), 4));
    int value = 0;
    EXPECT_FALSE(mApp->ReadRegistryDword("V", &value));
    EXPECT_EQ(mApp->mDemoBuffer.GetReadBitPos(), position);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(DemoReplay, TheZeroPaddingOfTheLastByteIsNoEvent)
{
    KeyAt(2, 65);
    // 18 bits: the last byte holds 6 bits of zero padding.
    ASSERT_EQ(mStream.buffer.GetDataBitSize() % 8, 2);
    Play();
    for (int i = 0; i < 10; ++i)
        Step();
    EXPECT_EQ(Calls(), std::vector<std::string>{"KeyDown 65 @2"});
    EXPECT_EQ(mApp->mUpdateCount, 2);
    EXPECT_TRUE(Boxes().empty());
}

} // namespace
