// The Flash widget over the game's movie-file control: movie files in a
// temporary folder made current, played on the headless clock.
#include "widgets/FlashWidgetFixture.h"

#include "platform/fs/ScratchFolder.h"

namespace {

using Tandry::FlashWidget;
using TestSupport::ScratchFolder;
using TestSupport::WriteFile;
using WidgetTest::FlashWidgetTest;
using WidgetTest::Strings;

class FlashWidgetMovieFileTest : public FlashWidgetTest {
protected:
    FlashWidgetMovieFileTest() { Platform::ResetFlashControlFactory(); }

    ScratchFolder folder{ScratchFolder::Enter};
};

TEST_F(FlashWidgetMovieFileTest, TheCutSceneTimelineReachesTheListener)
{
    WriteFile(folder.Path() / "res/movies/intro.dat",
              "MOORGLEN MOVIE 1\n0 next 1\n0 wait myPlay 1\n500 sound door\n250 ambient forest\n0 end\n");
    FlashWidget& widget = Make(0, 0, 1025, 576);
    ASSERT_TRUE(widget.StartMovie("RES\\Movies\\Intro.DAT"));
    EXPECT_EQ(widget.state, 1);
    EXPECT_EQ(listener.Take(), Strings{"command 7 next|1"});
    const struct {
        const char* what;
        uint32_t advance;
        bool setPlay;
        Strings events;
        int state;
    } steps[] = {
        {"the subtitle is read", 3'000, false, {}, 1},
        {"myPlay = 1", 0, true, {}, 1},
        {"499 ms later", 499, false, {}, 1},
        {"500 ms later", 1, false, {"command 7 sound|door"}, 1},
        {"749 ms later", 249, false, {}, 1},
        {"750 ms later", 1, false, {"command 7 ambient|forest", "command 7 end|", "stopped 7"}, 2},
        {"afterwards", 10'000, false, {}, 2},
    };
    for (const auto& step : steps) {
        Advance(step.advance);
        if (step.setPlay)
            widget.SetVariable("myPlay", "1");
        widget.Update();
        EXPECT_EQ(listener.Take(), step.events) << step.what;
        EXPECT_EQ(widget.state, step.state) << step.what;
    }
    EXPECT_FALSE(widget.IsPlaying());
}

TEST_F(FlashWidgetMovieFileTest, HighBytesComeBackAsTheFileHoldsThem)
{
    WriteFile(folder.Path() / "m.dat", "MOORGLEN MOVIE 1\n0 say \x80\x9f\xe9\xff  in  between\n");
    FlashWidget& widget = Make(0, 0, 10, 10);
    ASSERT_TRUE(widget.StartMovie("m.dat"));
    EXPECT_EQ(listener.Take(), Strings{"command 7 say|\x80\x9f\xe9\xff  in  between"});
}

TEST_F(FlashWidgetMovieFileTest, AFocusPauseHoldsTheMovie)
{
    WriteFile(folder.Path() / "m.dat", "MOORGLEN MOVIE 1\n1000 a\n");
    FlashWidget& widget = Make(0, 0, 10, 10);
    ASSERT_TRUE(widget.StartMovie("m.dat"));
    Advance(400);
    host.hasFocus = false;
    widget.Update();
    Advance(10'000);
    widget.Update();
    EXPECT_TRUE(listener.Take().empty());
    host.hasFocus = true;
    widget.Update();
    Advance(599);
    widget.Update();
    EXPECT_TRUE(listener.Take().empty());
    Advance(1);
    widget.Update();
    EXPECT_EQ(listener.Take(), (Strings{"command 7 a|", "stopped 7"}));
}

TEST_F(FlashWidgetMovieFileTest, RefusedFilesStartNothing)
{
    const struct {
        const char* name;
        const char* body; // null: no file
    } cases[] = {
        {"missing.dat", nullptr},
        {"empty.dat", ""},
        {"magic.dat", "MOORGLEN MOVIE 2\n0 a\n"},
        {"delay.dat", "MOORGLEN MOVIE 1\nx a\n"},
        {"wait.dat", "MOORGLEN MOVIE 1\n0 wait myPlay\n"},
    };
    for (const auto& c : cases) {
        if (c.body != nullptr)
            WriteFile(folder.Path() / c.name, c.body);
        for (bool paused : {false, true}) {
            FlashWidget& widget = Make(0, 0, 10, 10);
            if (paused)
                widget.Pause();
            EXPECT_FALSE(widget.StartMovie(c.name)) << c.name;
            EXPECT_EQ(widget.state, 0) << c.name;
            EXPECT_FALSE(widget.IsPlaying()) << c.name;
            widget.SetVariable("myPlay", "1");
            widget.Resume();
            Advance(5'000);
            widget.Update();
            EXPECT_EQ(widget.state, 0) << c.name;
        }
    }
    EXPECT_TRUE(listener.Take().empty());
}

} // namespace
