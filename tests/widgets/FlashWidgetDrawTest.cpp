// The Flash widget's canvas, mouse forwarding and cursor takeover against the
// scripted control, which paints its clip rectangle in its current colour.
#include "widgets/FlashWidgetFixture.h"

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"

#include <cstring>

namespace {

using Platform::FlashScript;
using Platform::FlashScriptStep;
using Tandry::Color;
using Tandry::FlashWidget;
using Tandry::Graphics;
using Tandry::MemoryImage;
using Tandry::Rect;
using WidgetTest::FlashWidgetTest;
using WidgetTest::Strings;

constexpr uint32_t kOld = 0xFF102030u;
constexpr uint32_t kNew = 0xFFC0A080u;
constexpr uint32_t kBackground = 0xFF00FF00u;

class FlashWidgetDrawTest : public FlashWidgetTest {
protected:
    // Draws the widget alone into a fresh opaque screen of its size, as the
    // display's screen image is.
    void DrawWidget(FlashWidget& widget)
    {
        screen.Create(widget.width, widget.height);
        screen.ForceAlphaFlags(false, false);
        Graphics g(&screen);
        widget.Draw(&g);
    }
    // Every pixel of the screen: inside gets one colour, the rest another.
    void ExpectSplit(const Rect& inside, uint32_t in, uint32_t out, const char* what)
    {
        int wrong = 0;
        for (int y = 0; y < screen.mHeight; ++y) {
            for (int x = 0; x < screen.mWidth; ++x) {
                const uint32_t expected = inside.Contains(x, y) ? in : out;
                if (screen.GetPixel(x, y) != expected && wrong++ < 3)
                    ADD_FAILURE() << what << ": pixel " << x << "," << y << " is " << std::hex << screen.GetPixel(x, y)
                                  << " instead of " << expected;
            }
        }
    }

