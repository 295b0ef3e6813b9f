// The pause overlay inside the application's widget manager: its fade, the
// click that closes an overlay opened by focus loss, and its drawing.
#include "game/shell/PauseWidget.h"

#include "ShellAppFixture.h"
#include "game/shell/GlobalResources.h"
#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "tests/graphics/context/FakeFont.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Tandry::Color;
using Tandry::PauseWidget;

// The board under the overlay, counting what reaches it.
class Board : public Tandry::Widget {
public:
    void MouseDown(int, int, int, int) override { ++clicks; }
    int clicks = 0;
};

// The levels after each update from level towards target, worked out from
// the fade rule: 0.08 per update, snapping when closer.
std::vector<float> FadeLevels(float level, float target)
{
    std::vector<float> levels;
    while (level != target) {
        if (std::fabs(level - target) < 0.08f)
            level = target;
        else
            level += target > level ? 0.08f : -0.08f;
        levels.push_back(level);
    }
    return levels;
}

class PauseWidgetTest : public ShellTest::ShellAppFixture {
protected:
    void SetUp() override
    {
        ShellAppFixture::SetUp();
        board.Resize(0, 0, 1024, 768);
        Manager().AddWidget(&board);
        // As a play board builds it: sized to the board, hidden.
        pause.Resize(0, 0, 1024, 768);
        pause.SetVisible(false);
        board.AddWidget(&pause);
    }
    void TearDown() override
    {
        board.RemoveWidget(&pause);
        Manager().RemoveWidget(&board);
        ShellAppFixture::TearDown();
    }

    Board board;
    PauseWidget pause;
};

TEST_F(PauseWidgetTest, FadesInAndOutByAFixedStepStayingVisibleWhileItMoves)
{
    EXPECT_EQ(pause.zOrder, 5);
    pause.SetShown(true, false);
    const std::vector<float> in = FadeLevels(0.0f, 1.0f);
    ASSERT_EQ(in.size(), 13u);
    for (const float expected : in) {
        RunUpdate();
        EXPECT_FLOAT_EQ(pause.level, expected);
        EXPECT_TRUE(pause.visible);
    }
    EXPECT_EQ(pause.level, 1.0f);

    pause.SetShown(false, false);
    const std::vector<float> out = FadeLevels(1.0f, 0.0f);
    for (size_t i = 0; i < out.size(); ++i) {
        RunUpdate();
        EXPECT_FLOAT_EQ(pause.level, out[i]) << i;
        EXPECT_EQ(pause.visible, i + 1 < out.size()) << "hidden on the update that snaps to 0";
    }
    EXPECT_EQ(pause.level, 0.0f);
    RunUpdate();
    EXPECT_FALSE(pause.visible);
}

TEST_F(PauseWidgetTest, APauseShownByThePlayerIgnoresClicks)
{
    pause.SetShown(true, false);
    for (int i = 0; i < 13; ++i)
        RunUpdate();
    Click(500, 400);
    Click(10, 10, Platform::MouseButton::Right);
    RunUpdate();
    EXPECT_TRUE(pause.shown);
    EXPECT_TRUE(pause.mouseVisible);
    EXPECT_EQ(pause.level, 1.0f);
    EXPECT_EQ(board.clicks, 0) << "the overlay takes the clicks";
}

TEST_F(PauseWidgetTest, AfterFocusLossTheFirstClickClosesItAndTheNextReachesTheBoard)
{
    // The pause step while the application is inactive, then again once the
    // focus is back and the board is no longer paused.
    pause.SetShown(true, true);
    for (int i = 0; i < 13; ++i)
        RunUpdate();
    pause.SetShown(false, false);
    EXPECT_TRUE(pause.mouseVisible) << "still there for the first click";

    Click(500, 400);
    RunUpdate();
    EXPECT_FALSE(pause.openedByFocusLoss);
    EXPECT_FALSE(pause.shown);
    EXPECT_FALSE(pause.mouseVisible);
    EXPECT_EQ(board.clicks, 0);

    Click(500, 400);
    RunUpdate();
    EXPECT_EQ(board.clicks, 1);
}

TEST(PauseWidgetDraw, FillsBlackByLevelAndHalosTheCentredText)
{
    Tandry::ResetGlobalResources();
    Tandry::FakeFont font;
    Tandry::FONT_CORBEL = &font;
    PauseWidget pause;
    pause.text = L"Pause";
    pause.Resize(0, 0, 200, 100);

    struct Case {
        float level;
        int fillAlpha;
        int textAlpha;
    };
    for (const Case& c : {Case{1.0f, 153, 255}, Case{0.5f, 76, 127}}) {
        SCOPED_TRACE(c.level);
        font.draws.clear();
        Tandry::MemoryImage drawn;
        Tandry::MemoryImage reference;
        for (Tandry::MemoryImage* image : {&drawn, &reference}) {
            image->Create(200, 100);
            std::fill_n(image->GetBits(), 200 * 100, 0xFF80C0FFu);
        }
        pause.level = c.level;
        Tandry::Graphics g(&drawn);
        pause.Draw(&g);

        Tandry::Graphics expected(&reference);
        expected.SetColor(Color(0, 0, 0, c.fillAlpha));
        expected.FillRect(0, 0, 200, 100);
        EXPECT_TRUE(std::equal(drawn.GetBits(), drawn.GetBits() + 200 * 100, reference.GetBits()));

        // Text 50 wide, ascent 8: x = (200 - 50) / 2, y = 100 / 2 - 8.
        const struct {
            int x;
            int y;
            Color color;
        } texts[] = {
            {74, 41, Color(0, 0, 0, c.textAlpha)},       {74, 43, Color(0, 0, 0, c.textAlpha)},
            {76, 41, Color(0, 0, 0, c.textAlpha)},       {76, 43, Color(0, 0, 0, c.textAlpha)},
            {75, 42, Color(255, 255, 255, c.textAlpha)},
        };
        ASSERT_EQ(font.draws.size(), std::size(texts));
        for (size_t i = 0; i < std::size(texts); ++i) {
            EXPECT_EQ(font.draws[i].text, L"Pause");
            EXPECT_EQ(font.draws[i].x, texts[i].x) << i;
            EXPECT_EQ(font.draws[i].y, texts[i].y) << i;
            EXPECT_EQ(font.draws[i].color, texts[i].color) << i;
        }
    }
    Tandry::ResetGlobalResources();
}

} // namespace
