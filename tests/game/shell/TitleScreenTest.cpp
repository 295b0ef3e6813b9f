// The title screen on fixture data, updated directly with a frame time of
// 0.01 s: the pages of "logo\\logo.ini" in order with their fades, the pages
// that cannot be built dropped, skipping, the caption and the one hand-over
// to the main menu. Movie pages run on the scripted control, the null
// control and the game's movie-file control with movie files in the game
// folder; movie time is the platform clock, advanced 10 ms per update.
#include "GameWidgetFixture.h"
#include "game/shell/BoardRegistry.h"
#include "game/shell/ImgTitlePage.h"
#include "game/shell/ProfileManager.h"
#include "game/shell/SwfTitlePage.h"
#include "game/shell/TitleScreen.h"
#include "platform/flash/FlashControlFactory.h"
#include "platform/flash/NullFlashControl.h"
#include "platform/flash/ScriptedFlashControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Tandry::TitleScreen;

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kBlue = 0xFF0000FFu;

class TitleScreenTest : public GameWidgetTest::GameWidgetFixture {
protected:
    void SetUp() override
    {
        GameWidgetFixture::SetUp();
        Tandry::ResetBoardRegistry();
        Tandry::GetBoardRegistry().mainMenu = [this](bool) -> Tandry::BaseBoard* {
            ++handOvers;
            return nullptr;
        };
        // Pictures a, b and c; no "logo\\missing".
        WritePicture("logo/a.png", GameWidgetTest::SolidPixels(8, 8, kRed));
        WritePicture("logo/b.png", GameWidgetTest::SolidPixels(8, 8, kBlue));
        WritePicture("logo/c.png", GameWidgetTest::SolidPixels(4, 4, 0xFF00FF00u));
    }
    void TearDown() override
    {
        if (screen != nullptr && screen->parent != nullptr)
            screen->parent->RemoveWidget(screen.get());
        screen.reset();
        Tandry::ResetBoardRegistry();
        Tandry::ShutdownProfileManager();
        Tandry::ResetGameFolders();
        Platform::ResetFlashControlFactory();
        GameWidgetFixture::TearDown();
    }

    void WriteLogoIni(const std::string& text) { TestSupport::WriteFile(ProgramFolder() + "/logo/logo.ini", text); }
    void WriteList(const std::string& list, const std::string& fadeTime = "1.0")
    {
        WriteLogoIni("[Game]\nFadeTime=" + fadeTime + "\nShowTime=2.0\nLogoList=" + list + "\n");
    }
    // The screen over the whole window, in place of the one before; in the
    // tree with the focus when added.
    TitleScreen& Make(bool add = true)
    {
        if (screen != nullptr && screen->parent != nullptr)
            screen->parent->RemoveWidget(screen.get());
        screen = std::make_unique<TitleScreen>();
        screen->Resize(0, 0, 1024, 768);
        if (add) {
            Manager().AddWidget(screen.get());
            Manager().SetFocus(screen.get());
        }
        return *screen;
    }
    // One update of the board; movie time moves on with it.
    void Step(float dt = 0.01f)
    {
        platform->Clock().Advance(static_cast<uint32_t>(dt * 1000.0f + 0.5f));
        screen->UpdateBoard(dt);
    }
    // Updates until the predicate holds, at most limit; the number taken.
    int StepUntil(const std::function<bool()>& done, int limit = 100000, float dt = 0.01f)
    {
        int steps = 0;
        while (!done() && steps < limit) {
            Step(dt);
            ++steps;
        }
        return steps;
    }
    void Click() { Manager().MouseDown(512, 384, 1); }

    // The updates each stretch of (index, phase) lasted, in order, until the
    // hand-over.
    struct Stretch {
        size_t index;
        int phase;
        int updates;
    };
    std::vector<Stretch> RunToEnd(float dt = 0.01f)
    {
        std::vector<Stretch> stretches;
        for (int i = 0; i < 100000 && !screen->finished; ++i) {
            const size_t index = screen->currentIndex;
            const int phase = screen->phase;
            Step(dt);
            if (stretches.empty() || stretches.back().index != index || stretches.back().phase != phase)
                stretches.push_back({index, phase, 0});
            ++stretches.back().updates;
        }
        return stretches;
    }

    std::unique_ptr<TitleScreen> screen;
    int handOvers = 0;
};

