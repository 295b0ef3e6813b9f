#include "util/SectionProfiler.h"

#include "util/SectionProfilerClock.h"
#include "util/SectionProfilerScope.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using Tandry::SectionProfiler;

// A clock the test moves by hand; each read may also step it, to show the
// profiler's own bookkeeping time being taken out of the total.
uint64_t gNow = 0;
uint64_t gStep = 0;

uint64_t TestTicks()
{
    const uint64_t now = gNow;
    gNow += gStep;
    return now;
}

class SectionProfilerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gNow = 0;
        gStep = 0;
        // One tick per millisecond keeps the report's numbers readable.
        Tandry::SetProfilerTickSource(&TestTicks, 1000);
        SectionProfiler::Reset();
    }

    void TearDown() override
    {
        SectionProfiler::Reset();
        Tandry::SetProfilerTickSource(nullptr, 0);
    }

    static void At(uint64_t now) { gNow = now; }
};

struct Mark {
    uint64_t at;
    bool begin;
    const char* name;
};

// Starts at the current time, makes each mark at its time, stops at stopAt.
std::string Measure(const std::vector<Mark>& marks, uint64_t stopAt)
{
    SectionProfiler::Start();
    for (const Mark& mark : marks) {
        gNow = mark.at;
        if (mark.begin)
            SectionProfiler::BeginSection(mark.name);
        else
            SectionProfiler::EndSection(mark.name);
    }
    gNow = stopAt;
    SectionProfiler::Stop();
    return SectionProfiler::BuildReport();
}

constexpr bool B = true;
constexpr bool E = false;

