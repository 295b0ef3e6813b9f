// The process list: ticks in order, deletion after the pass in queue order,
// and a list that stays valid while processes end, are removed, added or
// deleted from inside ticks.
#include "game/shell/Process.h"
#include "game/shell/ProcessList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using Tandry::AddProcess;
using Tandry::CountProcesses;
using Tandry::FreeAllProcesses;
using Tandry::RemoveProcess;
using Tandry::UpdateProcesses;

std::vector<std::string> gEvents;

// Runs its script on each tick, notes ticks and its deletion.
class Scripted : public Process {
public:
    explicit Scripted(std::string processName, int ticksToRun = 1000) : name(std::move(processName)), left(ticksToRun)
    {
    }
    ~Scripted() override { gEvents.push_back("delete " + name + " after " + std::to_string(totalTime)); }
    bool Tick(float /*dt*/, float passedTime) override
    {
        gEvents.push_back("tick " + name);
        seenTimes.push_back(passedTime);
        if (onTick)
            onTick();
        return --left > 0;
    }
    std::string name;
    int left;
    std::function<void()> onTick;
    std::vector<float> seenTimes;
};

class ProcessList : public testing::Test {
protected:
    void SetUp() override
    {
        FreeAllProcesses();
        gEvents.clear();
    }
    void TearDown() override { FreeAllProcesses(); }
};

TEST_F(ProcessList, TotalTimeGrowsByDtOnEveryTickIncludingTheLast)
{
    auto* p = new Scripted("p", 3);
    AddProcess(p);
    for (int i = 0; i < 3; ++i)
        UpdateProcesses(0.25f);
    EXPECT_EQ(CountProcesses(), 0);
    EXPECT_EQ(gEvents, (std::vector<std::string>{"tick p", "tick p", "tick p", "delete p after 0.750000"}));
}

TEST_F(ProcessList, TicksSeeTheTimeRunBeforeThem)
{
    auto* p = new Scripted("p");
    AddProcess(p);
    for (int i = 0; i < 3; ++i)
        UpdateProcesses(0.5f);
    EXPECT_EQ(p->seenTimes, (std::vector<float>{0.0f, 0.5f, 1.0f}));
}

TEST_F(ProcessList, EndedProcessesAreDeletedAfterEveryProcessTickedInQueueOrder)
{
    auto* a = new Scripted("a", 1);
    auto* b = new Scripted("b", 1);
    auto* c = new Scripted("c");
    a->onTick = [c] { RemoveProcess(c); };
    AddProcess(a);
    AddProcess(b);
    AddProcess(c);
    UpdateProcesses(0.01f);
    EXPECT_EQ(gEvents, (std::vector<std::string>{"tick a", "tick b", "tick c", "delete c after 0.010000",
                                                 "delete a after 0.010000", "delete b after 0.010000"}));
    EXPECT_EQ(CountProcesses(), 0);
}

TEST_F(ProcessList, AProcessEndedAndRemovedInOnePassIsDeletedOnce)
{
    auto* owner = new Scripted("owner");
    auto* ended = new Scripted("ended", 1);
    // Removed by its owner, then ending itself, and removed once more.
    owner->onTick = [ended] {
        RemoveProcess(ended);
        RemoveProcess(ended);
    };
    AddProcess(owner);
    AddProcess(ended);
    UpdateProcesses(0.01f);
    owner->onTick = nullptr;
    UpdateProcesses(0.01f);
    EXPECT_EQ(std::count(gEvents.begin(), gEvents.end(), "delete ended after 0.010000"), 1);
    EXPECT_EQ(CountProcesses(), 1);
}

TEST_F(ProcessList, RemovingAProcessThatIsNotListedDoesNothing)
{
    auto* listed = new Scripted("listed");
    Scripted stranger("stranger");
    AddProcess(listed);
    RemoveProcess(&stranger);
    RemoveProcess(nullptr);
    UpdateProcesses(0.01f);
    EXPECT_EQ(CountProcesses(), 1);
    EXPECT_EQ(gEvents, std::vector<std::string>{"tick listed"});
}

