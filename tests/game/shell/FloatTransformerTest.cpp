// Value animators on the process list: the linear line's values and end,
// its bad durations, and listeners that disconnect or die while they are
// being notified.
#include "game/shell/FloatTrLine.h"
#include "game/shell/FloatTransformerListener.h"
#include "game/shell/ProcessList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

using Tandry::AddProcess;
using Tandry::CountProcesses;
using Tandry::FreeAllProcesses;
using Tandry::UpdateProcesses;

std::vector<std::string> gEvents;
int gLinesDeleted = 0;

class CountedLine : public FloatTrLine {
public:
    using FloatTrLine::FloatTrLine;
    ~CountedLine() override
    {
        ++gLinesDeleted;
        gEvents.push_back("line deleted");
    }
};

class Recorder : public FloatTransformerListener {
public:
    explicit Recorder(std::string recorderName) : name(std::move(recorderName)) {}
    void OnValueChanged(FloatTransformer* transformer, float value, int id) override
    {
        values.push_back(value);
        ids.push_back(id);
        if (onValue)
            onValue(transformer);
    }
    void OnFinished(FloatTransformer* transformer, int id) override
    {
        gEvents.push_back(name + " finished " + std::to_string(id));
        if (onFinished)
            onFinished(transformer);
    }
    std::string name;
    std::vector<float> values;
    std::vector<int> ids;
    std::function<void(FloatTransformer*)> onValue;
    std::function<void(FloatTransformer*)> onFinished;
};

// Notes whether the line is still there when it is ticked after it.
class Witness : public Process {
public:
    bool Tick(float, float) override
    {
        seenDeleted.push_back(gLinesDeleted);
        return true;
    }
    std::vector<int> seenDeleted;
};

class FloatTransformerTest : public testing::Test {
protected:
    void SetUp() override
    {
        FreeAllProcesses();
        gEvents.clear();
        gLinesDeleted = 0;
    }
    void TearDown() override { FreeAllProcesses(); }
};

// The values a line reports, worked out from its formula: speed (end -
// start) / duration, current += dt * speed, end once current passes it.
std::vector<float> LineModel(float start, float end, float duration, float dt)
{
    const float speed = (end - start) / duration;
    std::vector<float> values;
    float current = start;
    for (;;) {
        current += dt * speed;
        const bool done = end - start > 0.0f ? current >= end : current <= end;
        values.push_back(done ? end : current);
        if (done)
            return values;
    }
}

TEST_F(FloatTransformerTest, ALineReportsItsValuesAndEndsOnTheFiftyFirstTick)
{
    Recorder listener("r");
    auto* line = new CountedLine(0.0f, 1.0f, 0.5f, 7);
    line->AddListener(&listener);
    AddProcess(line);
    auto* witness = new Witness;
    AddProcess(witness);

    for (int i = 0; i < 60 && gLinesDeleted == 0; ++i)
        UpdateProcesses(0.01f);

    const std::vector<float> expected = LineModel(0.0f, 1.0f, 0.5f, 0.01f);
    ASSERT_EQ(expected.size(), 51u);
    EXPECT_EQ(listener.values, expected);
    EXPECT_FLOAT_EQ(listener.values[0], 0.02f);
    EXPECT_FLOAT_EQ(listener.values[1], 0.04f);
    EXPECT_EQ(listener.values.back(), 1.0f);
    EXPECT_EQ(listener.ids, std::vector<int>(51, 7));
    EXPECT_EQ(gEvents, (std::vector<std::string>{"r finished 7", "line deleted"}));
    // The witness after the line was ticked in the last update before the deletion.
    ASSERT_EQ(witness->seenDeleted.size(), 51u);
    EXPECT_EQ(witness->seenDeleted.back(), 0);
    EXPECT_TRUE(listener.senders.empty());
    EXPECT_EQ(CountProcesses(), 1);
}

