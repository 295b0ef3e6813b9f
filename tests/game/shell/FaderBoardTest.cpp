// The black fader in the application's widget manager: its two halves of
// 0.4 seconds of updates, the calls at their ends, its drawing, and the
// mouse it never takes.
#include "game/shell/FaderBoard.h"

#include "ShellAppFixture.h"
#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Tandry::BoundCall;
using Tandry::FaderBoard;

struct Board {
    void Covered()
    {
        coveredAt.push_back(update);
        alphaAtCovered = fader->alpha;
    }
    void Uncovered()
    {
        uncoveredAt.push_back(update);
        alphaAtUncovered = fader->alpha;
        stateAtUncovered = fader->state;
    }
    FaderBoard* fader = nullptr;
    int update = 0;
    std::vector<int> coveredAt;
    std::vector<int> uncoveredAt;
    int alphaAtCovered = -1;
    int alphaAtUncovered = -1;
    int stateAtUncovered = -1;
};

// The alpha of update n of a half, from the curve: time sums 0.01 per update
// in float; darkening follows the sine, brightening the cosine.
int ModelAlpha(int n, bool darkening)
{
    float time = 0.0f;
    for (int i = 0; i < n; ++i)
        time += 0.01f;
    const double angle = 3.14159265358979323846 / 2.0 * static_cast<double>(time) / 0.4;
    return std::clamp(static_cast<int>(255.0 * (darkening ? std::sin(angle) : std::cos(angle))), 0, 255);
}

class FaderBoardTest : public ShellTest::ShellAppFixture {
protected:
    void SetUp() override
    {
        ShellAppFixture::SetUp();
        fader.Resize(0, 0, 1024, 768);
        fader.zOrder = 80;
        Manager().AddWidget(&fader);
        board.fader = &fader;
    }
    void TearDown() override
    {
        Manager().RemoveWidget(&fader);
        ShellAppFixture::TearDown();
    }

    // What starting a fade does.
    void Start()
    {
        fader.coveredCall = BoundCall<void()>(&board, &Board::Covered);
        fader.uncoveredCall = BoundCall<void()>(&board, &Board::Uncovered);
        fader.time = 0.0f;
        fader.alpha = 0;
        fader.state = FaderBoard::kDarkening;
    }

    FaderBoard fader;
    Board board;
};

TEST_F(FaderBoardTest, DarkensThenCallsTheBoardWhileBlackThenBrightensAgain)
{
    Start();
    std::vector<int> alphas;
    for (board.update = 1; board.update <= 100; ++board.update) {
        RunUpdate();
        alphas.push_back(fader.alpha);
    }
    EXPECT_EQ(std::vector<int>(alphas.begin(), alphas.begin() + 3), (std::vector<int>{10, 20, 29}));
    for (int n = 1; n <= 40; ++n) {
        EXPECT_EQ(alphas[n - 1], ModelAlpha(n, true)) << "darkening update " << n;
        EXPECT_EQ(alphas[41 + n - 1], ModelAlpha(n, false)) << "brightening update " << n;
    }
    EXPECT_LT(alphas[39], 255);
    EXPECT_EQ(board.coveredAt, std::vector<int>{41});
    EXPECT_EQ(board.alphaAtCovered, 255);
    EXPECT_EQ(board.uncoveredAt, std::vector<int>{82});
    EXPECT_EQ(board.alphaAtUncovered, 0);
    EXPECT_EQ(board.stateAtUncovered, FaderBoard::kIdle);
    EXPECT_EQ(alphas[81], 0);
    EXPECT_EQ(std::count(alphas.begin() + 81, alphas.end(), 0), 100 - 81);
}

TEST_F(FaderBoardTest, AFadeWithoutCallsRunsToIdle)
{
    fader.state = FaderBoard::kDarkening;
    for (int i = 0; i < 82; ++i)
        RunUpdate();
    EXPECT_EQ(fader.state, FaderBoard::kIdle);
    EXPECT_EQ(fader.alpha, 0);
}

// A widget under the fader that counts the clicks that reach it.
class Target : public Tandry::Widget {
public:
    void MouseDown(int, int, int, int) override { ++clicks; }
    int clicks = 0;
};

TEST_F(FaderBoardTest, NeverTakesTheMouseEvenWhenBlack)
{
    Target below;
    below.Resize(100, 100, 200, 200);
    Manager().AddWidget(&below);
    Start();
    for (int i = 0; i < 41; ++i)
        RunUpdate();
    ASSERT_EQ(fader.alpha, 255);
    int localX = 0;
    int localY = 0;
    EXPECT_EQ(Manager().GetWidgetAt(150, 150, &localX, &localY), &below);
    EXPECT_EQ(Manager().GetWidgetAt(600, 600, &localX, &localY), nullptr);
    Click(150, 150);
    RunUpdate();
    EXPECT_EQ(below.clicks, 1);
    Manager().RemoveWidget(&below);
}

TEST(FaderBoardDraw, FillsWithBlackOfItsAlphaAndNothingAtZero)
{
    FaderBoard fader;
    fader.Resize(0, 0, 1024, 768);
    for (int alpha : {0, 128, 255}) {
        SCOPED_TRACE(alpha);
        Tandry::MemoryImage drawn;
        Tandry::MemoryImage direct;
        for (Tandry::MemoryImage* image : {&drawn, &direct}) {
            image->Create(1024, 768);
            uint32_t* bits = image->GetBits();
            for (int i = 0; i < 1024 * 768; ++i)
                bits[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
            image->MarkBitsChanged();
        }
        const std::vector<uint32_t> before(drawn.GetBits(), drawn.GetBits() + 1024 * 768);
        fader.alpha = alpha;
        Tandry::Graphics g(&drawn);
        fader.Draw(&g);
        if (alpha == 0) {
            EXPECT_TRUE(std::equal(before.begin(), before.end(), drawn.GetBits()));
            continue;
        }
        Tandry::Graphics reference(&direct);
        reference.SetColor(Tandry::Color(0, 0, 0, alpha));
        reference.FillRect(0, 0, 1024, 768);
        EXPECT_TRUE(std::equal(drawn.GetBits(), drawn.GetBits() + 1024 * 768, direct.GetBits()));
        EXPECT_FALSE(std::equal(before.begin(), before.end(), drawn.GetBits()));
    }
}

} // namespace
