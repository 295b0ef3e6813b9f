// A play board on the real widget manager: its pause state and overlay, the
// HUD above a player's pause, the restart through the fader, the end of a
// level, and the fader's place in the manager while the board is in the tree.
#include "game/shell/GameBase.h"

#include "ShellAppFixture.h"
#include "game/shell/FaderBoard.h"
#include "game/shell/GameControllerCommon.h"
#include "game/shell/PauseAware.h"
#include "game/shell/PauseWidget.h"
#include "game/shell/Scenario.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

class RecordingGameBoard : public Tandry::GameBase {
public:
    RecordingGameBoard() : GameBase(false, "level") {}
    void BuildInterface() override { calls.push_back("BuildInterface"); }
    void OnPaused() override { calls.push_back("OnPaused"); }
    void OnUnpaused() override { calls.push_back("OnUnpaused"); }
    void OnStart() override
    {
        calls.push_back("OnStart");
        started = true;
    }
    void OnLevelLeft() override { calls.push_back("OnLevelLeft"); }

    Strings calls;
};

class RecordingPauseAware : public Tandry::PauseAware {
public:
    void SetPauseState(bool paused) override { states.push_back(paused); }
    void ResetTime() override { ++resets; }

    std::vector<bool> states;
    int resets = 0;
};

class GameBaseTest : public ShellTest::ShellAppFixture {
protected:
    void SetUp() override
    {
        ShellAppFixture::SetUp();
        board = new RecordingGameBoard();
        board->Resize(0, 0, 1024, 768);
        // As the switch does: sized, initialised, then added.
        board->Init();
        Manager().AddWidget(board);
    }
    void TearDown() override
    {
        Manager().RemoveWidget(board);
        delete board;
        Tandry::ResetScenario();
        Tandry::ResetGameControllerCommon();
        ShellAppFixture::TearDown();
    }

    // Whether a is drawn below b among the board's children.
    bool Below(const Tandry::Widget* a, const Tandry::Widget* b) const { return board->IsBelow(a, b); }

    RecordingGameBoard* board = nullptr;
};

TEST_F(GameBaseTest, APlayersPauseLeavesTheHudAboveTheOverlayAndAFocusLossCoversIt)
{
    auto* hud = new Tandry::Widget();
    board->AddHudWidget(hud);

    board->SetPaused(true);
    EXPECT_EQ(board->pauseWidget->zOrder, 5);
    EXPECT_EQ(hud->zOrder, 10);
    EXPECT_TRUE(Below(board->pauseWidget, hud));
    EXPECT_TRUE(board->pauseWidget->shown);
    EXPECT_FALSE(board->active);

    board->SetPaused(false);
    board->Pause();
    EXPECT_TRUE(board->paused) << "the focus loss pauses on its own";
    EXPECT_EQ(board->pauseWidget->zOrder, 30);
    EXPECT_EQ(hud->zOrder, 10);
    EXPECT_TRUE(Below(hud, board->pauseWidget));

    board->Resume();
    EXPECT_FALSE(board->paused);
    EXPECT_TRUE(board->active);
    EXPECT_FALSE(board->pauseWidget->shown);
    EXPECT_TRUE(board->pauseWidget->mouseVisible) << "opened by focus loss, the next click still reaches it";
}

TEST_F(GameBaseTest, ThePauseAndResumeButtonsSwapVisibility)
{
    Tandry::Widget pauseButton;
    Tandry::Widget resumeButton;
    board->pauseButton = &pauseButton;
    board->resumeButton = &resumeButton;
    const struct {
        int id;
        bool paused;
    } clicks[] = {{78, true}, {77, false}, {78, true}, {5, true}, {77, false}};
    for (const auto& click : clicks) {
        board->OnButtonClick(click.id);
        EXPECT_EQ(board->paused, click.paused) << "id " << click.id;
        EXPECT_EQ(pauseButton.visible, !click.paused) << "id " << click.id;
        EXPECT_EQ(resumeButton.visible, click.paused) << "id " << click.id;
    }
}

TEST_F(GameBaseTest, LoadingBuildsTheInterfaceAndStartsPlayOnce)
{
    board->FinishLoading();
    EXPECT_EQ(board->calls, (Strings{"BuildInterface", "OnPaused", "OnUnpaused", "OnStart"}));
    EXPECT_FALSE(board->paused);
    board->calls.clear();
    board->FinishLoading();
    EXPECT_EQ(board->calls, Strings{"BuildInterface"});
}