TEST_F(TitleScreenTest, EachPageFadesInShowsForItsTimeAndFadesOutThenTheNextFollows)
{
    WriteList("logo\\a:0:3,logo\\b:0:0.5");
    Make();
    ASSERT_EQ(screen->pages.size(), 2u);
    const std::vector<Stretch> stretches = RunToEnd();
    // Each fade takes fade time / dt updates and each picture its time / 0.01;
    // MoveTowards may take one update more to land on the target.
    const std::vector<std::pair<int, int>> want = {{100, 101}, {300, 301}, {100, 101},
                                                   {100, 101}, {50, 51},   {100, 101}};
    ASSERT_EQ(stretches.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(stretches[i].index, i / 3);
        EXPECT_EQ(stretches[i].phase, static_cast<int>(i % 3));
        EXPECT_GE(stretches[i].updates, want[i].first);
        EXPECT_LE(stretches[i].updates, want[i].second);
    }
    EXPECT_EQ(handOvers, 1);
    EXPECT_EQ(screen->currentIndex, 2u);
}

TEST_F(TitleScreenTest, PicturesCountFixedStepsWhileFadesFollowTheFrameTime)
{
    WriteList("logo\\a:0:3");
    Make();
    const std::vector<Stretch> stretches = RunToEnd(0.05f);
    ASSERT_EQ(stretches.size(), 3u);
    EXPECT_GE(stretches[0].updates, 20);
    EXPECT_LE(stretches[0].updates, 21);
    EXPECT_GE(stretches[1].updates, 300);
    EXPECT_LE(stretches[1].updates, 301);
    EXPECT_GE(stretches[2].updates, 20);
    EXPECT_LE(stretches[2].updates, 21);
}

TEST_F(TitleScreenTest, TheVeilFollowsTheFadesAndAZeroFadeTimeHasNone)
{
    WriteList("logo\\a:0:1");
    Make();
    EXPECT_FLOAT_EQ(screen->VeilOpacity(), 1.0f);
    StepUntil([&] { return screen->phaseTimer >= 0.25f - 0.001f; });
    EXPECT_NEAR(screen->VeilOpacity(), 0.75f, 0.01f);
    StepUntil([&] { return screen->phase == TitleScreen::kShowing; });
    EXPECT_EQ(screen->VeilOpacity(), 0.0f);
    StepUntil([&] { return screen->phase == TitleScreen::kFadingOut; });
    EXPECT_EQ(screen->VeilOpacity(), 0.0f);
    StepUntil([&] { return screen->phaseTimer >= 0.25f - 0.001f; });
    EXPECT_NEAR(screen->VeilOpacity(), 0.25f, 0.01f);

    WriteList("logo\\a:0:0.02,logo\\b:0:0.02", "0");
    Make();
    EXPECT_EQ(screen->VeilOpacity(), 0.0f);
    const std::vector<Stretch> stretches = RunToEnd();
    ASSERT_EQ(stretches.size(), 6u);
    for (const Stretch& stretch : stretches) {
        SCOPED_TRACE(stretch.phase);
        if (stretch.phase == TitleScreen::kShowing) {
            EXPECT_GE(stretch.updates, 2);
            EXPECT_LE(stretch.updates, 3);
        } else {
            EXPECT_EQ(stretch.updates, 1);
        }
    }
    EXPECT_EQ(handOvers, 1);
}

TEST_F(TitleScreenTest, PagesThatCannotBeBuiltAreDroppedAndTheRestKeepTheirOrder)
{
    Platform::SetFlashControlFactory([] { return std::make_unique<Platform::NullFlashControl>(); });
    WriteList("logo\\missing,logo\\b:0:4,intro.swf,logo\\a,,logo\\c.png:1:1");
    Make();
    ASSERT_EQ(screen->pages.size(), 3u);
    const auto* b = dynamic_cast<Tandry::ImgTitlePage*>(screen->pages[0].get());
    const auto* a = dynamic_cast<Tandry::ImgTitlePage*>(screen->pages[1].get());
    const auto* c = dynamic_cast<Tandry::ImgTitlePage*>(screen->pages[2].get());
    ASSERT_TRUE(b != nullptr && a != nullptr && c != nullptr);
    EXPECT_EQ(b->image->mWidth, 8);
    EXPECT_FALSE(b->skippable);
    EXPECT_FLOAT_EQ(b->time, 4.0f);
    EXPECT_TRUE(a->skippable);
    EXPECT_FLOAT_EQ(a->time, 2.0f);
    EXPECT_EQ(c->image->mWidth, 4);
    EXPECT_EQ(handOvers, 0);
}

