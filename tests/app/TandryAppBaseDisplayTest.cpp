// The application on the headless platform with the DirectDraw display: a
// frame drawn by a widget through the widget manager's draw pass reaches the
// window with the software cursor over it, clicks posted to the window reach
// a widget through the loop, and the screen-mode changes keep presenting
// without leaking surfaces.
#include "app/TandryAppBase.h"

#include "AppTestSupport.h"
#include "DisplayAppFixture.h"
#include "graphics/context/Graphics.h"
#include "graphics/display/D3DInterface.h"
#include "graphics/display/DDImage.h"
#include "graphics/display/DDInterface.h"
#include "graphics/display/FrameScene.h"
#include "platform/ddraw/DDrawRuntime.h"
#include "platform/headless/HeadlessPresenter.h"
#include "platform/window/WindowMessages.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// Paints the scene whenever the manager draws it.
class SceneWidget : public Tandry::Widget {
public:
    SceneWidget(const DisplayTest::FrameScene& scene, Tandry::DDInterface& display) : mScene(scene), mDisplay(display)
    {
    }
    void Draw(Tandry::Graphics* g) override
    {
        ++draws;
        mScene.Paint(*g, mDisplay);
    }

    int draws = 0;

private:
    const DisplayTest::FrameScene& mScene;
    Tandry::DDInterface& mDisplay;
};

// The display may hold fewer bits per channel than the widget draws with.
bool IsRed(uint32_t pixel)
{
    return (pixel >> 16 & 0xFF) >= 0xF0 && (pixel >> 8 & 0xFF) < 0x10;
}

bool IsGreen(uint32_t pixel)
{
    return (pixel >> 8 & 0xFF) >= 0xF0 && (pixel >> 16 & 0xFF) < 0x10;
}

// Red until it is clicked, green afterwards; notes where the clicks landed.
class ClickWidget : public Tandry::Widget {
public:
    void Draw(Tandry::Graphics* g) override
    {
        g->SetColor(clicks.empty() ? Tandry::Color(255, 0, 0) : Tandry::Color(0, 255, 0));
        g->FillRect(0, 0, width, height);
    }
    void MouseDown(int mx, int my, int button, int clickCount) override
    {
        clicks.push_back(std::to_string(mx) + "," + std::to_string(my) + " b" + std::to_string(button) + " c" +
                         std::to_string(clickCount));
        MarkDirty();
    }
    void MouseUp(int mx, int my, int button, int) override
    {
        ups.push_back(std::to_string(mx) + "," + std::to_string(my) + " b" + std::to_string(button));
    }
    using Widget::MouseDown;
    using Widget::MouseUp;

    std::vector<std::string> clicks;
    std::vector<std::string> ups;
};

class DisplayApp : public AppTest::DisplayAppFixture {
protected:
    void SetDesktopFormat(Platform::DDrawFormat format)
    {
        Platform::DDrawSettings settings = Platform::DDrawRuntime::Get().GetSettings();
        settings.desktopFormat = format;
        Platform::DDrawRuntime::Get().SetSettings(settings);
    }

    Platform::HeadlessPresenter& Presenter()
    {
        return dynamic_cast<Platform::HeadlessPresenter&>(platform->GetPresenter());
    }
    // Runs loop steps, a millisecond apart so that the loop keeps up with its
    // updates and draws, until the condition holds.
    bool RunUntil(Tandry::TandryAppBase& app, const std::function<bool()>& done)
    {
        app.mInMainLoop = true;
        for (int i = 0; i < 3000 && !done(); ++i) {
            app.RunUpdateStep(nullptr);
            platform->Clock().Advance(1);
        }
        app.mInMainLoop = false;
        return done();
    }
};

// The game's names on the application object, with its own window and display.
class SceneApp : public Tandry::TandryAppBase {
public:
    SceneApp()
    {
        mCompanyName = "Hollowmere";
        mProductName = "Moorglen";
        mRegistryKey = "Hollowmere\\Moorglen";
        mWidth = 1024;
        mHeight = 768;
    }
};