TEST_F(GameBaseTest, RestartFadesOutResetsAndLeavesThenPlaysAgain)
{
    for (bool withPauseAware : {true, false}) {
        SCOPED_TRACE(withPauseAware ? "with a pause-aware object" : "without one");
        RecordingPauseAware aware;
        board->pauseAware = withPauseAware ? &aware : nullptr;
        board->OnButtonClick(81);
        board->calls.clear();
        EXPECT_FALSE(board->playing);
        EXPECT_TRUE(board->paused);
        EXPECT_EQ(board->fader->zOrder, 80);
        EXPECT_EQ(board->children.back(), board->fader) << "the fader is on top of the board";
        EXPECT_EQ(Manager().children.back(), board->fader) << "and of the manager";
        EXPECT_EQ(board->fader->state, Tandry::FaderBoard::kDarkening);

        int updates = 0;
        while (board->calls.empty() && updates < 200) {
            RunUpdate();
            ++updates;
        }
        EXPECT_EQ(board->calls, (Strings{"OnLevelLeft"}));
        EXPECT_EQ(aware.resets, withPauseAware ? 1 : 0);
        EXPECT_FALSE(board->playing) << "still black";
        while (board->fader->state != Tandry::FaderBoard::kIdle && updates < 400) {
            RunUpdate();
            ++updates;
        }
        EXPECT_TRUE(board->playing);
        EXPECT_FALSE(board->paused);
        EXPECT_FALSE(board->levelEnded);
        if (withPauseAware) {
            EXPECT_EQ(aware.states, (std::vector<bool>{true, false}));
        }
        board->pauseAware = nullptr;
    }
}

class TestLevel : public LevelBase {
public:
    explicit TestLevel(std::string levelName) : LevelBase(std::move(levelName)) {}
    void SaveState() override {}
    void LoadState() override {}
};

TEST_F(GameBaseTest, ALevelEndsOnceAndAWinMarksTheCurrentLevelDone)
{
    TestLevel level("cellar");
    Tandry::GetScenario().GetLevelInfo("cellar");
    Tandry::GetGameControllerCommon().SetCurrent(&level, this, {});

    board->LevelWon();
    EXPECT_TRUE(board->levelEnded);
    EXPECT_FALSE(board->playing);
    EXPECT_TRUE(board->paused);
    EXPECT_TRUE(Tandry::GetScenario().FindLevelInfo("cellar")->done);

    board->LevelLeft();
    EXPECT_TRUE(board->calls.empty() || board->calls.back() != "OnLevelLeft");
    Tandry::GetGameControllerCommon().Forget(this);
}

TEST_F(GameBaseTest, AWinWithoutACurrentLevelMarksNothing)
{
    Tandry::GetScenario().GetLevelInfo("cellar");
    board->LevelWon();
    EXPECT_TRUE(board->levelEnded);
    for (const auto& record : Tandry::GetScenario().Records())
        EXPECT_FALSE(record->done) << record->levelName;
}

TEST_F(GameBaseTest, LeavingALevelCallsTheBoardOnce)
{
    board->LevelLeft();
    board->LevelLeft();
    board->LevelWon();
    EXPECT_EQ(board->calls, Strings{"OnLevelLeft"});
    EXPECT_FALSE(board->playing);
}

TEST_F(GameBaseTest, TheFaderIsATopLevelWidgetOnlyWhileTheBoardIsInTheTree)
{
    Tandry::FaderBoard* fader = board->fader;
    EXPECT_TRUE(board->HasWidget(fader));
    EXPECT_TRUE(Manager().HasWidget(fader));
    EXPECT_EQ(fader->parent, board);

    Manager().RemoveWidget(board);
    EXPECT_FALSE(Manager().HasWidget(fader));
    EXPECT_EQ(fader->manager, nullptr);

    Manager().AddWidget(board);
    EXPECT_TRUE(Manager().HasWidget(fader));
    EXPECT_EQ(fader->manager, &Manager());
    // Updates and draws with the fader in both lists.
    board->OnButtonClick(81);
    for (int i = 0; i < 5; ++i)
        RunUpdate();
}

} // namespace
