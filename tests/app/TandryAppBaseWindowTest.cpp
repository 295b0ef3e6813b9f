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
        EXPECT_TRUE(platform->Windows().GetWindowPlacement(app->mMainWindow, placement));
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
        app.reset();
        app = std::make_unique<LoopApp>();
        platform->Windows().SetWorkArea(c.work);
        app->mPreferredX = c.preferredX;
        app->mPreferredY = c.preferredY;
        app->CreateAppWindow();
        const Platform::WinRect outer = Outer();
        EXPECT_EQ(outer.left, c.x);
        EXPECT_EQ(outer.top, c.y);
        EXPECT_EQ(outer.Width(), 1030);
        EXPECT_EQ(outer.Height(), 797);
        Platform::WinRect client;
        platform->Windows().GetClientRect(app->mMainWindow, client);
        EXPECT_EQ(client, (Platform::WinRect{0, 0, 1024, 768}));
        EXPECT_TRUE(app->mIsWindowed);
    }
}

TEST_F(MainWindow, ALogicalScreenOfTheDesktopsSizeSitsInTheCorner)
{
    for (bool windowed : {true, false}) {
        SCOPED_TRACE(windowed);
        app.reset();
        app = std::make_unique<LoopApp>();
        platform->Windows().SetScreenSize(1024, 768);
        app->mWindowed = windowed;
        app->mPreferredX = 300;
        app->mPreferredY = 300;
        app->CreateAppWindow();
        EXPECT_EQ(Outer(), (Platform::WinRect{0, 0, 1024, 768}));
    }
}

TEST_F(MainWindow, FullScreenUnlessADemoPlays)
{
    app->mWindowed = false;
    app->CreateAppWindow();
    EXPECT_FALSE(app->mIsWindowed);
    EXPECT_EQ(Outer(), (Platform::WinRect{0, 0, 1024, 768}));
    EXPECT_FALSE(Display().mIsWindowed);

    app->mPlayingDemo = true;
    app->CreateAppWindow();
    EXPECT_TRUE(app->mIsWindowed);
    EXPECT_TRUE(Display().mIsWindowed);
}

TEST_F(MainWindow, RecreatingReplacesTheWindowAndKeepsTheDisplay)
{
    app->CreateAppWindow();
    Tandry::DDInterface* display = app->mDDInterface;
    app->CreateAppWindow();
    EXPECT_EQ(platform->Windows().GetMainWindow(), app->mMainWindow);
    EXPECT_EQ(Display().mHWnd, app->mMainWindow);
    EXPECT_EQ(app->mDDInterface, display);
    EXPECT_EQ(Display().initCalls, 2);
    EXPECT_EQ(platform->Windows().GetWindowUserData(app->mMainWindow), app.get());
}

TEST_F(MainWindow, TheStoredThreeDChoiceIsReadAtTheFirstCreationOnly)
{
    app->mRegistryKey = "Hollowmere\\Moorglen";
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
        app.reset();
        app = std::make_unique<LoopApp>();
        app->mRegistryKey = "Hollowmere\\Moorglen";
        app->EraseRegistryValue("Is3D");
        if (c.stored) {
            ASSERT_TRUE(app->WriteRegistryBool("Is3D", c.value));
        }
        app->mAutoEnable3D = true;
        app->CreateAppWindow();
        EXPECT_EQ(app->mAutoEnable3D, c.autoEnableAfter);
        EXPECT_EQ(app->mTest3D, c.testAfter);
        EXPECT_EQ(app->mDDInterface->mIs3D, c.is3D);
    }

    // Later creations keep the display and its flag, whatever the registry says.
    ASSERT_TRUE(app->WriteRegistryBool("Is3D", false));
    app->CreateAppWindow();
    EXPECT_TRUE(app->mDDInterface->mIs3D);
}