TEST_F(SectionProfilerTest, ReportsOfMarkSequences)
{
    struct Case {
        const char* name;
        std::vector<Mark> marks;
        uint64_t stopAt;
        const char* report;
    };
    const Case cases[] = {
        {"no sections", {}, 1234, "Total Time: 1234.00\n"},
        {"nested in itself: two calls, one run from the first begin to the last end",
         {{10, B, "A"}, {20, B, "A"}, {30, E, "A"}, {50, E, "A"}}, 100,
         "Total Time: 100.00\n"
         "A (2 calls, %40.00 time): 40.00 (20.00 avg, 40.00 longest)\n"},
        {"ends with no open run change nothing",
         {{5, E, "Ghost"}, {5, B, "A"}, {15, E, "A"}, {20, E, "A"}, {30, B, "A"}, {35, E, "A"}}, 100,
         "Total Time: 100.00\n"
         "A (2 calls, %15.00 time): 15.00 (7.50 avg, 10.00 longest)\n"},
        {"names merge whatever their case; lower-cased order puts '_' before letters; first spelling shown",
         {{0, B, "b"}, {10, E, "b"}, {10, B, "Draw"}, {20, E, "Draw"}, {20, B, "DRAW"}, {30, E, "draw"},
          {30, B, "A"}, {40, E, "A"}, {40, B, "_c"}, {50, E, "_c"},
          {50, B, "ResourceManager:GetImage"}, {60, E, "ResourceManager:GetImage"},
          {60, B, "ResourceManager::GetImage"}, {70, E, "ResourceManager::GetImage"}}, 100,
         "Total Time: 100.00\n"
         "_c (1 calls, %10.00 time): 10.00 (10.00 avg, 10.00 longest)\n"
         "A (1 calls, %10.00 time): 10.00 (10.00 avg, 10.00 longest)\n"
         "b (1 calls, %10.00 time): 10.00 (10.00 avg, 10.00 longest)\n"
         "Draw (2 calls, %20.00 time): 20.00 (10.00 avg, 10.00 longest)\n"
         "ResourceManager::GetImage (1 calls, %10.00 time): 10.00 (10.00 avg, 10.00 longest)\n"
         "ResourceManager:GetImage (1 calls, %10.00 time): 10.00 (10.00 avg, 10.00 longest)\n"},
        {"sections left open are counted but not timed", {{10, B, "Open"}}, 50,
         "Total Time: 50.00\n"
         "Open (1 calls, %0.00 time): 0.00 (0.00 avg, 0.00 longest)\n"},
        {"no time at all gives no shares", {{0, B, "Z"}, {0, E, "Z"}}, 0,
         "Total Time: 0.00\n"
         "Z (1 calls, %0.00 time): 0.00 (0.00 avg, 0.00 longest)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gNow = 0;
        EXPECT_EQ(Measure(c.marks, c.stopAt), c.report);
    }
}

TEST_F(SectionProfilerTest, ReportFormatWithOverheadTakenOut)
{
    // Every clock read moves the clock one tick, so each flush costs one tick
    // of bookkeeping: four flushes (three outermost ends and Stop) of 300 ticks.
    gStep = 1;
    EXPECT_EQ(Measure({{100, B, "A"}, {140, E, "A"}, {200, B, "B"}, {210, E, "B"}, {220, B, "B"}, {250, E, "B"}}, 300),
              "Total Time: 296.00\n"
              "A (1 calls, %13.51 time): 40.00 (40.00 avg, 40.00 longest)\n"
              "B (2 calls, %13.51 time): 40.00 (20.00 avg, 30.00 longest)\n");
}

TEST_F(SectionProfilerTest, MarksWhileOffAreNotCounted)
{
    SectionProfiler::BeginSection("Off");
    SectionProfiler::EndSection("Off");
    EXPECT_FALSE(SectionProfiler::IsEnabled());
    EXPECT_EQ(Measure({}, 10), "Total Time: 10.00\n");
    EXPECT_FALSE(SectionProfiler::IsEnabled());
    SectionProfiler::BeginSection("Off");
    SectionProfiler::EndSection("Off");
    EXPECT_EQ(SectionProfiler::BuildReport(), "Total Time: 10.00\n");
}

TEST_F(SectionProfilerTest, MarksFromAnotherThreadAreIgnored)
{
    SectionProfiler::Start();
    At(10);
    std::thread loader([] {
        SectionProfiler::BeginSection("Loader");
        Tandry::SectionProfilerScope scope("LoaderScope");
        SectionProfiler::BeginSection("Main");  // left open: must not hold off the main thread's flush
    });
    loader.join();
    SectionProfiler::BeginSection("Main");
    At(30);
    SectionProfiler::EndSection("Main");
    At(50);
    SectionProfiler::Stop();
    EXPECT_EQ(SectionProfiler::BuildReport(),
              "Total Time: 50.00\n"
              "Main (1 calls, %40.00 time): 20.00 (20.00 avg, 20.00 longest)\n");
}

TEST_F(SectionProfilerTest, ScopeEndsItsSectionOnce)
{
    SectionProfiler::Start();
    {
        Tandry::SectionProfilerScope scope("A");
        At(10);
        scope.Stop();
        At(20);
        SectionProfiler::BeginSection("A");
        At(30);
    }  // must not end the second run of A
    At(50);
    SectionProfiler::EndSection("A");
    At(100);
    SectionProfiler::Stop();
    EXPECT_EQ(SectionProfiler::BuildReport(),
              "Total Time: 100.00\n"
              "A (2 calls, %40.00 time): 40.00 (20.00 avg, 30.00 longest)\n");
}

TEST_F(SectionProfilerTest, TicksPerSecondIsCachedUntilResetAndNeverBelowOne)
{
    EXPECT_EQ(SectionProfiler::GetTicksPerSecond(), 1000);
    Tandry::SetProfilerTickSource(&TestTicks, 5);
    EXPECT_EQ(SectionProfiler::GetTicksPerSecond(), 1000);
    SectionProfiler::Reset();
    EXPECT_EQ(SectionProfiler::GetTicksPerSecond(), 5);

    Tandry::SetProfilerTickSource(&TestTicks, 0);
    SectionProfiler::Reset();
    EXPECT_EQ(SectionProfiler::GetTicksPerSecond(), 1);
}

TEST(SectionProfilerClock, SteadyClockInNanoseconds)
{
    Tandry::SetProfilerTickSource(nullptr, 0);
    EXPECT_EQ(Tandry::ProfilerTicksPerSecond(), 1000000000);
    EXPECT_EQ(Tandry::MeasureTicksPerSecond(), 1000000000);
    const uint64_t first = Tandry::ProfilerTicks();
    EXPECT_LE(first, Tandry::ProfilerTicks());
}

} // namespace