TEST_F(DisplayApp, AFrameDrawnByAWidgetIsShownWithTheCursor)
{
    for (const DisplayTest::FrameCase& c : DisplayTest::kFrameCases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.desktop) << (c.windowed ? " windowed" : " full"));
        Platform::DDrawRuntime::Get().Reset();
        SetDesktopFormat(c.desktop);
        const DisplayTest::FrameScene scene;
        {
            // The screen mode as the player last left it.
            StoreDword("ScreenMode", c.windowed ? 0 : 1);
            SceneApp app;
            app.mFullScreenBits = c.FullScreenBits();
            app.Init();
            ASSERT_TRUE(app.mInitDone);
            ASSERT_NE(app.mDDInterface, nullptr);
            ASSERT_EQ(app.mIsWindowed, c.windowed);
            Tandry::DDInterface& display = *app.mDDInterface;
            ASSERT_EQ(app.mWidgetManager->drawImage, display.mScreenImage);

            SceneWidget widget(scene, display);
            widget.Resize(0, 0, DisplayTest::FrameScene::kWidth, DisplayTest::FrameScene::kHeight);
            app.mWidgetManager->AddWidget(&widget);
            scene.ShowCursor(display);

            ASSERT_TRUE(app.DrawDirtyStuff());
            EXPECT_EQ(widget.draws, 1);
            EXPECT_FALSE(widget.dirty);
            const Platform::HeadlessPresenter::Frame shown = Presenter().GetLastFrame();
            ASSERT_EQ(shown.width, 1024u);
            ASSERT_EQ(shown.height, 768u);
            EXPECT_TRUE(shown.pixels == DisplayTest::AsShown(display, scene.Expected()));

            // Nothing dirty: the next pass draws nothing.
            EXPECT_FALSE(app.mWidgetManager->DrawScreen());
            EXPECT_EQ(widget.draws, 1);
            app.mWidgetManager->RemoveWidget(&widget);
            display.SetCursorImage(nullptr);
        }
    }
}

uint32_t PresentCount()
{
    return dynamic_cast<Platform::HeadlessPresenter&>(Platform::GetPlatform().GetPresenter()).GetPresentCount();
}

// One whole frame presented through the application.
void ExpectAFramePresented(Tandry::TandryAppBase& app)
{
    const uint32_t before = PresentCount();
    app.mWidgetManager->MarkAllDirty();
    app.Redraw(nullptr);
    EXPECT_GT(PresentCount(), before);
}

std::array<uint32_t, 4> LiveCounts()
{
    Platform::DDrawRuntime& runtime = Platform::DDrawRuntime::Get();
    return {runtime.LiveCount(Platform::DDrawObjectKind::DirectDraw),
            runtime.LiveCount(Platform::DDrawObjectKind::Surface),
            runtime.LiveCount(Platform::DDrawObjectKind::Clipper),
            runtime.LiveCount(Platform::DDrawObjectKind::Palette)};
}

TEST_F(DisplayApp, AWindowOnATwentyFourBitDesktopFallsBackToFullScreen)
{
    SetDesktopFormat(Platform::DDrawFormat::R8G8B8);
    StoreDword("ScreenMode", 0);
    SceneApp app;
    app.Init();
    ASSERT_TRUE(app.mInitDone);
    ASSERT_NE(app.mDDInterface, nullptr);
    EXPECT_FALSE(app.mIsWindowed);
    EXPECT_TRUE(app.mForceFullScreen);
    EXPECT_EQ(app.mDDInterface->mRGBBits, 16);
    EXPECT_EQ(app.mWidgetManager->drawImage, app.mDDInterface->mScreenImage);
    ExpectAFramePresented(app);
}

TEST_F(DisplayApp, SwitchingModesBackAndForthLeaksNothing)
{
    StoreDword("ScreenMode", 0);
    SceneApp app;
    app.Init();
    ASSERT_TRUE(app.mInitDone);
    ASSERT_TRUE(app.mIsWindowed);
    ExpectAFramePresented(app);
    const std::array<uint32_t, 4> live = LiveCounts();

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        app.ChangeScreenModeWindowed(false);
        EXPECT_FALSE(app.mIsWindowed);
        EXPECT_EQ(app.mWidgetManager->drawImage, app.mDDInterface->mScreenImage);
        ExpectAFramePresented(app);
        app.ChangeScreenModeWindowed(true);
        EXPECT_TRUE(app.mIsWindowed);
        ExpectAFramePresented(app);
        EXPECT_EQ(LiveCounts(), live);
    }
}

