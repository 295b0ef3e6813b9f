// Arbitrary bytes as "res\\game.ini": transitions are chosen from its
// [ScreenEffect] for several pairs of boards, and every kind is also made
// directly, each between two small boards and to no board, and run on the
// headless clock for a bounded number of updates, drawn now and then. None
// may crash or reach a blend outside 0..1, and each whose times are all at
// most 10 s ends within them.
#include "game/shell/BaseBoard.h"
#include "game/shell/BoardTransformer.h"
#include "game/shell/BoardTransformerEmpty.h"
#include "game/shell/BoardTransformerFade.h"
#include "game/shell/BoardTransformerFadeIn.h"
#include "game/shell/BoardTransformerFromMovie.h"
#include "game/shell/BoardTransformerListener.h"
#include "game/shell/BoardTransformerPager.h"
#include "game/shell/BoardTransformerSlide.h"
#include "game/shell/BoardTransformerToMovie.h"
#include "game/shell/MakeBoardTransformer.h"
#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/ini/GameIni.h"
#include "widgets/WidgetFlag.h"
#include "widgets/WidgetFlagState.h"

#include "tests/fuzz/FuzzBytes.h"
#include "tests/game/shell/TransitionBoards.h"

#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr uint32_t kStepMs = 37;
constexpr int kUpdates = 300; // 11.1 s
constexpr float kLongest = 10.0f;

bool InUnit(float f)
{
    return f >= 0.0f && f <= 1.0f;
}

// The blend the kind draws with now is a fraction in 0..1.
void CheckBlend(const Tandry::BoardTransformer& t)
{
    if (const auto* fade = dynamic_cast<const Tandry::BoardTransformerFade*>(&t))
        FuzzCheck(InUnit(fade->Blackness()));
    if (const auto* movie = dynamic_cast<const Tandry::BoardTransformerToMovie*>(&t))
        FuzzCheck(InUnit(movie->Whiteness()));
    if (const auto* fadeIn = dynamic_cast<const Tandry::BoardTransformerFadeIn*>(&t))
        FuzzCheck(InUnit(Tandry::BoardTransformer::Progress(fadeIn->elapsed, fadeIn->duration)));
}

// The longest the transition may take, or a negative value when one of its
// times is above the bound.
float Bound(const Tandry::BoardTransformer& t)
{
    auto within = [](float total) { return total <= kLongest ? total : -1.0f; };
    if (const auto* movie = dynamic_cast<const Tandry::BoardTransformerToMovie*>(&t))
        return movie->firstPhase <= kLongest && movie->secondPhase <= kLongest ? movie->firstPhase + movie->secondPhase
                                                                               : -1.0f;
    if (const auto* fade = dynamic_cast<const Tandry::BoardTransformerFade*>(&t))
        return within(fade->duration);
    if (const auto* slide = dynamic_cast<const Tandry::BoardTransformerSlide*>(&t))
        return within(slide->duration);
    if (const auto* page = dynamic_cast<const Tandry::BoardTransformerPager*>(&t))
        return within(page->duration);
    if (const auto* fadeIn = dynamic_cast<const Tandry::BoardTransformerFadeIn*>(&t))
        return within(fadeIn->duration);
    return 0.0f;
}

// True when the transition ended.
bool Run(Platform::HeadlessClock& clock, Tandry::BoardTransformer* made, ShellTest::CountingListener& listener)
{
    const std::unique_ptr<Tandry::BoardTransformer> t(made);
    const float bound = Bound(*t);
    Tandry::MemoryImage screen;
    screen.Create(24, 18);
    Tandry::WidgetFlagState state;
    state.flags = Tandry::WIDGETFLAGS_DRAW;
    state.belowModalFlags = Tandry::WIDGETFLAGS_DRAW;
    float passed = 0.0f;
    for (int update = 0; update < kUpdates && t->running; ++update) {
        if (update > 0) {
            clock.Advance(kStepMs);
            passed += static_cast<float>(kStepMs) / 1000.0f;
        }
        t->Update();
        CheckBlend(*t);
        if (update % 16 == 0) {
            Tandry::Graphics g(&screen);
            t->DrawAll(&state, &g);
        }
        // Two steps of slack: float sums of the steps, and a counter that
        // reads exactly 0 restarts the timing once.
        if (bound >= 0.0f && passed > bound + 2.0f * static_cast<float>(kStepMs) / 1000.0f)
            FuzzCheck(!t->running);
    }
    if (bound >= 0.0f)
        FuzzCheck(!t->running);
    FuzzCheck(listener.ends == (t->running ? 0 : 1));
    listener.ends = 0;
    return !t->running;
}

template <typename Kind>
Tandry::BoardTransformer* MakeKind(ShellTest::ColorBoard& from, ShellTest::ColorBoard* to, ShellTest::CountingListener& listener)
{
    auto* t = new Kind();
    t->Resize(0, 0, 24, 18);
    t->fromBoard = &from;
    t->toBoard = to;
    t->listener = &listener;
    t->Start();
    return t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Platform::HeadlessPlatform& platform = Platform::InstallHeadlessPlatform();
    Tandry::ResetGameIni();
    Tandry::ResetBoardTransformerDefault();
    Tandry::gGameIni.LoadText(std::string_view(reinterpret_cast<const char*>(data), size));

    ShellTest::ColorBoard menu("Menu", Tandry::Color(200, 10, 10), 24, 18);
    ShellTest::ColorBoard game("Game", Tandry::Color(10, 200, 10), 24, 18);
    ShellTest::ColorBoard movie("Movie", Tandry::Color(10, 10, 200), 24, 18);
    ShellTest::ColorBoard title("", Tandry::Color(90, 90, 90), 24, 18);
    ShellTest::CountingListener listener;
    struct Pair {
        ShellTest::ColorBoard* from;
        ShellTest::ColorBoard* to;
    };
    for (const Pair& pair : {Pair{&menu, &game}, Pair{&game, &game}, Pair{&menu, &movie}, Pair{&movie, &game},
                             Pair{&title, &menu}, Pair{&game, nullptr}, Pair{&menu, nullptr}}) {
        // Boards stay hidden only while a transition (longer than the run) goes on.
        const bool ended = Run(platform.Clock(), Tandry::MakeBoardTransformer(pair.from, pair.to, &listener), listener);
        FuzzCheck(!ended || (pair.from->visible && (pair.to == nullptr || pair.to->visible)));
    }
    for (ShellTest::ColorBoard* to : {&game, static_cast<ShellTest::ColorBoard*>(nullptr)}) {
        Run(platform.Clock(), MakeKind<Tandry::BoardTransformerEmpty>(menu, to, listener), listener);
        Run(platform.Clock(), MakeKind<Tandry::BoardTransformerFade>(menu, to, listener), listener);
        Run(platform.Clock(), MakeKind<Tandry::BoardTransformerSlide>(menu, to, listener), listener);
        Run(platform.Clock(), MakeKind<Tandry::BoardTransformerPager>(menu, to, listener), listener);
        Run(platform.Clock(), MakeKind<Tandry::BoardTransformerFadeIn>(menu, to, listener), listener);
        Run(platform.Clock(), MakeKind<Tandry::BoardTransformerToMovie>(menu, to, listener), listener);
        Run(platform.Clock(), MakeKind<Tandry::BoardTransformerFromMovie>(menu, to, listener), listener);
    }
    Tandry::ResetBoardTransformerDefault();
    Tandry::ResetGameIni();
    return 0;
}