TEST_F(ProcessList, DeletingAProcessOutsideAPassUnlinksItAtOnce)
{
    auto* kept = new Scripted("kept");
    auto* dropped = new Scripted("dropped");
    auto* queued = new Scripted("queued");
    AddProcess(kept);
    AddProcess(dropped);
    AddProcess(queued);
    RemoveProcess(queued);
    delete dropped;
    delete queued; // also leaves the removal queue
    EXPECT_EQ(CountProcesses(), 1);
    gEvents.clear();
    UpdateProcesses(0.01f);
    EXPECT_EQ(gEvents, std::vector<std::string>{"tick kept"});
}

TEST_F(ProcessList, UnlinkTakesAProcessOutWithoutDeletingIt)
{
    auto* p = new Scripted("p");
    AddProcess(p);
    RemoveProcess(p);
    EXPECT_TRUE(Tandry::UnlinkProcess(p));
    EXPECT_FALSE(Tandry::UnlinkProcess(p));
    UpdateProcesses(0.01f);
    EXPECT_TRUE(gEvents.empty());
    delete p;
}

TEST_F(ProcessList, AProcessAddedByATickRunsInTheSamePass)
{
    auto* parent = new Scripted("parent", 1);
    parent->onTick = [] { AddProcess(new Scripted("child", 1)); };
    AddProcess(parent);
    UpdateProcesses(0.01f);
    EXPECT_EQ(gEvents, (std::vector<std::string>{"tick parent", "tick child", "delete parent after 0.010000",
                                                 "delete child after 0.010000"}));
}

TEST_F(ProcessList, AProcessDeletedByAnotherDuringAPassIsSkipped)
{
    auto* victim = new Scripted("victim");
    auto* killer = new Scripted("killer");
    auto* after = new Scripted("after");
    Scripted* target = victim;
    killer->onTick = [&target] {
        delete target;
        target = nullptr;
    };
    AddProcess(killer);
    AddProcess(victim);
    AddProcess(after);
    // The victim is queued too: deleting it also takes it out of the queue.
    RemoveProcess(victim);
    UpdateProcesses(0.01f);
    EXPECT_EQ(gEvents, (std::vector<std::string>{"tick killer", "delete victim after 0.000000", "tick after"}));
    EXPECT_EQ(CountProcesses(), 2);
    killer->onTick = nullptr;
    UpdateProcesses(0.01f);
    EXPECT_EQ(CountProcesses(), 2);
}

// Ends itself the wrong way, by deleting itself inside its tick.
class SelfDeleting : public Process {
public:
    ~SelfDeleting() override { gEvents.push_back("delete self"); }
    bool Tick(float, float) override
    {
        delete this;
        return true;
    }
};

TEST_F(ProcessList, AProcessDeletedDuringItsOwnTickIsNotTouchedAgain)
{
    AddProcess(new SelfDeleting);
    auto* after = new Scripted("after");
    AddProcess(after);
    UpdateProcesses(0.01f);
    EXPECT_EQ(gEvents, (std::vector<std::string>{"delete self", "tick after"}));
    EXPECT_EQ(CountProcesses(), 1);
}

TEST_F(ProcessList, FreeAllDeletesEveryProcessAndForgetsTheQueue)
{
    auto* a = new Scripted("a");
    auto* b = new Scripted("b");
    AddProcess(a);
    AddProcess(b);
    AddProcess(a); // listed once
    RemoveProcess(b);
    FreeAllProcesses();
    EXPECT_EQ(gEvents, (std::vector<std::string>{"delete a after 0.000000", "delete b after 0.000000"}));
    EXPECT_EQ(CountProcesses(), 0);
    UpdateProcesses(0.01f);
    EXPECT_EQ(gEvents.size(), 2u);
}

} // namespace
