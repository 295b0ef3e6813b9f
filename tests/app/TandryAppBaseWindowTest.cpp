// The main window: where it is placed, how the display comes up on it and
// what the success path puts in step with it; the least display set-up.
#include "LoopTestSupport.h"

#include "app/NullDisplay.h"
#include "graphics/display/D3DTester.h"
#include "graphics/display/DisplayResult.h"
#include "platform/window/WindowMessages.h"

namespace LoopTest {
namespace {

class MainWindow : public LoopFixture {
protected:
    Platform::WinRect Outer()
    {
        Platform::WindowPlacement placement;
        EXPECT_TRUE(mPlatform->Windows().GetWindowPlacement(mApp->mMainWindow, placement));
        return placement.normalPosition;
    }
};

TEST_F(MainWindow, WindowedPlacementInTheWorkArea)
{
    struct Case {
        const char* name;
        Platform::WinRect work;
        int preferredX, preferredY;
        int x, y;
    };
    const Case cases[] = {
        {"centred, a little above the middle", {0, 0, 1280, 1024}, -1, -1, 125, 86},
        {"centred in an offset work area", {100, 40, 1380, 1064}, -1, -1, 225, 126},
        {"a stored position", {0, 0, 1280, 1024}, 200, 100, 200, 100},
        {"kept inside the work area", {0, 0, 1280, 1024}, -500, 20000, 4, 1024 - 4 - 797},
        {"kept away from the far edges", {0, 0, 1280, 1024}, 2147483647, -2147483647 - 1, 1280 - 4 - 1030, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mApp.reset();
        mApp = std::make_unique<LoopApp>();
        mPlatform->Windows().SetWorkArea(c.work);
        mApp->mPreferredX = c.preferredX;
        mApp->mPreferredY = c.preferredY;
        mApp->CreateAppWindow();
        const Platform::WinRect outer = Outer();
        EXPECT_EQ(outer.left, c.x);
        EXPECT_EQ(outer.top, c.y);
        EXPECT_EQ(outer.Width(), 1030);
        EXPECT_EQ(outer.Height(), 797);
        Platform::WinRect client;
        mPlatform->Windows().GetClientRect(mApp->mMainWindow, client);
        EXPECT_EQ(client, (Platform::WinRect{0, 0, 1024, 768}));
        EXPECT_TRUE(mApp->mIsWindowed);
    }
}

TEST_F(MainWindow, ALogicalScreenOfTheDesktopsSizeSitsInTheCorner)
{
    for (bool windowed : {true, false}) {
        SCOPED_TRACE(windowed);
        mApp.reset();
        mApp = std::make_unique<LoopApp>();
        mPlatform->Windows().SetScreenSize(1024, 768);
        mApp->mWindowed = windowed;
        mApp->mPreferredX = 300;
        mApp->mPreferredY = 300;
        mApp->CreateAppWindow();
        EXPECT_EQ(Outer(), (Platform::WinRect{0, 0, 1024, 768}));
    }
}

TEST_F(MainWindow, FullScreenUnlessADemoPlays)
{
    mApp->mWindowed = false;
    mApp->CreateAppWindow();
    EXPECT_FALSE(mApp->mIsWindowed);
    EXPECT_EQ(Outer(), (Platform::WinRect{0, 0, 1024, 768}));
    EXPECT_FALSE(Display().mIsWindowed);

    mApp->mPlayingDemo = true;
    mApp->CreateAppWindow();
    EXPECT_TRUE(mApp->mIsWindowed);
    EXPECT_TRUE(Display().mIsWindowed);
}

TEST_F(MainWindow, RecreatingReplacesTheWindowAndKeepsTheDisplay)
{
    mApp->CreateAppWindow();
    Tandry::DDInterface* display = mApp->mDDInterface;
    mApp->CreateAppWindow();
    EXPECT_EQ(mPlatform->Windows().GetMainWindow(), mApp->mMainWindow);
    EXPECT_EQ(Display().mHWnd, mApp->mMainWindow);
    EXPECT_EQ(mApp->mDDInterface, display);
    EXPECT_EQ(Display().initCalls, 2);
    EXPECT_EQ(mPlatform->Windows().GetWindowUserData(mApp->mMainWindow), mApp.get());
}

TEST_F(MainWindow, TheStoredThreeDChoiceIsReadAtTheFirstCreationOnly)
{
    mApp->mRegistryKey = "Hollowmere\\Moorglen";
    struct Case {
        bool stored;
        bool value;
        bool autoEnableAfter;
        bool testAfter;
        bool is3D;
    };
    for (const Case& c : {Case{false, false, true, false, false}, Case{true, false, false, true, false},
                          Case{true, true, false, true, true}}) {
        SCOPED_TRACE(testing::Message() << c.stored << c.value);
        mApp.reset();
        mApp = std::make_unique<LoopApp>();
        mApp->mRegistryKey = "Hollowmere\\Moorglen";
        mApp->EraseRegistryValue("Is3D");
        if (c.stored) {
            ASSERT_TRUE(mApp->WriteRegistryBool("Is3D", c.value));
        }
        mApp->mAutoEnable3D = true;
        mApp->CreateAppWindow();
        EXPECT_EQ(mApp->mAutoEnable3D, c.autoEnableAfter);
        EXPECT_EQ(mApp->mTest3D, c.testAfter);
        EXPECT_EQ(mApp->mDDInterface->mIs3D, c.is3D);
    }

    // Later creations keep the display and its flag, whatever the registry says.
    ASSERT_TRUE(mApp->WriteRegistryBool("Is3D", false));
    mApp->CreateAppWindow();
    EXPECT_TRUE(mApp->mDDInterface->mIs3D);
}

TEST_F(MainWindow, AFreshCapabilityResultErasesTheStoredChoice)
{
    for (bool fresh : {false, true}) {
        SCOPED_TRACE(fresh);
        mApp.reset();
        mApp = std::make_unique<LoopApp>();
        mApp->mRegistryKey = "Hollowmere\\Moorglen";
        ASSERT_TRUE(mApp->WriteRegistryBool("Is3D", true));
        mPrepareDisplay = [&](ScriptedDisplay& display) { display.GiveTester(true, fresh); };
        mApp->CreateAppWindow();
        bool stored = false;
        EXPECT_EQ(mApp->ReadRegistryBool("Is3D", &stored), !fresh);
    }
}

TEST_F(MainWindow, SuccessPutsActivationWidgetsAndTheTimerInStep)
{
    mApp->mFrameTimeMs = 25;
    mApp->mMinimized = true;
    mApp->Mute(true);
    mApp->CreateAppWindow();
    // A windowed window is not active until it is shown.
    EXPECT_FALSE(mApp->mActive);
    EXPECT_FALSE(mApp->mMinimized);
    EXPECT_FALSE(mApp->mSizeMinimized);
    EXPECT_EQ(mApp->mAutoMuteCount, 1);
    EXPECT_EQ(mApp->focusEvents, std::vector<std::string>{"lost"});
    EXPECT_EQ(Manager().markAllDirtyCalls, 1);
    EXPECT_EQ(Manager().drawImage, nullptr);

    // The window's timer runs at the frame time; its messages are queued.
    mPlatform->Windows().ShowWindow(mApp->mMainWindow, Platform::SW_SHOW);
    ProcessAll();
    EXPECT_TRUE(mApp->mActive);
    Clock().Advance(24);
    Platform::WindowMessage message;
    EXPECT_FALSE(mPlatform->Windows().PeekMessage(message));
    Clock().Advance(1);
    ASSERT_TRUE(mPlatform->Windows().PeekMessage(message));
    EXPECT_EQ(message.message, Platform::WM_TIMER);
    EXPECT_EQ(message.wParam, 100u);
}

TEST_F(MainWindow, ADisplayFailureIsFatal)
{
    mPrepareDisplay = [](ScriptedDisplay& display) { display.initResults = {Tandry::RESULT_SURFACE_FAIL}; };
    int code = -1;
    try {
        mApp->CreateAppWindow();
    } catch (const Platform::HeadlessExit& exit) {
        code = exit.GetCode();
    }
    EXPECT_EQ(code, 1);
    const auto boxes = mPlatform->Dialogs().GetBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Failed to initialize DirectDraw: RESULT_SURFACE_FAIL scripted failure");
    // The timer of the success path was not started.
    Clock().Advance(100);
    Platform::WindowMessage message;
    while (mPlatform->Windows().PeekMessage(message))
        EXPECT_NE(message.message, Platform::WM_TIMER);
}

TEST_F(MainWindow, SetUpDisplayCentresTheLogicalScreen)
{
    mPrepareDisplay = [](ScriptedDisplay& display) {
        display.displayWidth = 1280;
        display.displayHeight = 960;
        display.SetRefreshRate(75);
    };
    mApp->CreateAppWindow();
    EXPECT_EQ(mApp->mScreenBounds, Tandry::Rect(-128, -96, 1280, 960));
    EXPECT_EQ(Manager().width, 1024);
    EXPECT_EQ(Manager().height, 768);
    EXPECT_EQ(Manager().drawOffsetRect, Tandry::Rect(-128, -96, 1280, 960));
    EXPECT_EQ(Manager().mouseRect, Tandry::Rect(0, 0, 1280, 960));
    EXPECT_EQ(mApp->mRefreshRate, 75);
}

TEST_F(MainWindow, AFailedSetUpStillRecordsTheDisplayStateAndChangesNothingElse)
{
    mApp->CreateAppWindow();
    mApp->mRecordingDemo = true;
    const Tandry::Rect bounds = mApp->mScreenBounds;
    Display().SetRefreshRate(85);
    Display().initResults = {Tandry::RESULT_EXCLUSIVE_FAIL};
    Display().displayWidth = 640;
    EXPECT_EQ(mApp->SetUpDisplay(), Tandry::RESULT_EXCLUSIVE_FAIL);
    EXPECT_EQ(mApp->mRefreshRate, 85);
    EXPECT_EQ(mApp->mScreenBounds, bounds);
}

TEST_F(MainWindow, TheNullDisplayShowsTheLogicalScreenAtSixtyHertz)
{
    Tandry::NullDisplay display(mApp.get());
    EXPECT_EQ(display.Init(nullptr, true), 0);
    EXPECT_EQ(display.mWidth, 1024);
    EXPECT_EQ(display.mHeight, 768);
    EXPECT_EQ(display.mPresentationRect, Tandry::Rect(0, 0, 1024, 768));
    EXPECT_EQ(display.mRefreshRate, 60u);
    EXPECT_EQ(display.mMillisPerRefresh, 16);
    EXPECT_EQ(display.mD3DTester, nullptr);
    EXPECT_EQ(display.mScreenImage, nullptr);
    EXPECT_FALSE(display.HasDirectDraw());
    EXPECT_TRUE(display.Redraw(nullptr));
}

} // namespace
} // namespace LoopTest