TEST_F(TitleScreenTest, WithoutPagesTheScreenHandsOverOnceWhenAdded)
{
    const std::vector<std::pair<std::string, std::function<void()>>> setups = {
        {"no file", [] {}},
        {"no list", [this] { WriteLogoIni("[Game]\nFadeTime=1\n"); }},
        {"empty list", [this] { WriteList(""); }},
        {"nothing loads", [this] { WriteList("logo\\missing,logo\\gone:0"); }},
    };
    for (const auto& [name, setup] : setups) {
        SCOPED_TRACE(name);
        handOvers = 0;
        std::filesystem::remove(ProgramFolder() + "/logo/logo.ini");
        setup();
        Make(false);
        EXPECT_EQ(handOvers, 0);
        Manager().AddWidget(screen.get());
        EXPECT_EQ(handOvers, 1);
        Step();
        screen->Finish();
        EXPECT_EQ(handOvers, 1);
        EXPECT_EQ(screen->currentIndex, 0u);
    }
}

TEST_F(TitleScreenTest, TheHandOverHappensOnceAfterTheLastPage)
{
    WriteList("logo\\a:0:0.1", "0.1");
    Make();
    RunToEnd();
    EXPECT_EQ(handOvers, 1);
    for (int i = 0; i < 50; ++i)
        Step();
    Click();
    screen->Finish();
    EXPECT_EQ(handOvers, 1);
    EXPECT_EQ(screen->currentIndex, 1u);
    EXPECT_EQ(screen->CurrentPage(), nullptr);
}