TEST_F(MainWindow, AFreshCapabilityResultErasesTheStoredChoice)
{
    for (bool fresh : {false, true}) {
        SCOPED_TRACE(fresh);
        app.reset();
        app = std::make_unique<LoopApp>();
        app->mRegistryKey = "Hollowmere\\Moorglen";
        ASSERT_TRUE(app->WriteRegistryBool("Is3D", true));
        prepareDisplay = [&](ScriptedDisplay& display) { display.GiveTester(true, fresh); };
        app->CreateAppWindow();
        bool stored = false;
        EXPECT_EQ(app->ReadRegistryBool("Is3D", &stored), !fresh);
    }
}

TEST_F(MainWindow, SuccessPutsActivationWidgetsAndTheTimerInStep)
{
    app->mFrameTimeMs = 25;
    app->mMinimized = true;
    app->Mute(true);
    app->CreateAppWindow();
    // A windowed window is not active until it is shown.
    EXPECT_FALSE(app->mActive);
    EXPECT_FALSE(app->mMinimized);
    EXPECT_FALSE(app->mSizeMinimized);
    EXPECT_EQ(app->mAutoMuteCount, 1);
    EXPECT_EQ(app->focusEvents, std::vector<std::string>{"lost"});
    EXPECT_EQ(Manager().markAllDirtyCalls, 1);
    EXPECT_EQ(Manager().drawImage, nullptr);

    // The window's timer runs at the frame time; its messages are queued.
    platform->Windows().ShowWindow(app->mMainWindow, Platform::SW_SHOW);
    ProcessAll();
    EXPECT_TRUE(app->mActive);
    Clock().Advance(24);
    Platform::WindowMessage message;
    EXPECT_FALSE(platform->Windows().PeekMessage(message));
    Clock().Advance(1);
    ASSERT_TRUE(platform->Windows().PeekMessage(message));
    EXPECT_EQ(message.message, Platform::WM_TIMER);
    EXPECT_EQ(message.wParam, 100u);
}

TEST_F(MainWindow, ADisplayFailureIsFatal)
{
    prepareDisplay = [](ScriptedDisplay& display) { display.initResults = {Tandry::RESULT_SURFACE_FAIL}; };
    int code = -1;
    try {
        app->CreateAppWindow();
    } catch (const Platform::HeadlessExit& exit) {
        code = exit.GetCode();
    }
    EXPECT_EQ(code, 1);
    const auto boxes = platform->Dialogs().GetBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Failed to initialize DirectDraw: RESULT_SURFACE_FAIL scripted failure");
    // The timer of the success path was not started.
    Clock().Advance(100);
    Platform::WindowMessage message;
    while (platform->Windows().PeekMessage(message))
        EXPECT_NE(message.message, Platform::WM_TIMER);
}

TEST_F(MainWindow, SetUpDisplayCentresTheLogicalScreen)
{
    prepareDisplay = [](ScriptedDisplay& display) {
        display.displayWidth = 1280;
        display.displayHeight = 960;
        display.SetRefreshRate(75);
    };
    app->CreateAppWindow();
    EXPECT_EQ(app->mScreenBounds, Tandry::Rect(-128, -96, 1280, 960));
    EXPECT_EQ(Manager().width, 1024);
    EXPECT_EQ(Manager().height, 768);
    EXPECT_EQ(Manager().drawOffsetRect, Tandry::Rect(-128, -96, 1280, 960));
    EXPECT_EQ(Manager().mouseRect, Tandry::Rect(0, 0, 1280, 960));
    EXPECT_EQ(app->mRefreshRate, 75);
}

TEST_F(MainWindow, AFailedSetUpStillRecordsTheDisplayStateAndChangesNothingElse)
{
    app->CreateAppWindow();
    app->mRecordingDemo = true;
    const Tandry::Rect bounds = app->mScreenBounds;
    Display().SetRefreshRate(85);
    Display().initResults = {Tandry::RESULT_EXCLUSIVE_FAIL};
    Display().displayWidth = 640;
    EXPECT_EQ(app->SetUpDisplay(), Tandry::RESULT_EXCLUSIVE_FAIL);
    EXPECT_EQ(app->mRefreshRate, 85);
    EXPECT_EQ(app->mScreenBounds, bounds);
}

TEST_F(MainWindow, TheNullDisplayShowsTheLogicalScreenAtSixtyHertz)
{
    Tandry::NullDisplay display(app.get());
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