TEST_F(FloatTransformerTest, ADescendingLineEndsOnExactlyItsEnd)
{
    Recorder listener("r");
    auto* line = new CountedLine(1.0f, 0.0f, 0.5f, 3);
    line->AddListener(&listener);
    AddProcess(line);
    for (int i = 0; i < 60 && gLinesDeleted == 0; ++i)
        UpdateProcesses(0.01f);
    EXPECT_EQ(listener.values, LineModel(1.0f, 0.0f, 0.5f, 0.01f));
    EXPECT_EQ(listener.values.back(), 0.0f);
    EXPECT_EQ(gLinesDeleted, 1);
}

TEST_F(FloatTransformerTest, ADurationThatIsNoPositiveNumberEndsOnTheFirstTick)
{
    const float durations[] = {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(),
                               std::numeric_limits<float>::infinity()};
    const std::pair<float, float> ranges[] = {{0.0f, 1.0f}, {2.0f, 2.0f}};
    for (float duration : durations) {
        for (const auto& [start, end] : ranges) {
            for (float dt : {0.01f, 0.0f}) {
                SCOPED_TRACE(testing::Message() << duration << " " << start << ".." << end << " dt " << dt);
                gEvents.clear();
                gLinesDeleted = 0;
                Recorder listener("r");
                auto* line = new CountedLine(start, end, duration, 1);
                line->AddListener(&listener);
                AddProcess(line);
                UpdateProcesses(dt);
                EXPECT_EQ(listener.values, std::vector<float>{end});
                EXPECT_EQ(gEvents, (std::vector<std::string>{"r finished 1", "line deleted"}));
            }
        }
    }
}

TEST_F(FloatTransformerTest, AnAnimatorWhoseOnlyListenerDiedStopsOnItsNextTick)
{
    auto listener = std::make_unique<Recorder>("r");
    auto* line = new CountedLine(0.0f, 1.0f, 10.0f, 1);
    line->AddListener(listener.get());
    AddProcess(line);
    UpdateProcesses(0.01f);
    listener.reset();
    EXPECT_TRUE(line->listeners.empty());
    EXPECT_TRUE(line->receivers.empty());
    UpdateProcesses(0.01f);
    EXPECT_EQ(gLinesDeleted, 1);
}

TEST_F(FloatTransformerTest, AnAnimatorDeletedFirstLeavesNoEntryInItsListeners)
{
    Recorder first("a");
    Recorder second("b");
    auto* line = new CountedLine(0.0f, 1.0f, 10.0f, 1);
    line->AddListener(&first);
    line->AddListener(&second);
    AddProcess(line);
    delete line;
    EXPECT_TRUE(first.senders.empty());
    EXPECT_TRUE(second.senders.empty());
    EXPECT_EQ(CountProcesses(), 0);
}

TEST_F(FloatTransformerTest, AListenerLeavingWithDeferredOneDoesNotHideTheOthers)
{
    Recorder leaving("a");
    Recorder staying("b");
    auto* line = new CountedLine(0.0f, 1.0f, 10.0f, 1);
    leaving.onValue = [&leaving](FloatTransformer* t) { leaving.Disconnect(1, t); };
    line->AddListener(&leaving);
    line->AddListener(&staying);
    AddProcess(line);
    UpdateProcesses(0.01f);
    UpdateProcesses(0.01f);
    EXPECT_EQ(leaving.values.size(), 1u);
    EXPECT_EQ(staying.values.size(), 2u);
    EXPECT_EQ(line->listeners, std::vector<FloatTransformerListener*>{&staying});
    EXPECT_FALSE(line->hasNullListeners);
}

