#include "app/util/SectionProfiler.h"

#include "app/util/SectionProfilerClock.h"
#include "app/util/SectionProfilerScope.h"

#include <gtest/gtest.h>

#include <thread>

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

TEST_F(SectionProfilerTest, ReportFormatWithOverheadTakenOut)
{
    gStep = 1;
    SectionProfiler::Start();              // reads 0
    At(100);
    SectionProfiler::BeginSection("A");    // 100
    At(140);
    SectionProfiler::EndSection("A");      // 140, flush reads 141 and 142
    At(200);
    SectionProfiler::BeginSection("B");    // 200
    At(210);
    SectionProfiler::EndSection("B");      // 210, flush 211 and 212
    At(220);
    SectionProfiler::BeginSection("B");    // 220
    At(250);
    SectionProfiler::EndSection("B");      // 250, flush 251 and 252
    At(300);
    SectionProfiler::Stop();               // 300, flush 301 and 302

    // 300 ticks less 4 spent flushing: 296 ms.
    EXPECT_EQ(SectionProfiler::BuildReport(),
              "Total Time: 296.00\n"
              "A (1 calls, %13.51 time): 40.00 (40.00 avg, 40.00 longest)\n"
              "B (2 calls, %13.51 time): 40.00 (20.00 avg, 30.00 longest)\n");
}

TEST_F(SectionProfilerTest, SectionNestedInItselfIsTwoCallsAndOneRun)
{
    SectionProfiler::Start();
    At(10);
    SectionProfiler::BeginSection("A");
    At(20);
    SectionProfiler::BeginSection("A");
    At(30);
    SectionProfiler::EndSection("A");
    At(50);
    SectionProfiler::EndSection("A");
    At(100);
    SectionProfiler::Stop();
    EXPECT_EQ(SectionProfiler::BuildReport(),
              "Total Time: 100.00\n"
              "A (2 calls, %40.00 time): 40.00 (20.00 avg, 40.00 longest)\n");
}

TEST_F(SectionProfilerTest, NamesMergeWhateverTheirCaseAndSortCaseInsensitively)
{
    SectionProfiler::Start();
    const char* names[] = {"b", "Draw", "DRAW", "A", "_c", "ResourceManager:GetImage", "ResourceManager::GetImage"};
    for (const char* name : names) {
        SectionProfiler::BeginSection(name);
        gNow += 10;
        SectionProfiler::EndSection(name);
    }
    At(100);
    SectionProfiler::Stop();
    // Lower-cased order puts '_' before letters; the first spelling of a name is the one shown.
    EXPECT_EQ(SectionProfiler::BuildReport(),
              "Total Time: 100.00\n"
              "_c (1 calls, %10.00 time): 10.00 (10.00 avg, 10.00 longest)\n"
              "A (1 calls, %10.00 time): 10.00 (10.00 avg, 10.00 longest)\n"
              "b (1 calls, %10.00 time): 10.00 (10.00 avg, 10.00 longest)\n"
              "Draw (2 calls, %20.00 time): 20.00 (10.00 avg, 10.00 longest)\n"
              "ResourceManager::GetImage (1 calls, %10.00 time): 10.00 (10.00 avg, 10.00 longest)\n"
              "ResourceManager:GetImage (1 calls, %10.00 time): 10.00 (10.00 avg, 10.00 longest)\n");
}

TEST_F(SectionProfilerTest, EndWithoutOpenRunChangesNothing)
{
    SectionProfiler::Start();
    At(5);
    SectionProfiler::EndSection("Ghost");
    SectionProfiler::BeginSection("A");
    At(15);
    SectionProfiler::EndSection("A");
    At(20);
    SectionProfiler::EndSection("A");  // already closed
    At(30);
    SectionProfiler::BeginSection("A");
    At(35);
    SectionProfiler::EndSection("A");
    At(100);
    SectionProfiler::Stop();
    EXPECT_EQ(SectionProfiler::BuildReport(),
              "Total Time: 100.00\n"
              "A (2 calls, %15.00 time): 15.00 (7.50 avg, 10.00 longest)\n");
}

TEST_F(SectionProfilerTest, StopWithNoSectionsReportsOnlyTheTotal)
{
    SectionProfiler::Start();
    At(1234);
    SectionProfiler::Stop();
    EXPECT_EQ(SectionProfiler::BuildReport(), "Total Time: 1234.00\n");
    EXPECT_FALSE(SectionProfiler::IsEnabled());

    // Marks while off are not counted.
    SectionProfiler::BeginSection("Off");
    SectionProfiler::EndSection("Off");
    SectionProfiler::Start();
    SectionProfiler::Stop();
    EXPECT_EQ(SectionProfiler::BuildReport(), "Total Time: 0.00\n");
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
