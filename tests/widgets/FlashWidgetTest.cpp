// The Flash widget's state, events and variables against the scripted
// control on the headless clock: tables of steps with the state, the
// listener's events and the control's calls expected after each.
#include "widgets/FlashWidgetFixture.h"

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "platform/flash/NullFlashControl.h"

#include <filesystem>
#include <functional>

namespace {

using Platform::FlashArg;
using Platform::FlashScript;
using Platform::FlashScriptStep;
using Tandry::FlashWidget;
using WidgetTest::FlashWidgetTest;
using WidgetTest::Strings;

std::string Absolute(const std::string& name)
{
    return (std::filesystem::current_path() / name).string();
}

FlashScript EndsAt(double endTime)
{
    FlashScript script;
    script.endTime = endTime;
    return script;
}

struct Step {
    const char* what;
    std::function<void()> act;
    int state;
    Strings events;
    Strings calls;
};

class FlashWidgetSteps : public FlashWidgetTest {
protected:
    template <size_t N>
    void RunSteps(FlashWidget& widget, const Step (&steps)[N])
    {
        for (const Step& step : steps) {
            step.act();
            EXPECT_EQ(widget.state, step.state) << step.what;
            EXPECT_EQ(listener.Take(), step.events) << step.what;
            EXPECT_EQ(Calls(), step.calls) << step.what;
        }
    }
};

TEST_F(FlashWidgetSteps, FocusPausesAndResumesAndTheEndIsReportedOnce)
{
    book->Register(L"m.swf", EndsAt(10'000));
    FlashWidget& widget = Make(0, 0, 100, 100);
    Calls();
    auto update = [&] { widget.Update(); };
    auto focus = [&](bool on) { return [&, on] { host.hasFocus = on; widget.Update(); }; };
    const Step steps[] = {
        {"start", [&] { EXPECT_TRUE(widget.StartMovie("m.swf")); }, 1, {}, {"PutMovie " + Absolute("m.swf"), "Play"}},
        {"an update with focus", update, 1, {}, {}},
        {"focus lost", focus(false), 0, {}, {"StopPlay"}},
        {"still without focus", update, 0, {}, {}},
        {"focus back", focus(true), 1, {}, {"Play"}},
        {"before the end", [&] { Advance(9'999); widget.Update(); }, 1, {}, {}},
        {"the end", [&] { Advance(1); widget.Update(); }, 2, {"stopped 7"}, {}},
        {"after the end", update, 2, {}, {}},
        {"focus lost after the end", focus(false), 2, {}, {}},
        {"focus back after the end", focus(true), 2, {}, {}},
        {"pause and resume after the end", [&] { widget.Pause(); widget.Resume(); widget.Update(); }, 2, {}, {}},
    };
    RunSteps(widget, steps);
    EXPECT_EQ(widget.pauseCount, 0);
}

TEST_F(FlashWidgetSteps, AWidgetBuiltWithoutTheFocusPausesOnItsFirstUpdate)
{
    book->Register(L"m.swf", EndsAt(1'000));
    host.hasFocus = false;
    FlashWidget& widget = Make(0, 0, 100, 100);
    EXPECT_FALSE(widget.pausedByFocus);
    Calls();
    const Step steps[] = {
        {"start", [&] { EXPECT_TRUE(widget.StartMovie("m.swf")); }, 1, {}, {"PutMovie " + Absolute("m.swf"), "Play"}},
        {"first update", [&] { widget.Update(); }, 0, {}, {"StopPlay"}},
        {"time passes while paused", [&] { Advance(5'000); widget.Update(); }, 0, {}, {}},
        {"focus back", [&] { host.hasFocus = true; widget.Update(); }, 1, {}, {"Play"}},
        {"the natural end", [&] { Advance(1'000); widget.Update(); }, 2, {"stopped 7"}, {}},
        {"later", [&] { widget.Update(); }, 2, {}, {}},
    };
    RunSteps(widget, steps);
    EXPECT_EQ(widget.pauseCount, 0);
}

TEST_F(FlashWidgetTest, ResumeWithoutPauseChangesNothing)
{
    book->Register(L"m.swf", EndsAt(1'000));
    FlashWidget& widget = Make(0, 0, 10, 10);
    ASSERT_TRUE(widget.StartMovie("m.swf"));
    widget.Resume();
    EXPECT_EQ(widget.pauseCount, 0);
    Calls();
    widget.Pause();
    EXPECT_EQ(Calls(), Strings{"StopPlay"}) << "a stray Resume must not leave the count below 0";
    widget.Resume();
    EXPECT_EQ(Calls(), Strings{"Play"});
}

TEST_F(FlashWidgetTest, APausedWidgetWithoutAMovieStaysStoppedWhenResumed)
{
    FlashWidget& widget = Make(0, 0, 10, 10);
    host.hasFocus = false;
    widget.Update();
    host.hasFocus = true;
    widget.Update();
    widget.Update();
    EXPECT_EQ(widget.state, 0);
    EXPECT_TRUE(listener.Take().empty()) << "a movie that never started never stops";
}

TEST_F(FlashWidgetTest, AMovieEndedWhileNotUpdatedIsNotPlayingAtTheNextQuestion)
{
    book->Register(L"m.swf", EndsAt(2'000));
    FlashWidget& widget = Make(0, 0, 10, 10, false);
    ASSERT_TRUE(widget.StartMovie("m.swf"));
    Advance(1'999);
    EXPECT_TRUE(widget.IsPlaying());
    Advance(30'000);
    EXPECT_FALSE(widget.IsPlaying());
}

TEST_F(FlashWidgetTest, StartMovieAnswersWhatTheControlAllows)
{
    FlashScript refusing = EndsAt(100);
    refusing.refusePlay = true;
    book->Register(L"good.swf", EndsAt(100));
    book->Register(L"refusing.swf", refusing);
    const struct {
        const char* name;
        bool paused;
        bool result;
        int state;
        Strings calls;
    } cases[] = {
        {"good.swf", false, true, 1, {"PutMovie " + Absolute("good.swf"), "Play"}},
        {"refusing.swf", false, false, 0, {"PutMovie " + Absolute("refusing.swf"), "Play"}},
        {"unknown.swf", false, false, 0, {"PutMovie " + Absolute("unknown.swf")}},
        {"good.swf", true, true, 1, {"PutMovie " + Absolute("good.swf")}},
        {"unknown.swf", true, false, 0, {"PutMovie " + Absolute("unknown.swf")}},
    };
    for (const auto& c : cases) {
        FlashWidget& widget = Make(0, 0, 10, 10, false);
        if (c.paused)
            widget.Pause();
        Calls();
        EXPECT_EQ(widget.StartMovie(c.name), c.result) << c.name << (c.paused ? " paused" : "");
        EXPECT_EQ(widget.state, c.state) << c.name;
        Strings calls = Calls();
        EXPECT_EQ(calls, c.calls) << c.name << (c.paused ? " paused" : "");
        if (c.paused) {
            widget.Resume();
            EXPECT_EQ(Calls(), c.result ? Strings{"Play"} : Strings{}) << c.name << ": the resume plays it";
        }
    }
}

TEST_F(FlashWidgetTest, StartingUnderTheMouseReplaysItsPosition)
{
    book->Register(L"m.swf", EndsAt(100));
    FlashWidget& widget = Make(100, 50, 200, 100);
    manager.MouseMove(130, 70);
    ASSERT_TRUE(widget.isOver);
    Calls();
    ASSERT_TRUE(widget.StartMovie("m.swf"));
    const Strings calls = Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2], "Message 0x200 0 0x00460082");
}

TEST_F(FlashWidgetTest, EventsReachTheListenerOnlyAsTwoStrings)
{
    FlashWidget& widget = Make(0, 0, 10, 10, false);
    const auto S = FlashArg::String;
    const struct {
        const char* what;
        int32_t id;
        std::vector<FlashArg> args;
        Platform::HRESULT result;
        Strings events;
    } cases[] = {
        {"two strings", 150, {S(L"next"), S(L"3")}, Platform::FLASH_S_OK, {"command 7 next|3"}},
        {"empty strings", 150, {S(L""), S(L"")}, Platform::FLASH_S_OK, {"command 7 |"}},
        {"one argument", 150, {S(L"next")}, Platform::FLASH_S_OK, {}},
        {"three arguments", 150, {S(L"next"), S(L"3"), S(L"x")}, Platform::FLASH_S_OK, {}},
        {"an integer", 150, {S(L"next"), FlashArg::Integer(3)}, Platform::FLASH_S_OK, {}},
        {"an empty argument", 150, {FlashArg{}, S(L"3")}, Platform::FLASH_S_OK, {}},
        {"no argument", 150, {}, Platform::FLASH_S_OK, {}},
        {"progress", 1958, {FlashArg::Integer(50)}, Platform::FLASH_S_OK, {}},
        {"ready state", -609, {FlashArg::Integer(4)}, Platform::FLASH_S_OK, {}},
        {"unknown", 42, {S(L"next"), S(L"3")}, Platform::DISP_E_MEMBERNOTFOUND, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(widget.sink.Invoke(c.id, c.args), c.result) << c.what;
        EXPECT_EQ(listener.Take(), c.events) << c.what;
    }
    widget.listener = nullptr;
    EXPECT_EQ(widget.sink.Invoke(150, {S(L"next"), S(L"3")}), Platform::FLASH_S_OK) << "without a listener";
}

TEST_F(FlashWidgetTest, ScriptedEventsArriveFromInsideTheWidgetsCalls)
{
    FlashScript script = EndsAt(10'000);
    script.steps = {
        FlashScriptStep::Command(0, L"next", L"3"),
        FlashScriptStep::RawEvent(100, 150, {FlashArg::String(L"lonely")}),
        FlashScriptStep::RawEvent(100, 150, {FlashArg::String(L"a"), FlashArg::Integer(1)}),
        FlashScriptStep::RawEvent(100, 42, {}),
        FlashScriptStep::Command(200, L"sound", std::wstring(L"\u00e9\u00ff \u0080", 4)),
    };
    book->Register(L"m.swf", script);
    FlashWidget& widget = Make(0, 0, 10, 10, false);
    ASSERT_TRUE(widget.StartMovie("m.swf"));
    EXPECT_EQ(listener.Take(), Strings{"command 7 next|3"});
    Advance(100);
    widget.Update();
    EXPECT_TRUE(listener.Take().empty());
    Advance(100);
    widget.Update();
    EXPECT_EQ(listener.Take(), Strings{"command 7 sound|\xe9\xff \x80"});
}

TEST_F(FlashWidgetTest, VariablesReachTheControlAndSpeedScalesItsTime)
{
    FlashScript script = EndsAt(1'000'000);
    script.fastFactor = 3;
    script.steps = {
        FlashScriptStep::Command(0, L"after", L"myPlay").When(L"myPlay", L"1"),
        FlashScriptStep::Command(3'000, L"late", L""),
    };
    book->Register(L"m.swf", script);
    FlashWidget& widget = Make(0, 0, 10, 10, false);
    ASSERT_TRUE(widget.StartMovie("m.swf"));
    Calls();
    widget.SetVariable("_root.speed", "fast");
    Advance(999);
    widget.Update();
    EXPECT_TRUE(listener.Take().empty());
    Advance(1);
    widget.Update();
    EXPECT_EQ(listener.Take(), Strings{"command 7 late|"}) << "3000 ms of movie time in 1000 ms at factor 3";

    widget.SetVariable("myPlay", "2");
    Advance(50'000);
    widget.Update();
    EXPECT_TRUE(listener.Take().empty()) << "the step waits for myPlay = 1";
    widget.SetVariable("myPlay", "1");
    EXPECT_EQ(listener.Take(), Strings{"command 7 after|myPlay"});
    EXPECT_EQ(Calls(), (Strings{"SetVariable _root.speed=fast", "SetVariable myPlay=2", "SetVariable myPlay=1"}));
}

TEST_F(FlashWidgetTest, TheNullControlLeavesTheWidgetInert)
{
    Platform::SetFlashControlFactory([] { return std::make_unique<Platform::NullFlashControl>(); });
    for (bool paused : {false, true}) {
        FlashWidget& widget = Make(0, 0, 10, 10, false);
        if (paused)
            widget.Pause();
        EXPECT_FALSE(widget.StartMovie("m.swf")) << paused;
        EXPECT_EQ(widget.state, 0) << paused;
        EXPECT_FALSE(widget.IsPlaying());
        widget.SetVariable("myPlay", "1");
        widget.Resume();
        widget.Update();
        EXPECT_EQ(widget.state, 0);
    }
    EXPECT_TRUE(listener.Take().empty());
}

TEST_F(FlashWidgetTest, WithoutAControlEveryOperationIsSafe)
{
    Platform::SetFlashControlFactory([] { return std::unique_ptr<Platform::FlashControl>(); });
    FlashWidget& widget = Make(0, 0, 10, 10);
    EXPECT_EQ(widget.flash, nullptr);
    EXPECT_FALSE(widget.StartMovie("m.swf"));
    EXPECT_FALSE(widget.IsPlaying());
    widget.SetVariable("a", "b");
    widget.Pause();
    widget.Resume();
    widget.Update();
    manager.MouseMove(5, 5);
    manager.MouseDown(5, 5, 1);
    manager.MouseUp(5, 5, 1);
    Tandry::MemoryImage screen;
    screen.Create(10, 10);
    Tandry::Graphics g(&screen);
    widget.Draw(&g);
    EXPECT_TRUE(listener.Take().empty());
}

TEST_F(FlashWidgetTest, DestructionDisconnectsAndClosesTheControl)
{
    book->Register(L"m.swf", EndsAt(100));
    {
        FlashWidget widget(&listener);
        widget.Resize(0, 0, 20, 20);
        ASSERT_TRUE(widget.StartMovie("m.swf"));
        Calls();
    }
    EXPECT_EQ(Calls(), (Strings{"Unadvise", "Close"}));
}

} // namespace