TEST_F(DisplayApp, TheScreenMovesIntoVideoMemoryOnce)
{
    StoreDword("ScreenMode", 0);
    SceneApp app;
    app.Init();
    ASSERT_TRUE(app.mInitDone);
    app.SetScreenInVideoMemory(true);
    EXPECT_TRUE(app.mDDInterface->mScreenInVideoMemory);
    Tandry::Image* moved = app.mWidgetManager->drawImage;
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved, app.mDDInterface->mScreenImage);
    app.SetScreenInVideoMemory(true);
    EXPECT_EQ(app.mWidgetManager->drawImage, moved);
    ExpectAFramePresented(app);
}

TEST_F(DisplayApp, AClickThroughTheLoopReachesTheWidgetAndItsDrawingTheWindow)
{
    StoreDword("ScreenMode", 0);
    // No screen saver, so that the idle check never suspends drawing.
    platform->Windows().SetScreenSaverAnswers(600, false, std::nullopt);
    SceneApp app;
    app.Init();
    ASSERT_TRUE(app.mInitDone);
    ASSERT_NE(app.mDDInterface, nullptr);
    ClickWidget widget;
    widget.Resize(100, 200, 300, 150);
    app.mWidgetManager->AddWidget(&widget);
    // Out of the tree before it goes, whatever the test's outcome.
    const std::unique_ptr<void, std::function<void(void*)>> detach(
        &widget, [&](void*) { app.mWidgetManager->RemoveWidget(&widget); });

    ASSERT_TRUE(RunUntil(app, [&] { return Presenter().GetPresentCount() > 0 && !widget.dirty; }));
    EXPECT_TRUE(IsRed(Presenter().GetLastFrame().At(150, 250)));

    const uint32_t presented = Presenter().GetPresentCount();
    platform->Windows().PostMessage(app.mMainWindow, Platform::WM_LBUTTONDOWN, Platform::MK_LBUTTON,
                                    Platform::MakeLParam(130, 210));
    platform->Windows().PostMessage(app.mMainWindow, Platform::WM_LBUTTONUP, 0, Platform::MakeLParam(135, 215));
    ASSERT_TRUE(RunUntil(app, [&] {
        return !widget.ups.empty() && !widget.dirty && Presenter().GetPresentCount() > presented;
    }));
    EXPECT_EQ(widget.clicks, std::vector<std::string>{"30,10 b0 c1"});
    EXPECT_EQ(widget.ups, std::vector<std::string>{"35,15 b0"});
    const Platform::HeadlessPresenter::Frame shown = Presenter().GetLastFrame();
    ASSERT_EQ(shown.width, 1024u);
    EXPECT_TRUE(IsGreen(shown.At(150, 250)));
    EXPECT_TRUE(IsGreen(shown.At(100, 200)));
    EXPECT_TRUE(IsGreen(shown.At(399, 349)));
    EXPECT_FALSE(IsGreen(shown.At(400, 250)));
    EXPECT_FALSE(IsGreen(shown.At(150, 350)));
}

TEST_F(DisplayApp, TheScreenSurfaceIsLockedOnceForTheWholePass)
{
    StoreDword("ScreenMode", 0);
    SceneApp app;
    app.Init();
    ASSERT_NE(app.mDDInterface, nullptr);
    auto* screen = dynamic_cast<Tandry::DDImage*>(app.mWidgetManager->drawImage);
    ASSERT_NE(screen, nullptr);
    std::vector<std::unique_ptr<ClickWidget>> widgets;
    for (int i = 0; i < 5; ++i) {
        widgets.push_back(std::make_unique<ClickWidget>());
        widgets.back()->Resize(i * 100, i * 50, 80, 40);
        app.mWidgetManager->AddWidget(widgets.back().get());
    }
    Platform::DDrawRuntime::Get().ClearCallLog();
    ASSERT_TRUE(app.mWidgetManager->DrawScreen());
    const std::vector<Platform::DDrawCall> calls = Platform::DDrawRuntime::Get().GetCallLog();
    const auto count = [&](Platform::DDrawOp op) {
        return std::count_if(calls.begin(), calls.end(), [op](const Platform::DDrawCall& c) { return c.op == op; });
    };
    EXPECT_EQ(count(Platform::DDrawOp::Lock), 1);
    EXPECT_EQ(count(Platform::DDrawOp::Unlock), 1);
    EXPECT_EQ(screen->mLockCount, 0);
    for (auto& widget : widgets)
        app.mWidgetManager->RemoveWidget(widget.get());
}

} // namespace