TEST_F(FloatTransformerTest, AListenerDeletingItselfWhileNotifiedIsSafe)
{
    for (bool inFinished : {false, true}) {
        SCOPED_TRACE(inFinished ? "in OnFinished" : "in OnValueChanged");
        gEvents.clear();
        auto* first = new Recorder("a");
        auto* suicidal = new Recorder("self");
        auto* last = new Recorder("c");
        auto* line = new CountedLine(0.0f, 1.0f, 0.01f, 1);
        const auto die = [suicidal](FloatTransformer*) { delete suicidal; };
        (inFinished ? suicidal->onFinished : suicidal->onValue) = die;
        for (Recorder* r : {first, suicidal, last})
            line->AddListener(r);
        AddProcess(line);
        UpdateProcesses(0.01f);
        const std::vector<std::string> expected =
            inFinished ? std::vector<std::string>{"a finished 1", "self finished 1", "c finished 1", "line deleted"}
                       : std::vector<std::string>{"a finished 1", "c finished 1", "line deleted"};
        EXPECT_EQ(gEvents, expected);
        EXPECT_EQ(last->values.size(), 1u);
        delete first;
        delete last;
    }
}

// An owner holds its animator and deletes it when it goes, as boards do.
struct Owner {
    ~Owner() { delete line; }
    FloatTrLine* line = nullptr;
};

TEST_F(FloatTransformerTest, AListenerDeletingTheAnimatorsOwnerStopsTheNotifications)
{
    auto* owner = new Owner;
    owner->line = new CountedLine(0.0f, 1.0f, 10.0f, 1);
    Recorder killer("killer");
    Recorder later("later");
    killer.onValue = [owner](FloatTransformer*) { delete owner; };
    owner->line->AddListener(&killer);
    owner->line->AddListener(&later);
    AddProcess(owner->line);
    auto* witness = new Witness;
    AddProcess(witness);
    UpdateProcesses(0.01f);
    EXPECT_EQ(gLinesDeleted, 1);
    EXPECT_TRUE(later.values.empty());
    EXPECT_TRUE(killer.senders.empty());
    EXPECT_TRUE(later.senders.empty());
    EXPECT_EQ(witness->seenDeleted, std::vector<int>{1});
    EXPECT_EQ(CountProcesses(), 1);
}

TEST_F(FloatTransformerTest, ASpeedSourcesValuesBecomeTheSpeed)
{
    // The source rises 0.5 per second; the follower moves by what it reports.
    auto* source = new CountedLine(0.0f, 5.0f, 10.0f, 1);
    auto* follower = new FloatTrLine(0.0f, 100.0f, 1000.0f, 2);
    Recorder keepSourceAlive("s");
    Recorder watcher("w");
    source->AddListener(&keepSourceAlive);
    follower->AddListener(&watcher);
    follower->SetSpeedSource(source);
    EXPECT_EQ(follower->GetStartValue(), 0.0f);
    AddProcess(source);
    AddProcess(follower);

    UpdateProcesses(0.5f);
    EXPECT_EQ(follower->speed, 0.25f);
    EXPECT_EQ(follower->GetSpeed(), 0.25f);
    UpdateProcesses(0.5f);
    EXPECT_EQ(follower->speed, 0.5f);
    EXPECT_EQ(watcher.values, (std::vector<float>{0.5f * 0.25f, 0.5f * 0.25f + 0.5f * 0.5f}));

    delete source;
    EXPECT_EQ(follower->speedSource, nullptr);
    UpdateProcesses(0.5f);
    EXPECT_EQ(follower->speed, 0.5f);
}

TEST_F(FloatTransformerTest, TheBaseStartValueIsATinyFirstStep)
{
    // A transformer without its own start value reports its first step's value.
    class Doubler : public FloatTransformer {
    public:
        Doubler() : FloatTransformer(0) { speed = 3.0f; }
        void Step(float dt, float elapsed, float currentSpeed, float* value, bool* finished) override
        {
            *value = dt * currentSpeed + elapsed;
            *finished = false;
        }
    };
    Doubler doubler;
    EXPECT_FLOAT_EQ(doubler.GetStartValue(), 0.00003f);
}

} // namespace