TEST_F(TitleScreenTest, ClicksAndKeysEndOnlySkippablePages)
{
    struct Case {
        std::string name;
        std::string list;
        std::function<void()> input;
        int atPhase;
        bool ends;
    };
    const auto click = [this] { Click(); };
    const auto rightClick = [this] { Manager().MouseDown(10, 10, -1); };
    const auto key = [this] { Manager().KeyDown(0x20); };
    const std::vector<Case> cases = {
        {"click, not skippable, showing", "logo\\a:0:3", click, TitleScreen::kShowing, false},
        {"key, not skippable, fading in", "logo\\a:0:3", key, TitleScreen::kFadingIn, false},
        {"click, skippable, showing", "logo\\a:1:3", click, TitleScreen::kShowing, true},
        {"right click, skippable, showing", "logo\\a:1:3", rightClick, TitleScreen::kShowing, true},
        {"key, skippable, showing", "logo\\a:1:3", key, TitleScreen::kShowing, true},
        {"click, skippable, fading in", "logo\\a:1:3", click, TitleScreen::kFadingIn, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteList(c.list);
        Make();
        // Halfway into the phase.
        StepUntil([&] { return screen->phase == c.atPhase; });
        for (int i = 0; i < 50; ++i)
            Step();
        ASSERT_EQ(screen->phase, c.atPhase);
        c.input();
        if (c.atPhase == TitleScreen::kFadingIn) {
            // The fade-in runs to its end; the first showing update ends the page.
            const int rest = StepUntil([&] { return screen->phase != TitleScreen::kFadingIn; });
            EXPECT_GE(rest, 50);
            EXPECT_LE(rest, 51);
            EXPECT_EQ(screen->phase, TitleScreen::kShowing);
        }
        Step();
        EXPECT_EQ(screen->phase, c.ends ? TitleScreen::kFadingOut : TitleScreen::kShowing);
        EXPECT_EQ(screen->pages[0]->finished, c.ends);
    }
}

TEST_F(TitleScreenTest, TheCaptionStartsFromTheFirstEntryAndFollowsTheCurrentPage)
{
    struct Case {
        std::string list;
        float start;
    };
    // The first entry counts, even when its page is dropped.
    const std::vector<Case> cases = {
        {"logo\\a", 1.0f}, {"logo\\a:0", 0.0f}, {"logo\\missing,logo\\a:0", 1.0f}, {"logo\\missing:0,logo\\a", 0.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        WriteList(c.list);
        Make();
        EXPECT_EQ(screen->skipAlpha, c.start);
        // Half a second fades the caption fully to the page's target.
        const float target = screen->pages[0]->skippable ? 1.0f : 0.0f;
        for (int i = 0; i < 49; ++i)
            Step();
        if (c.start != target) {
            EXPECT_NE(screen->skipAlpha, target);
        }
        Step();
        Step();
        EXPECT_EQ(screen->skipAlpha, target);
    }

    // Gone with the last page.
    RunToEnd();
    WriteList("logo\\a:1:0.1", "0.1");
    Make();
    RunToEnd();
    EXPECT_GT(screen->skipAlpha, 0.0f);
    StepUntil([&] { return screen->skipAlpha == 0.0f; }, 60);
    EXPECT_EQ(screen->skipAlpha, 0.0f);
}

TEST_F(TitleScreenTest, DrawsThePictureUnderTheVeilOnBlack)
{
    WriteList("logo\\a:0:1");
    Make();
    const std::vector<std::pair<int, int>> points = {{0, 0}, {1023, 767}, {512, 384}};

    DrawScreen(0xFFFFFFFFu);
    for (const auto& [x, y] : points)
        EXPECT_TRUE(GameWidgetTest::ChannelsNear(ScreenPixel(x, y), 0x000000u)) << std::hex << ScreenPixel(x, y);

    StepUntil([&] { return screen->phaseTimer >= 0.5f - 0.001f; });
    DrawScreen(0xFFFFFFFFu);
    for (const auto& [x, y] : points)
        EXPECT_TRUE(GameWidgetTest::ChannelsNear(ScreenPixel(x, y), 0x800000u, 3)) << std::hex << ScreenPixel(x, y);

    StepUntil([&] { return screen->phase == TitleScreen::kShowing; });
    DrawScreen(0xFFFFFFFFu);
    for (const auto& [x, y] : points)
        EXPECT_TRUE(GameWidgetTest::ChannelsNear(ScreenPixel(x, y), 0xFF0000u)) << std::hex << ScreenPixel(x, y);

    RunToEnd();
    DrawScreen(0xFFFFFFFFu);
    for (const auto& [x, y] : points)
        EXPECT_TRUE(GameWidgetTest::ChannelsNear(ScreenPixel(x, y), 0x000000u)) << std::hex << ScreenPixel(x, y);
}

TEST_F(TitleScreenTest, TheSkipCaptionIsGreyAndCentredOnLine750)
{
    SetLangTexts(L"Interface", {{"Skip", L"Skip"}});
    // A black picture, so that only the caption shows; the first entry,
    // which is dropped, makes the caption start fully shown.
    WritePicture("logo/k.png", GameWidgetTest::SolidPixels(8, 8, 0xFF000000u));
    WriteList("logo\\missing,logo\\k:0:3", "0");
    Make();
    ASSERT_EQ(screen->skipAlpha, 1.0f);

    const auto captionBox = [this] {
        Tandry::Rect box(0, 0, 0, 0);
        int minX = 1024, minY = 768, maxX = -1, maxY = -1;
        for (int y = 600; y < 768; ++y) {
            for (int x = 0; x < 1024; ++x) {
                if (ScreenPixel(x, y) == 0x000000u)
                    continue;
                EXPECT_TRUE(GameWidgetTest::ChannelsNear(ScreenPixel(x, y), 0x808080u)) << x << "," << y;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        }
        if (maxX >= 0)
            box = Tandry::Rect(minX, minY, maxX - minX + 1, maxY - minY + 1);
        return box;
    };
    DrawScreen();
    const Tandry::Rect box = captionBox();
    // The text is 24 pixels wide, so it spans 500 to 523; the boxes leave a
    // pixel of their cell blank.
    EXPECT_GE(box.x, 500);
    EXPECT_LE(box.x + box.width, 524);
    EXPECT_GE(box.width, 20);
    EXPECT_LE(box.y, 750);
    EXPECT_GE(box.y + box.height, 750);

    // The page is not skippable: half a second later the caption is gone.
    for (int i = 0; i < 52; ++i)
        Step();
    ASSERT_EQ(screen->skipAlpha, 0.0f);
    DrawScreen();
    EXPECT_EQ(captionBox().width, 0);
}

// --- Movie pages ---

TEST_F(TitleScreenTest, AMovieStartsWithTheScreenAndItsPageEndsWhenItStops)
{
    auto book = std::make_shared<Platform::FlashScriptBook>();
    Platform::FlashScript shortMovie;
    shortMovie.endTime = 500;
    book->Register(L"short.swf", shortMovie);
    Platform::FlashScript longMovie;
    longMovie.endTime = 4500;
    book->Register(L"long.swf", longMovie);
    Platform::FlashScript refused;
    refused.refusePlay = true;
    book->Register(L"refused.swf", refused);
    Platform::SetFlashControlFactory([book] { return std::make_unique<Platform::ScriptedFlashControl>(book); });

    WriteList("logo\\a:0:1,short.swf:0,refused.swf,unknown.dat,long.swf:0", "0.5");
    Make();
    ASSERT_EQ(screen->pages.size(), 3u);
    auto* shortPage = dynamic_cast<Tandry::SwfTitlePage*>(screen->pages[1].get());
    ASSERT_NE(shortPage, nullptr);
    EXPECT_FALSE(shortPage->skippable);
    EXPECT_FALSE(shortPage->flashWidget.mouseVisible);
    EXPECT_EQ(shortPage->flashWidget.parent, nullptr);
    EXPECT_EQ(shortPage->flashWidget.width, 1024);
    EXPECT_EQ(shortPage->flashWidget.height, 768);

    const std::vector<Stretch> stretches = RunToEnd();
    ASSERT_EQ(stretches.size(), 9u);
    // The short movie ended while the picture was shown: its page ends at the
    // first update of its showing phase.
    EXPECT_EQ(stretches[4].index, 1u);
    EXPECT_EQ(stretches[4].phase, TitleScreen::kShowing);
    EXPECT_EQ(stretches[4].updates, 1);
    // The long one has played through 2 s of picture page, 1 s of the short
    // page's fades and 0.5 s of its own fade-in: it shows for 1 s more.
    EXPECT_EQ(stretches[7].index, 2u);
    EXPECT_EQ(stretches[7].phase, TitleScreen::kShowing);
    // Each fade and the picture take an update more to land: 3.57 s in all.
    EXPECT_GE(stretches[7].updates, 90);
    EXPECT_LE(stretches[7].updates, 96);
    EXPECT_EQ(handOvers, 1);
}

TEST_F(TitleScreenTest, ACommandOfTheMovieChangesNothing)
{
    auto book = std::make_shared<Platform::FlashScriptBook>();
    Platform::FlashScript movie;
    movie.endTime = 1000;
    movie.steps.push_back(Platform::FlashScriptStep::Command(100, L"next", L"1"));
    movie.steps.push_back(Platform::FlashScriptStep::Command(200, L"quit", L""));
    book->Register(L"talk.swf", movie);
    Platform::SetFlashControlFactory([book] { return std::make_unique<Platform::ScriptedFlashControl>(book); });
    WriteList("talk.swf:0", "0");
    Make();
    Step();
    const int shown = StepUntil([&] { return screen->phase != TitleScreen::kShowing; });
    EXPECT_GE(shown, 98);
    EXPECT_LE(shown, 100);
}

TEST_F(TitleScreenTest, MovieFilesInTheGameFolderPlayOnTheMovieControl)
{
    // The game's own control: the default of both back ends.
    Platform::ResetFlashControlFactory();
    TestSupport::WriteFile(ProgramFolder() + "/intro.swf", "MOORGLEN MOVIE 1\n# studio\n500 say hello\n1000 end\n");
    TestSupport::WriteFile(ProgramFolder() + "/broken.swf", "MOORGLEN MOVIE 2\n500 end\n");
    TestSupport::WriteFile(ProgramFolder() + "/held.dat", "MOORGLEN MOVIE 1\n0 wait go 1\n100 end\n");
    WriteList("missing.swf,broken.swf,intro.swf:0,held.dat", "0");
    Make();
    ASSERT_EQ(screen->pages.size(), 2u);

    // The movie lasts 1.5 s from when the screen was built.
    const int intro = StepUntil([&] { return screen->currentIndex == 1; });
    EXPECT_GE(intro, 149);
    EXPECT_LE(intro, 152);
    // The control paints nothing: the page shows black.
    DrawScreen(0xFFFFFFFFu);
    EXPECT_TRUE(GameWidgetTest::ChannelsNear(ScreenPixel(512, 384), 0x000000u));

    // A movie waiting for a variable that nobody sets holds its page until skipped.
    for (int i = 0; i < 500; ++i)
        Step();
    EXPECT_EQ(screen->phase, TitleScreen::kShowing);
    Click();
    Step();
    EXPECT_EQ(screen->phase, TitleScreen::kFadingOut);
    Step();
    EXPECT_EQ(handOvers, 1);
}

} // namespace
