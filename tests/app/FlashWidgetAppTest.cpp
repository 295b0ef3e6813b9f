// The Flash widget inside the real application on the headless platform with
// the DirectDraw display: its canvas is a display image that reaches the
// screen, a movie file plays through the application's own updates as the
// headless clock runs, and the application's focus and override cursor are
// the ones the widget uses.
#include "AppTestSupport.h"
#include "graphics/display/D3DInterface.h"
#include "graphics/display/DDImage.h"
#include "graphics/display/DDInterface.h"
#include "platform/ddraw/DDrawRuntime.h"
#include "platform/flash/FlashControlFactory.h"
#include "platform/flash/NullFlashControl.h"
#include "platform/flash/ScriptedFlashControl.h"
#include "platform/headless/HeadlessPresenter.h"
#include "widgets/FlashListener.h"
#include "widgets/FlashWidgetFixture.h"
#include "widgets/FlashWidget.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Platform::FlashScript;
using Platform::FlashScriptStep;
using Tandry::FlashWidget;
using Strings = std::vector<std::string>;

// The display may hold fewer bits per channel than the colours drawn.
bool Near(uint32_t pixel, uint32_t colour)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>(pixel >> shift & 0xFF);
        const int b = static_cast<int>(colour >> shift & 0xFF);
        if (a - b > 8 || b - a > 8)
            return false;
    }
    return true;
}

constexpr uint32_t kGreen = 0xFF00FF00u;
constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kBlue = 0xFF0000FFu;

class FlashWidgetApp : public AppTest::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        platform->Windows().SetScreenSize(1920, 1080);
        platform->Windows().SetScreenSaverAnswers(600, false, std::nullopt);
        Platform::DDrawRuntime::Get().Reset();
        Tandry::ResetDisplayGlobals();
        Tandry::ResetD3DGlobals();
        StoreDword("ScreenMode", 0);
        app = std::make_unique<AppTest::TestApp>();
        app->makeDisplay = true;
        app->Init();
        // The test application brings the display up without the display
        // set-up, which hands the manager the screen image.
        if (app->mDDInterface != nullptr)
            app->mWidgetManager->drawImage = app->mDDInterface->mScreenImage;
    }
    void TearDown() override
    {
        if (widget != nullptr && widget->parent != nullptr)
            widget->parent->RemoveWidget(widget.get());
        widget.reset();
        app.reset();
        Platform::ResetFlashControlFactory();
        Platform::DDrawRuntime::Get().Reset();
        Tandry::ResetDisplayGlobals();
        Tandry::ResetD3DGlobals();
        AppFixture::TearDown();
    }

    // The cut-scene's widget: 1025 x 576, centred on the 1024 x 768 screen.
    FlashWidget& AddWidget()
    {
        widget = std::make_unique<FlashWidget>(&listener);
        widget->id = 3;
        widget->Resize((1024 - 1025) / 2, (768 - 576) / 2, 1025, 576);
        widget->mouseVisible = false;
        app->mWidgetManager->AddWidget(widget.get());
        return *widget;
    }
    Platform::HeadlessPresenter& Presenter()
    {
        return dynamic_cast<Platform::HeadlessPresenter&>(platform->GetPresenter());
    }
    // Loop steps a millisecond apart until the condition holds.
    bool RunUntil(const std::function<bool()>& done, int limit = 3000)
    {
        app->mInMainLoop = true;
        for (int i = 0; i < limit && !done(); ++i) {
            app->RunUpdateStep(nullptr);
            platform->Clock().Advance(1);
        }
        app->mInMainLoop = false;
        return done();
    }
    uint32_t CanvasPixel(int x, int y) { return widget->canvas->GetBits()[y * widget->width + x]; }

    std::unique_ptr<AppTest::TestApp> app;
    WidgetTest::RecordingFlashListener listener;
    std::unique_ptr<FlashWidget> widget;
};

TEST_F(FlashWidgetApp, AMovieFilePlaysThroughTheApplicationsUpdatesAndTheCanvasIsShown)
{
    ASSERT_TRUE(app->mInitDone);
    ASSERT_NE(app->mDDInterface, nullptr);
    const std::filesystem::path movie = std::filesystem::current_path() / "res" / "movies" / "intro.dat";
    std::filesystem::create_directories(movie.parent_path());
    std::ofstream(movie) << "MOORGLEN MOVIE 1\n0 next 1\n300 sound door\n200 end\n";

    FlashWidget& flash = AddWidget();
    flash.backgroundColor = Tandry::Color(kGreen);
    ASSERT_TRUE(flash.StartMovie("res\\movies\\intro.dat"));
    EXPECT_EQ(listener.log, Strings{"command 3 next|1"});

    ASSERT_TRUE(RunUntil([&] { return Presenter().GetPresentCount() > 0 && !flash.dirty && !flash.canvasDirty; }));

    const Platform::HeadlessPresenter::Frame shown = Presenter().GetLastFrame();
    EXPECT_TRUE(Near(shown.At(10, 100), kGreen));
    EXPECT_TRUE(Near(shown.At(1023, 671), kGreen));
    EXPECT_FALSE(Near(shown.At(10, 95), kGreen));
    EXPECT_FALSE(Near(shown.At(10, 672), kGreen));

    ASSERT_TRUE(RunUntil([&] { return flash.state == 2; }));
    EXPECT_EQ(listener.log, (Strings{"command 3 next|1", "command 3 sound|door", "command 3 end|", "stopped 3"}));
    RunUntil([] { return false; }, 50);
    EXPECT_EQ(listener.log.size(), 4u) << "the end is reported once";
}

