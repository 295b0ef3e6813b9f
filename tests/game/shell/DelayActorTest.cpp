// A mini-game's winning step, deferred through the application's widget
// deletion: it runs once, after the update pass that won.
#include "game/shell/DelayActor.h"

#include "ShellAppFixture.h"
#include "game/shell/MinigameWinStep.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> gLog;

class FakeMinigame : public MinigameWinStep {
public:
    void RunOnWin() override { gLog.push_back("win"); }
};

// Wins on its second update, as a mini-game field does from its own update.
class Field : public Tandry::Widget {
public:
    void Update() override
    {
        ++updates;
        gLog.push_back("field update " + std::to_string(updates));
        if (updates == 2)
            Tandry::gApplication->DeferWidgetDelete(new DelayActor(&game));
    }
    FakeMinigame game;
    int updates = 0;
};

class Neighbour : public Tandry::Widget {
public:
    void Update() override { gLog.push_back("neighbour update"); }
};

class DelayActorTest : public ShellTest::ShellAppFixture {};

TEST_F(DelayActorTest, TheWinningStepRunsOnceAfterTheUpdatePass)
{
    gLog.clear();
    Field field;
    Neighbour neighbour;
    neighbour.zOrder = 1;
    Manager().AddWidget(&field);
    Manager().AddWidget(&neighbour);
    for (int i = 0; i < 3; ++i)
        RunUpdate();
    EXPECT_EQ(gLog, (std::vector<std::string>{"field update 1", "neighbour update", "field update 2",
                                              "neighbour update", "win", "field update 3", "neighbour update"}));
    Manager().RemoveWidget(&field);
    Manager().RemoveWidget(&neighbour);
}

TEST(DelayActor, WithoutAGameItOnlyGoes)
{
    delete new DelayActor(nullptr);
}

} // namespace
