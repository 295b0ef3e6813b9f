// The board's update on the headless clock: the frame time averaged over the
// last twenty updates, the 30-second clamp, and processes that run only
// while the board is active.
#include "game/shell/BaseBoard.h"
#include "game/shell/FrameTimer.h"
#include "game/shell/Process.h"
#include "game/shell/ProcessList.h"
#include "ShellAppFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class RecordingBoard : public Tandry::BaseBoard {
public:
    RecordingBoard() : BaseBoard(false) {}
    void UpdateBoard(float dt) override { steps.push_back(dt); }
    void OnLoaded() override { ++loadedCalls; }

    std::vector<float> steps;
    int loadedCalls = 0;
};

class CountingProcess : public Process {
public:
    explicit CountingProcess(int* ticks) : mTicks(ticks) {}
    bool Tick(float /*dt*/, float /*elapsed*/) override
    {
        ++*mTicks;
        return true;
    }

private:
    int* mTicks;
};

class BaseBoardTest : public ShellTest::ShellAppFixture {
protected:
    void TearDown() override
    {
        Tandry::ResetFrameTimer();
        ShellAppFixture::TearDown();
    }

    void Step(uint32_t milliseconds)
    {
        platform->Clock().Advance(milliseconds);
        board.Update();
    }

    RecordingBoard board;
};

TEST_F(BaseBoardTest, FrameTimeIsTheAverageOfTheFillValueAndTheLastTwentySteps)
{
    board.FinishLoading();
    EXPECT_TRUE(board.loaded);
    EXPECT_EQ(board.loadedCalls, 1);
    for (int i = 0; i < 25; ++i)
        Step(10);
    ASSERT_EQ(board.steps.size(), 25u);
    // After n steps of 0.01 the history holds the fill 0.03 and n steps,
    // until the twentieth step pushes the fill out.
    for (int n = 1; n <= 25; ++n) {
        const double expected = n < 20 ? (0.03 + 0.01 * n) / (n + 1) : 0.01;
        EXPECT_NEAR(board.steps[n - 1], expected, 1e-6) << "step " << n;
    }
    EXPECT_NEAR(board.steps[0], 0.02, 1e-6);
}

TEST_F(BaseBoardTest, AStepOfAHundredSecondsCountsAsThirty)
{
    board.FinishLoading();
    Step(100000);
    const std::deque<float>& history = Tandry::GetFrameTimer().History();
    ASSERT_EQ(history.size(), 2u);
    EXPECT_FLOAT_EQ(history.back(), 30.0f);
    EXPECT_NEAR(board.steps[0], (0.03 + 30.0) / 2, 1e-5);
}

TEST_F(BaseBoardTest, AnUpdateBeforeAnyLoadingGivesASaneStep)
{
    Step(10);
    ASSERT_EQ(board.steps.size(), 1u);
    EXPECT_GE(board.steps[0], 0.0f);
    EXPECT_LT(board.steps[0], 0.1f);
}

TEST_F(BaseBoardTest, AnInactiveBoardUpdatesItselfButRunsNoProcess)
{
    int ticks = 0;
    Tandry::AddProcess(new CountingProcess(&ticks));
    board.FinishLoading();
    Step(10);
    EXPECT_EQ(ticks, 1);
    board.active = false;
    Step(10);
    Step(10);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(board.steps.size(), 3u);
}

} // namespace