TEST_F(FlashWidgetApp, TheApplicationsFocusPausesTheMovie)
{
    auto book = std::make_shared<Platform::FlashScriptBook>();
    Platform::SetFlashControlFactory([book] { return std::make_unique<Platform::ScriptedFlashControl>(book); });
    book->Register(L"m.swf", FlashScript{{}, 100'000});
    FlashWidget& flash = AddWidget();
    ASSERT_TRUE(flash.StartMovie("m.swf"));
    app->mHasFocus = false;
    app->mWidgetManager->UpdateFrame();
    EXPECT_EQ(flash.state, 0);
    EXPECT_EQ(book->calls.back(), "StopPlay");
    app->mHasFocus = true;
    app->mWidgetManager->UpdateFrame();
    EXPECT_EQ(flash.state, 1);
}

TEST_F(FlashWidgetApp, TheControlsCursorBecomesTheApplicationsOverrideCursor)
{
    auto book = std::make_shared<Platform::FlashScriptBook>();
    Platform::SetFlashControlFactory([book] { return std::make_unique<Platform::ScriptedFlashControl>(book); });
    const Platform::CursorHandle beam = Platform::GetPlatform().GetCursors().LoadSystemCursor(Platform::IDC_IBEAM);
    FlashScript script{{FlashScriptStep::SetCursor(0, beam), FlashScriptStep::SetCursor(100, nullptr)}, 100'000};
    book->Register(L"m.swf", script);
    FlashWidget& flash = AddWidget();
    flash.mouseVisible = true;
    ASSERT_TRUE(flash.StartMovie("m.swf"));
    const int kind = app->mCursorKind;
    app->mWidgetManager->MouseMove(50, 150);
    EXPECT_EQ(app->mCursorHandle, beam);
    platform->Clock().Advance(100);
    app->mWidgetManager->MouseMove(51, 150);
    EXPECT_EQ(app->mCursorHandle, nullptr);
    EXPECT_EQ(app->mCursorKind, kind);
}

// With a background, a partial repaint leaves the movie's picture outside
// the repainted area as it was; a whole repaint shows the control's colour.
TEST_F(FlashWidgetApp, APartialRepaintKeepsTheMovieOutsideIt)
{
    auto book = std::make_shared<Platform::FlashScriptBook>();
    Platform::SetFlashControlFactory([book] { return std::make_unique<Platform::ScriptedFlashControl>(book); });
    FlashScript script;
    script.endTime = 100'000;
    script.colour = kRed;
    script.steps = {
        FlashScriptStep::Paint(100, kBlue),
        FlashScriptStep::Invalidate(100, {10, 20, 30, 40}),
        FlashScriptStep::InvalidateAll(200),
    };
    book->Register(L"m.swf", script);
    FlashWidget& flash = AddWidget();
    flash.backgroundColor = Tandry::Color(kGreen);
    ASSERT_TRUE(flash.StartMovie("m.swf"));
    app->mWidgetManager->UpdateFrame();
    ASSERT_TRUE(app->mWidgetManager->DrawScreen());
    EXPECT_TRUE(Near(CanvasPixel(0, 0), kRed));

    platform->Clock().Advance(100);
    app->mWidgetManager->UpdateFrame();
    ASSERT_TRUE(app->mWidgetManager->DrawScreen());
    EXPECT_TRUE(Near(CanvasPixel(10, 20), kBlue));
    EXPECT_TRUE(Near(CanvasPixel(29, 39), kBlue));
    for (auto [x, y] : {std::pair{0, 0}, {9, 20}, {30, 39}, {10, 40}, {500, 300}})
        EXPECT_TRUE(Near(CanvasPixel(x, y), kRed)) << x << "," << y << " keeps the movie's picture";

    platform->Clock().Advance(100);
    app->mWidgetManager->UpdateFrame();
    ASSERT_TRUE(app->mWidgetManager->DrawScreen());
    for (auto [x, y] : {std::pair{0, 0}, {10, 20}, {500, 300}, {1024, 575}})
        EXPECT_TRUE(Near(CanvasPixel(x, y), kBlue)) << x << "," << y;
}

// The null control paints nothing: the canvas shows only the background,
// the colour with the picture over it.
TEST_F(FlashWidgetApp, WithoutAMovieTheCanvasShowsTheBackground)
{
    Platform::SetFlashControlFactory([] { return std::make_unique<Platform::NullFlashControl>(); });
    Tandry::MemoryImage picture;
    picture.Create(4, 4);
    for (int i = 0; i < 16; ++i)
        picture.GetBits()[i] = i < 8 ? kRed : kBlue;
    picture.MarkBitsChanged();
    FlashWidget& flash = AddWidget();
    flash.backgroundColor = Tandry::Color(kGreen);
    flash.backgroundImage = &picture;
    flash.backgroundSrc = Tandry::Rect(0, 1, 4, 2);
    EXPECT_FALSE(flash.StartMovie("m.swf"));
    app->mWidgetManager->UpdateFrame();
    ASSERT_TRUE(app->mWidgetManager->DrawScreen());
    EXPECT_TRUE(Near(CanvasPixel(0, 0), kRed));
    EXPECT_TRUE(Near(CanvasPixel(3, 1), kBlue));
    EXPECT_TRUE(Near(CanvasPixel(0, 2), kGreen));
    EXPECT_TRUE(Near(CanvasPixel(4, 0), kGreen));
    EXPECT_TRUE(Near(CanvasPixel(1024, 575), kGreen));
}

} // namespace
