// The miss statistics: when misses count as random clicking, what empties the
// list, and the stopped clock.
#include "game/hog/TStatistic.h"

#include "game/hog/MessageParam.h"
#include "game/hog/TMessenger.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Tandry::MessageParam;
using Tandry::TMessenger;

// Records every too-many-misses broadcast.
class PenaltyListener : public TMessenger {
public:
    PenaltyListener() { Subscribe(this, 53); }
    void OnMessage(int code, TMessenger* sender, MessageParam* param) override
    {
        if (code == 53) {
            senders.push_back(sender);
            values.push_back(param->value);
        }
    }
    std::vector<TMessenger*> senders;
    std::vector<int> values;
};

enum class Event { Miss, Found, Stop, Start };

struct Step {
    float at;  // clock time the ticks bring the statistics to first
    Event event;
};

struct Case {
    const char* name;
    std::vector<Step> steps;
    // Indices of the steps after which code 53 has been sent once more.
    std::vector<size_t> penalties;
};

class TStatisticTest : public testing::Test {
protected:
    void SetUp() override { Tandry::ResetMessageBus(); }
    void TearDown() override { Tandry::ResetMessageBus(); }

    static void TickTo(const Tandry::TStatistic& statistic, float at)
    {
        if (at <= statistic.GetElapsed())
            return;
        MessageParam tick(at - statistic.GetElapsed());
        Tandry::BroadcastMessage(nullptr, 0, &tick);
    }
};

TEST_F(TStatisticTest, ThreeMissesWithinTheWindowCountOnlyFromTheFourthListedOne)
{
    const auto m = Event::Miss;
    const Case cases[] = {
        {"three quick misses, then a fourth", {{0, m}, {1, m}, {2, m}, {2.5f, m}}, {3}},
        {"far apart, then close", {{0, m}, {5, m}, {10, m}, {12, m}, {12.5f, m}}, {4}},
        {"just over the window", {{0, m}, {3, m}, {6, m}, {6.1f, m}}, {}},
        {"exactly the window does not count", {{0, m}, {1, m}, {2, m}, {4, m}}, {}},
        {"a found item empties the list",
         {{0, m}, {1, m}, {2, m}, {2, Event::Found}, {3, m}, {3.5f, m}},
         {}},
        {"the next penalty needs four new misses",
         {{0, m}, {1, m}, {2, m}, {2.5f, m}, {2.6f, m}, {2.7f, m}, {2.8f, m}, {2.9f, m}},
         {3, 7}},
        {"a stopped clock neither runs nor records",
         {{0, Event::Stop}, {1, m}, {2, m}, {3, m}, {4, m}, {5, m}, {5, Event::Start}, {6, m}},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tandry::ResetMessageBus();
        Tandry::TStatistic statistic;
        PenaltyListener listener;
        std::vector<size_t> penalties;
        for (size_t i = 0; i < c.steps.size(); ++i) {
            TickTo(statistic, c.steps[i].at);
            switch (c.steps[i].event) {
            case Event::Miss: Tandry::BroadcastCode(nullptr, 52); break;
            case Event::Found: Tandry::BroadcastCode(nullptr, 43); break;
            case Event::Stop: Tandry::BroadcastCode(nullptr, 45); break;
            case Event::Start: Tandry::BroadcastCode(nullptr, 46); break;
            }
            if (listener.values.size() > penalties.size())
                penalties.push_back(i);
        }
        EXPECT_EQ(penalties, c.penalties);
        EXPECT_EQ(listener.values, std::vector<int>(c.penalties.size(), 20));
        for (TMessenger* sender : listener.senders)
            EXPECT_EQ(sender, &statistic);
        if (!c.penalties.empty() && c.penalties.back() + 1 == c.steps.size()) {
            EXPECT_TRUE(statistic.GetMisses().empty());
        }
    }
}

TEST_F(TStatisticTest, TheClockAddsTicksOnlyWhileItRuns)
{
    Tandry::TStatistic statistic;
    MessageParam tick(0.25f);
    Tandry::BroadcastMessage(nullptr, 0, &tick);
    Tandry::BroadcastMessage(nullptr, 0, &tick);
    Tandry::BroadcastCode(nullptr, 45);
    Tandry::BroadcastMessage(nullptr, 0, &tick);
    Tandry::BroadcastCode(nullptr, 52);
    EXPECT_FALSE(statistic.IsClockRunning());
    EXPECT_EQ(statistic.GetElapsed(), 0.5f);
    EXPECT_TRUE(statistic.GetMisses().empty());
    Tandry::BroadcastCode(nullptr, 46);
    Tandry::BroadcastMessage(nullptr, 0, &tick);
    Tandry::BroadcastCode(nullptr, 52);
    EXPECT_EQ(statistic.GetMisses(), std::vector<float>{0.75f});
}

// The board builds its statistics before it subscribes itself, so a miss
// is already counted when the board's own handler runs.
TEST_F(TStatisticTest, CountsAMissBeforeTheBoardSubscribedAfterIt)
{
    class Board : public TMessenger {
    public:
        explicit Board(const Tandry::TStatistic& statistic) : mStatistic(statistic) { Subscribe(this, 52); }
        void OnMessage(int, TMessenger*, MessageParam*) override { seen.push_back(mStatistic.GetMisses().size()); }
        std::vector<size_t> seen;

    private:
        const Tandry::TStatistic& mStatistic;
    };
    Tandry::TStatistic statistic;
    Board board(statistic);
    Tandry::BroadcastCode(nullptr, 52);
    Tandry::BroadcastCode(nullptr, 52);
    EXPECT_EQ(board.seen, (std::vector<size_t>{1, 2}));
}

} // namespace
