// The board switch on the game object, as the calls the fake boards see: the
// first board, a board loaded at once behind a transition, a board loaded on
// the loading thread behind the loading screen, the focus with a dialog open,
// and switches asked for while one is in progress.
#include "game/shell/BoardTransformer.h"
#include "game/shell/GameBase.h"
#include "game/shell/GuiLayout.h"
#include "game/shell/GameAppFixture.h"
#include "game/shell/LoadingScreen.h"
#include "game/shell/MusicPlaylist.h"
#include "platform/fs/ScratchFolder.h"
#include "widgets/WidgetManager.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ShellTest::FakeBoard;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Looks at the old board from later in the update pass in which the
// transition ends: it lies above every other widget.
class Probe : public Tandry::Widget {
public:
    explicit Probe(const bool& watched) : mWatched(watched) { zOrder = 100000; }
    void Update() override
    {
        Widget::Update();
        seen.push_back(mWatched);
    }
    std::vector<bool> seen;

private:
    const bool& mWatched;
};

// A play board whose loading tasks are its layout's pictures.
class LayoutBoard : public Tandry::GameBase {
public:
    LayoutBoard() : GameBase(false, "level") { layout = new Tandry::GuiLayout("data/gui/t/", false); }
    ~LayoutBoard() override { delete layout; }
    void BuildInterface() override {}
    void OnLevelLeft() override {}
    void OnShown() override { shown = true; }
    bool shown = false;
};

class GameAppSwitchTest : public ShellTest::GameAppFixture {
protected:
    // A first board of the game, switched to, with its calls dropped.
    FakeBoard* StartWith(const std::string& name)
    {
        auto* board = new FakeBoard(name, calls);
        app->SwitchBoard(board);
        calls.Take();
        return board;
    }
    // The playlist the switch tells the new board's music key; owned by the game.
    Tandry::MusicPlaylist* GivePlaylist()
    {
        // In place of the one the start-up made.
        delete app->mMusicPlaylist;
        app->mMusicPlaylist = new Tandry::MusicPlaylist();
        return app->mMusicPlaylist;
    }
    // A switch from a first board to one with three loading tasks, which the
    // loading thread finishes loadSeconds after the loading screen went up;
    // the board is shown after more than earliest, and at most latest, seconds.
    void CheckLoadingSwitch(double loadSeconds, double earliest, double latest)
    {
        StartWith("A");
        auto* b = new FakeBoard("B", calls, true, 3);
        b->gateOpen = false;

        app->SwitchBoard(b);

        EXPECT_THAT(calls.Take(), ElementsAre("B Init"));
        ASSERT_NE(app->mTransformer, nullptr);
        EXPECT_EQ(app->mTransformer->toBoard, nullptr);
        EXPECT_FALSE(InTree(b));

        RunUpdate();
        ASSERT_NE(app->mLoadingScreen, nullptr);
        EXPECT_TRUE(InTree(app->mLoadingScreen));
        EXPECT_EQ(app->mCurrentBoard, b);
        EXPECT_EQ(app->mLoadingTasksTotal, 3);
        const int64_t start = app->mLoadingScreen->GetStartCount();
        ASSERT_TRUE(RunUpdatesUntil([&] { return Seconds(Counter() - start) >= loadSeconds; }, 1000));
        EXPECT_EQ(b->shownUpdate, -1);

        FinishLoadingNow(*b);
        ASSERT_TRUE(RunUpdatesUntil([&] { return b->shownUpdate >= 0; }, 1000));

        EXPECT_TRUE(b->loadedOnOtherThread);
        EXPECT_EQ(app->mLoadingTasksDone, 3);
        EXPECT_EQ(app->mLoadingScreen, nullptr);
        const double shownAfter = Seconds(b->shownCounter - start);
        EXPECT_GT(shownAfter, earliest);
        EXPECT_LE(shownAfter, latest);
        lastShownUpdate = b->shownUpdate;
        std::vector<std::string> log = calls.Take();
        // The loading thread's entry may come before or after the old board's end.
        std::erase(log, "B LoadResources");
        EXPECT_THAT(log, ElementsAre("A OnRemoved", "A removed", "A deleted", "B FinishLoading", "B added",
                                     "B focus", "B OnShown"));
        EXPECT_TRUE(InTree(b));
        EXPECT_EQ(Manager().focusWidget, b);
    }
    static int64_t Counter() { return Platform::GetPlatform().GetClock().QueryPerformanceCounter(); }

    int lastShownUpdate = -1;
    bool InTree(Tandry::Widget* widget) { return Manager().HasWidget(widget); }
    static double Seconds(int64_t counter)
    {
        return static_cast<double>(counter) /
               static_cast<double>(Platform::GetPlatform().GetClock().QueryPerformanceFrequency());
    }
};