    MemoryImage screen;
};

// The widget repaints the union of two areas in the new colour; the rest of
// the canvas keeps the old one. (A canvas without a display takes no
// background fills; the application's tests draw backgrounds on a display.)
TEST_F(FlashWidgetDrawTest, TwoInvalidatedAreasAreRepaintedAsTheirUnion)
{
    for (bool background : {false, true}) {
        FlashScript script;
        script.endTime = 10'000;
        script.colour = kOld;
        script.steps = {
            FlashScriptStep::Paint(100, kNew),
            FlashScriptStep::Invalidate(100, {2, 3, 12, 13}),
            FlashScriptStep::Invalidate(100, {20, 15, 30, 25}),
        };
        book->Register(background ? L"b.swf" : L"a.swf", script);
        // Placed away from the origin: the areas come back in the parent's
        // coordinates and are moved back onto the canvas.
        FlashWidget& widget = Make(5, 7, 40, 30);
        if (background)
            widget.backgroundColor = Color(kBackground);
        ASSERT_TRUE(widget.StartMovie(background ? "b.swf" : "a.swf"));
        widget.Update();
        EXPECT_TRUE(widget.dirty) << "the canvas must be repainted, so the widget is marked dirty";
        DrawWidget(widget);
        ExpectSplit(Rect(0, 0, 40, 30), kOld, kOld, "first draw");
        EXPECT_FALSE(widget.canvasDirty);

        Advance(100);
        widget.Update();
        EXPECT_TRUE(widget.canvasDirty);
        EXPECT_EQ(widget.dirtyRect, Rect(7, 10, 28, 22));
        Calls();
        DrawWidget(widget);
        EXPECT_EQ(Calls(), Strings{"Draw 2,3,30,25"});
        ExpectSplit(Rect(2, 3, 28, 22), kNew, kOld, background ? "with a background" : "union");
    }
}

TEST_F(FlashWidgetDrawTest, AWholeRepaintShowsTheControlOverTheBackground)
{
    FlashScript script;
    script.endTime = 10'000;
    script.colour = kOld;
    script.steps = {FlashScriptStep::Paint(100, kNew), FlashScriptStep::InvalidateAll(100)};
    book->Register(L"m.swf", script);
    FlashWidget& widget = Make(0, 0, 16, 8);
    widget.backgroundColor = Color(kBackground);
    ASSERT_TRUE(widget.StartMovie("m.swf"));
    DrawWidget(widget);
    Advance(100);
    widget.Update();
    DrawWidget(widget);
    ExpectSplit(Rect(0, 0, 16, 8), kNew, kNew, "whole repaint");

    widget.SysColorChanged();
    EXPECT_TRUE(widget.canvasDirty);
    EXPECT_EQ(widget.dirtyRect, Rect(0, 0, 16, 8));
}

TEST_F(FlashWidgetDrawTest, AreasOfAnySizeAreCutToTheCanvas)
{
    FlashWidget& widget = Make(0, 0, 8, 8);
    Platform::FlashRect huge{-2'000'000'000, -2'000'000'000, 2'000'000'000, 2'000'000'000};
    widget.site.InvalidateRect(&huge);
    Platform::FlashRect inverted{50, 50, 10, 10};
    widget.site.InvalidateRect(&inverted);
    Calls();
    DrawWidget(widget);
    EXPECT_EQ(Calls(), Strings{"Draw 0,0,8,8"});
}

TEST_F(FlashWidgetDrawTest, TheSiteAnswersTheWidgetRectangle)
{
    FlashWidget& widget = Make(100, 50, 200, 100);
    EXPECT_EQ(widget.site.GetWindowContext(), (Platform::FlashRect{100, 50, 300, 150}));
    Platform::FlashRect area{110, 60, 120, 70};
    widget.canvasDirty = false;
    widget.site.InvalidateRect(&area);
    EXPECT_EQ(widget.dirtyRect, Rect(110, 60, 10, 10)) << "a first area replaces the old rectangle";
    widget.site.InvalidateRgn();
    EXPECT_EQ(widget.dirtyRect, Rect(100, 50, 200, 100));
    widget.canvasDirty = false;
    widget.site.InvalidateRect(nullptr);
    EXPECT_TRUE(widget.canvasDirty);
    EXPECT_EQ(widget.dirtyRect, Rect(100, 50, 200, 100));
}

TEST_F(FlashWidgetDrawTest, ResizeMakesAnOpaqueCanvasAndTellsTheControl)
{
    FlashWidget& widget = Make(0, 0, 10, 10, false);
    EXPECT_EQ(book->Take().back(), "SetObjectRects 0,0,10,10 0,0,10,10");
    widget.Resize(100, 50, 200, 100);
    EXPECT_EQ(book->Take(), Strings{"SetObjectRects 100,50,300,150 100,50,300,150"});
    ASSERT_NE(widget.canvas, nullptr);
    EXPECT_EQ(widget.canvas->mWidth, 200);
    EXPECT_EQ(widget.canvas->mHeight, 100);
    EXPECT_EQ(widget.dirtyRect, Rect(100, 50, 200, 100));
    EXPECT_TRUE(widget.canvasDirty);
}

TEST_F(FlashWidgetDrawTest, AWidgetNeverSizedDrawsNothing)
{
    widgets.push_back(std::make_unique<FlashWidget>(&listener));
    screen.Create(4, 4);
    std::memset(screen.GetBits(), 0x5A, sizeof(uint32_t) * 16);
    screen.MarkBitsChanged();
    Graphics g(&screen);
    widgets.back()->Draw(&g);
    EXPECT_EQ(screen.GetPixel(1, 1), 0x5A5A5A5Au);
}

uint32_t Packed(int x, int y)
{
    return (static_cast<uint32_t>(y) & 0xFFFFu) << 16 | (static_cast<uint32_t>(x) & 0xFFFFu);
}

std::string Message(uint32_t message, uint32_t wParam, int x, int y)
{
    char text[64];
    std::snprintf(text, sizeof text, "Message 0x%X %u 0x%08X", message, wParam, Packed(x, y));
    return text;
}

TEST_F(FlashWidgetDrawTest, TheLeftButtonAndMovesReachTheControlInAbsoluteCoordinates)
{
    book->Register(L"m.swf", FlashScript{{}, 10'000});
    FlashWidget& widget = Make(100, 50, 200, 100);
    ASSERT_TRUE(widget.StartMovie("m.swf"));
    Calls();
    const struct {
        const char* what;
        std::function<void()> act;
        Strings calls;
    } steps[] = {
        {"enter and move", [&] { manager.MouseMove(110, 60); }, {Message(0x200, 0, 110, 60)}},
        {"left press", [&] { manager.MouseDown(110, 60, 1); }, {Message(0x201, 1, 110, 60)}},
        {"drag", [&] { manager.MouseMove(150, 90); }, {Message(0x200, 1, 150, 90)}},
        {"release", [&] { manager.MouseUp(150, 90, 1); }, {Message(0x202, 0, 150, 90)}},
        {"right press", [&] { manager.MouseDown(150, 90, -1); }, {}},
        {"right drag", [&] { manager.MouseMove(151, 90); }, {}},
        {"right release", [&] { manager.MouseUp(151, 90, -1); }, {}},
        {"middle press", [&] { manager.MouseDown(151, 90, 3); }, {}},
        {"middle release", [&] { manager.MouseUp(151, 90, 3); }, {}},
        // The widget's own move to (-1, -1), just off its top-left corner.
        {"leave", [&] { manager.MouseMove(500, 500); }, {Message(0x200, 0, 99, 49)}},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(Calls(), step.calls) << step.what;
    }
}

TEST_F(FlashWidgetDrawTest, NegativePositionsArePackedAsSixteenBitValues)
{
    book->Register(L"m.swf", FlashScript{{}, 10'000});
    FlashWidget& widget = Make(0, 0, 50, 50, false);
    Calls();
    widget.MouseMove(-3, 70000);
    EXPECT_EQ(Calls(), Strings{"Message 0x200 0 0x1170FFFD"});
}

TEST_F(FlashWidgetDrawTest, TheControlsCursorBecomesTheOverrideCursor)
{
    Platform::CursorService& cursors = Platform::GetPlatform().GetCursors();
    const Platform::CursorHandle beam = cursors.LoadSystemCursor(Platform::IDC_IBEAM);
    const Platform::CursorHandle arrow = cursors.LoadSystemCursor(Platform::IDC_ARROW);
    FlashScript script;
    script.endTime = 10'000;
    script.steps = {
        FlashScriptStep::SetCursor(0, beam),
        FlashScriptStep::SetCursor(100, arrow),
        FlashScriptStep::SetCursor(200, beam),
        FlashScriptStep::SetCursor(300, nullptr),
    };
    book->Register(L"m.swf", script);
    FlashWidget& widget = Make(0, 0, 100, 100);
    ASSERT_TRUE(widget.StartMovie("m.swf"));
    host.cursorCalls.clear();
    const struct {
        const char* what;
        std::function<void()> act;
        bool controlCursor;
        Strings cursorCalls;
    } steps[] = {
        {"a text cursor", [&] { manager.MouseMove(10, 10); }, true, {"override set", "apply"}},
        {"the arrow", [&] { Advance(100); manager.MouseMove(11, 10); }, false, {"override clear", "apply"}},
        {"a text cursor again on a press", [&] { Advance(100); manager.MouseDown(11, 10, 1); }, true,
         {"override set", "apply"}},
        {"no cursor on the release", [&] { Advance(100); manager.MouseUp(11, 10, 1); }, false,
         {"override clear", "apply"}},
        {"leave", [&] { manager.MouseMove(500, 500); }, false, {"override clear", "apply"}},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(widget.usesControlCursor, step.controlCursor) << step.what;
        EXPECT_EQ(host.overrideCursor, step.controlCursor ? beam : nullptr) << step.what;
        EXPECT_EQ(host.cursorCalls, step.cursorCalls) << step.what << ": the cursor number stays";
        host.cursorCalls.clear();
    }
}

} // namespace
