// The application on the headless platform with the DirectDraw display: a
// frame drawn by a widget through the widget manager's draw pass reaches the
// window with the software cursor over it, and the screen-mode changes keep
// presenting without leaking surfaces.
#include "app/TandryAppBase.h"

#include "AppTestSupport.h"
#include "graphics/display/D3DInterface.h"
#include "graphics/display/DDInterface.h"
#include "graphics/display/FrameScene.h"
#include "platform/ddraw/DDrawRuntime.h"
#include "platform/headless/HeadlessPresenter.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <array>

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

class DisplayApp : public AppTest::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        platform->Windows().SetScreenSize(1920, 1080);
        Platform::DDrawRuntime::Get().Reset();
        Tandry::ResetDisplayGlobals();
        Tandry::ResetD3DGlobals();
    }

    void TearDown() override
    {
        Platform::DDrawRuntime::Get().Reset();
        Tandry::ResetDisplayGlobals();
        Tandry::ResetD3DGlobals();
        AppFixture::TearDown();
    }

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

} // namespace