TEST_F(GameAppSwitchTest, TheFirstBoardIsShownWithoutTransitionOnShownOrMusic)
{
    Tandry::MusicPlaylist* playlist = GivePlaylist();
    auto* board = new FakeBoard("A", calls);
    board->musicKey = "menu";

    app->SwitchBoard(board);

    EXPECT_THAT(calls.Take(), ElementsAre("A Init", "A LoadResources", "A FinishLoading", "A added", "A focus"));
    EXPECT_EQ(app->mTransformer, nullptr);
    EXPECT_EQ(app->mCurrentBoard, board);
    EXPECT_EQ(app->mNextBoard, board);
    EXPECT_EQ(board->GetRect(), Tandry::Rect(0, 0, 1024, 768));
    EXPECT_TRUE(board->loaded);
    EXPECT_EQ(playlist->GetCurrentKey(), "");
    RunUpdate();
    EXPECT_THAT(calls.Take(), IsEmpty());
    EXPECT_EQ(playlist->GetCurrentKey(), "");
}

TEST_F(GameAppSwitchTest, ABoardLoadedAtOnceTakesOverWhenTheTransitionEnds)
{
    FakeBoard* a = StartWith("A");
    bool aAlive = true;
    a->alive = &aAlive;
    Tandry::MusicPlaylist* playlist = GivePlaylist();
    auto* b = new FakeBoard("B", calls);
    b->musicKey = "menu";
    auto* probe = new Probe(aAlive);
    Manager().AddWidget(probe);

    app->SwitchBoard(b);

    EXPECT_THAT(calls.Take(), ElementsAre("B Init", "B LoadResources", "B FinishLoading", "B added"));
    ASSERT_NE(app->mTransformer, nullptr);
    EXPECT_EQ(app->mTransformer->fromBoard, a);
    EXPECT_EQ(app->mTransformer->toBoard, b);
    EXPECT_TRUE(InTree(app->mTransformer));
    EXPECT_FALSE(a->visible);
    EXPECT_FALSE(b->visible);
    EXPECT_EQ(app->mCurrentBoard, a);
    EXPECT_EQ(app->mNextBoard, b);

    probe->seen.clear();
    RunUpdate();

    // The old board leaves in the pass, is still alive later in it, and is
    // deleted once the pass is over.
    EXPECT_THAT(calls.Take(), ElementsAre("A OnRemoved", "A removed", "B OnShown", "B focus", "A deleted"));
    EXPECT_THAT(probe->seen, ElementsAre(true));
    EXPECT_FALSE(aAlive);
    EXPECT_EQ(app->mTransformer, nullptr);
    EXPECT_EQ(app->mCurrentBoard, b);
    EXPECT_EQ(app->mNextBoard, b);
    EXPECT_TRUE(b->visible);
    EXPECT_EQ(Manager().focusWidget, b);
    EXPECT_EQ(playlist->GetCurrentKey(), "menu");
    Manager().RemoveWidget(probe);
    delete probe;
}

TEST_F(GameAppSwitchTest, AQuickLoadStillShowsTheLoadingScreenForALittleOverTwoSeconds)
{
    // One update is 10 ms.
    CheckLoadingSwitch(0.3, 2.0, 2.011);
}

TEST_F(GameAppSwitchTest, ALongLoadEndsAtTheFirstUpdateAfterTheThreadsEnd)
{
    CheckLoadingSwitch(3.0, 3.0, 3.021);
    EXPECT_EQ(lastShownUpdate, app->loadingDoneUpdate + 1);
}

TEST_F(GameAppSwitchTest, TheFirstBoardCanComeBehindTheLoadingScreen)
{
    auto* board = new FakeBoard("A", calls, true, 2);
    board->gateOpen = false;
    app->SwitchBoard(board);
    EXPECT_EQ(app->mTransformer, nullptr);
    ASSERT_NE(app->mLoadingScreen, nullptr);
    EXPECT_FALSE(InTree(board));
    FinishLoadingNow(*board);
    ASSERT_TRUE(RunUpdatesUntil([&] { return board->shownUpdate >= 0; }, 2000));
    EXPECT_TRUE(InTree(board));
    EXPECT_EQ(app->mLoadingTasksDone, 2);
}

TEST_F(GameAppSwitchTest, APlayBoardCountsEachLayoutPictureOnTheLoadingThread)
{
    StartWith("A");
    TestSupport::WriteFile(std::filesystem::path(ProgramFolder()) / "data/gui/t/layers.ini",
                           "[l]\na=0 0\nb=0 0\nc=0 0\n");
    auto* board = new LayoutBoard();
    app->SwitchBoard(board);
    EXPECT_TRUE(board->wantsLoadingScreen);
    RunUpdate();
    EXPECT_EQ(app->mLoadingTasksTotal, 3);
    WaitForLoadingThreadEnd();
    ASSERT_TRUE(RunUpdatesUntil([&] { return board->shown; }, 1000));
    EXPECT_EQ(app->mLoadingTasksDone, 3);
    EXPECT_EQ(board->layout->PendingImageCount(), 0);
}

TEST_F(GameAppSwitchTest, AnOpenDialogKeepsTheFocus)
{
    StartWith("A");
    auto* dialog = new AppTest::LoggedDialog(4, false);
    app->AddDialog(dialog);
    Manager().SetFocus(dialog);
    ASSERT_EQ(Manager().focusWidget, dialog);

    app->SwitchBoard(new FakeBoard("B", calls));
    RunUpdate();

    EXPECT_THAT(calls.Take(), ElementsAre("B Init", "B LoadResources", "B FinishLoading", "B added", "A OnRemoved",
                                          "A removed", "B OnShown", "A deleted"));
    EXPECT_EQ(Manager().focusWidget, dialog);
}

TEST_F(GameAppSwitchTest, ASwitchAskedForDuringATransitionWaitsAndALaterOneReplacesIt)
{
    FakeBoard* a = StartWith("A");
    auto* b = new FakeBoard("B", calls);
    app->SwitchBoard(b);
    calls.Take();

    app->SwitchBoard(new FakeBoard("C", calls));
    auto* d = new FakeBoard("D", calls);
    app->SwitchBoard(d);

    // C is dropped unseen; neither touches the switch in progress.
    EXPECT_THAT(calls.Take(), ElementsAre("C deleted"));
    EXPECT_EQ(app->mCurrentBoard, a);
    EXPECT_EQ(app->mNextBoard, b);

    RunUpdate();
    EXPECT_THAT(calls.Take(), ElementsAre("A OnRemoved", "A removed", "B OnShown", "B focus", "D Init",
                                          "D LoadResources", "D FinishLoading", "D added", "A deleted"));
    ASSERT_NE(app->mTransformer, nullptr);
    EXPECT_EQ(app->mTransformer->fromBoard, b);
    EXPECT_EQ(app->mTransformer->toBoard, d);

    RunUpdate();
    EXPECT_THAT(calls.Take(), ElementsAre("B OnRemoved", "B removed", "D OnShown", "D focus", "B deleted"));
    EXPECT_EQ(app->mCurrentBoard, d);
}

TEST_F(GameAppSwitchTest, ASwitchAskedForWhileLoadingWaitsForTheHandOver)
{
    StartWith("A");
    auto* b = new FakeBoard("B", calls, true, 2);
    b->gateOpen = false;
    app->SwitchBoard(b);
    RunUpdate();
    ASSERT_NE(app->mLoadingScreen, nullptr);
    auto* c = new FakeBoard("C", calls);
    app->SwitchBoard(c);
    calls.Take();

    // The board being loaded stays current while the thread works on it.
    for (int i = 0; i < 5; ++i)
        RunUpdate();
    EXPECT_EQ(app->mCurrentBoard, b);
    EXPECT_EQ(app->mHeldBoard, c);
    FinishLoadingNow(*b);
    ASSERT_TRUE(RunUpdatesUntil([&] { return b->shownUpdate >= 0; }, 2000));
    std::vector<std::string> log = calls.Take();
    std::erase(log, "B LoadResources");
    EXPECT_THAT(log, ElementsAre("B FinishLoading", "B added", "B focus", "B OnShown", "C Init", "C LoadResources",
                                 "C FinishLoading", "C added"));
    ASSERT_NE(app->mTransformer, nullptr);
    EXPECT_EQ(app->mTransformer->fromBoard, b);
    RunUpdate();
    EXPECT_EQ(app->mCurrentBoard, c);
}

TEST_F(GameAppSwitchTest, TheGameObjectDeletesBoardsMidSwitchAndAHeldOne)
{
    StartWith("A");
    auto* b = new FakeBoard("B", calls, true, 1);
    b->gateOpen = false;
    app->SwitchBoard(b);
    RunUpdate();
    ASSERT_NE(app->mLoadingScreen, nullptr);
    app->SwitchBoard(new FakeBoard("C", calls));
    calls.Take();

    // The game object waits for the thread before it deletes the board.
    b->gateOpen = true;
    app.reset();

    std::vector<std::string> log = calls.Take();
    std::erase(log, "B LoadResources");
    EXPECT_THAT(log, ElementsAre("B OnRemoved", "B deleted", "C deleted"));
}

} // namespace
