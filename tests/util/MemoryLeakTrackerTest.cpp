#include "util/MemoryLeakTracker.h"

#include "platform/debug/DebugOutput.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Tandry::MemoryLeakTracker;

const char kDate[] = "Wed Jun  5 10:03:09 2024\n";
const char kHeader[] = "Memory Leak Report for Wed Jun  5 10:03:09 2024\n\n";
const char kDashes[] = "-----------------------------------------------------------\n";

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class MemoryLeakTrackerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "leaks-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        mFolder = pattern;
        mTracker.SetReportFolder(mFolder);
        mTracker.SetDateSource([] { return std::string(kDate); });
        Platform::SetDebugSink([this](const std::string& text) { mDebug += text; });
    }

    void TearDown() override
    {
        Platform::SetDebugSink({});
        fs::remove_all(mFolder);
    }

    fs::path ReportPath() const { return mFolder / "mem_leaks.txt"; }

    fs::path mFolder;
    std::string mDebug;
    MemoryLeakTracker mTracker;
};

TEST_F(MemoryLeakTrackerTest, ReportText)
{
    struct Record {
        uintptr_t address;
        int size;
        const char* file;
        int line;
    };
    struct Case {
        const char* name;
        std::vector<Record> records;
        std::string body;
    };
    const Case cases[] = {
        {"no records", {}, std::string(kDashes) + "Total Unfreed: 0 bytes (0KB)\n\n"},
        {"one byte", {{0x1000, 1, "game\\Scene.cpp", 42}},
         std::string("game\\Scene.cpp(42) : Leak 1 byte\n") + kDashes + "Total Unfreed: 1 bytes (0KB)\n\n"},
        {"1536 bytes", {{0x2000, 1536, "Pool.cpp", 7}},
         std::string("Pool.cpp(7) : Leak 1536 bytes\n") + kDashes + "Total Unfreed: 1536 bytes (1KB)\n\n"},
        {"address order, plural rule, percent kept",
         {{0xFFFF0000u, 2, "b%d%s.cpp", 2}, {0x10, 0, "a.cpp", 1}, {0x20, 3000, "c.cpp", 3}},
         std::string("a.cpp(1) : Leak 0 byte\nc.cpp(3) : Leak 3000 bytes\nb%d%s.cpp(2) : Leak 2 bytes\n") + kDashes +
             "Total Unfreed: 3002 bytes (2KB)\n\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mTracker.Init();
        mDebug.clear();
        for (const Record& r : c.records)
            mTracker.AddRecord(r.address, r.size, r.file, r.line);
        mTracker.WriteReport();
        EXPECT_EQ(ReadFile(ReportPath()), kHeader + c.body);
        EXPECT_EQ(mDebug, std::string("\n") + kHeader + c.body);
    }
}

TEST_F(MemoryLeakTrackerTest, RemovedAndReplacedRecords)
{
    mTracker.AddRecord(0x10, 5, "gone.cpp", 1);
    mTracker.AddRecord(0x20, 6, "old.cpp", 2);
    mTracker.AddRecord(0x20, 7, "new.cpp", 3);
    mTracker.RemoveRecord(0x10);
    mTracker.RemoveRecord(0x30);
    mTracker.WriteReport();
    EXPECT_EQ(ReadFile(ReportPath()),
              kHeader + std::string("new.cpp(3) : Leak 7 bytes\n") + kDashes + "Total Unfreed: 7 bytes (0KB)\n\n");
}

TEST_F(MemoryLeakTrackerTest, LongFileNamesAreCut)
{
    const std::string longName(1000, 'x');
    mTracker.AddRecord(0x10, 1, longName.c_str(), 9);
    mTracker.AddRecord(0x20, 1, nullptr, 10);
    mTracker.WriteReport();
    const std::string cut(Tandry::AllocRecord::kFileCapacity - 1, 'x');
    EXPECT_EQ(ReadFile(ReportPath()), kHeader + cut + "(9) : Leak 1 byte\n(10) : Leak 1 byte\n" + kDashes +
                                          "Total Unfreed: 2 bytes (0KB)\n\n");
}

TEST_F(MemoryLeakTrackerTest, ReportAtExitOnlyWhenSwitchedOn)
{
    {
        MemoryLeakTracker quiet;
        quiet.SetReportFolder(mFolder);
        quiet.AddRecord(0x10, 4, "a.cpp", 1);
    }
    EXPECT_FALSE(fs::exists(ReportPath()));
    EXPECT_EQ(mDebug, "");

    {
        MemoryLeakTracker loud;
        loud.SetReportFolder(mFolder);
        loud.SetDateSource([] { return std::string(kDate); });
        loud.SetReportAtExit(true);
        loud.AddRecord(0x10, 4, "a.cpp", 1);
    }
    EXPECT_EQ(ReadFile(ReportPath()),
              kHeader + std::string("a.cpp(1) : Leak 4 bytes\n") + kDashes +
                  "Total Unfreed: 4 bytes (0KB)\n\n");
}

TEST_F(MemoryLeakTrackerTest, ResetEmptiesTheTableAndSwitchesTheReportOff)
{
    {
        MemoryLeakTracker tracker;
        tracker.SetReportFolder(mFolder);
        tracker.SetReportAtExit(true);
        tracker.AddRecord(0x10, 4, "a.cpp", 1);
        tracker.Shutdown();
        EXPECT_TRUE(fs::remove(ReportPath()));
        tracker.Reset();
        tracker.SetReportFolder(mFolder);
        tracker.SetDateSource([] { return std::string(kDate); });
        tracker.WriteReport();
        EXPECT_EQ(ReadFile(ReportPath()), kHeader + std::string(kDashes) + "Total Unfreed: 0 bytes (0KB)\n\n");
        fs::remove(ReportPath());
    }
    EXPECT_FALSE(fs::exists(ReportPath()));
}

TEST_F(MemoryLeakTrackerTest, NothingAfterShutdownOrWhenTheFileCannotBeOpened)
{
    mTracker.SetReportFolder(mFolder / "missing");
    mTracker.AddRecord(0x10, 4, "a.cpp", 1);
    mTracker.WriteReport();
    EXPECT_EQ(mDebug, "");

    mTracker.SetReportFolder(mFolder);
    mTracker.Shutdown();
    mTracker.AddRecord(0x20, 4, "b.cpp", 2);
    mTracker.WriteReport();
    EXPECT_FALSE(fs::exists(ReportPath()));
    EXPECT_EQ(mDebug, "");
}

// Shape letters: 'A' upper case, 'a' lower case, '9' digit, '_' space or
// digit; anything else must match exactly.
bool HasShape(const std::string& text, const std::string& shape)
{
    if (text.size() != shape.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool ok = shape[i] == 'A'   ? (c >= 'A' && c <= 'Z')
                        : shape[i] == 'a' ? (c >= 'a' && c <= 'z')
                        : shape[i] == '9' ? (c >= '0' && c <= '9')
                        : shape[i] == '_' ? (c == ' ' || (c >= '0' && c <= '9'))
                                          : c == shape[i];
        if (!ok)
            return false;
    }
    return true;
}

TEST_F(MemoryLeakTrackerTest, LocalDateHeaderHasTheAsctimeShape)
{
    mTracker.SetDateSource(nullptr);
    mTracker.WriteReport();
    const std::string report = ReadFile(ReportPath());
    const std::string prefix = "Memory Leak Report for ";
    const std::string dateShape = "Aaa Aaa _9 99:99:99 9999\n";
    ASSERT_GT(report.size(), prefix.size() + dateShape.size()) << report;
    EXPECT_EQ(report.substr(0, prefix.size()), prefix);
    EXPECT_TRUE(HasShape(report.substr(prefix.size(), dateShape.size()), dateShape)) << report;
    EXPECT_EQ(report.substr(prefix.size() + dateShape.size()),
              "\n" + std::string(kDashes) + "Total Unfreed: 0 bytes (0KB)\n\n");
}

TEST(AsctimeText, MatchesTheCLibraryLayout)
{
    struct Case {
        int year, month, day, weekday, hour, minute, second;
        const char* expected;
    };
    const Case cases[] = {
        {124, 5, 5, 3, 10, 3, 9, "Wed Jun  5 10:03:09 2024\n"},
        {99, 11, 31, 5, 23, 59, 59, "Fri Dec 31 23:59:59 1999\n"},
    };
    for (const Case& c : cases) {
        std::tm time{};
        time.tm_year = c.year;
        time.tm_mon = c.month;
        time.tm_mday = c.day;
        time.tm_wday = c.weekday;
        time.tm_hour = c.hour;
        time.tm_min = c.minute;
        time.tm_sec = c.second;
        EXPECT_EQ(Tandry::AsctimeText(time), c.expected);
    }
}

// The global tracker's tear-down is an exit handler: switching the report on
// makes a normal exit write it.
TEST(MemoryLeakTrackerGlobal, ExitWritesTheReportWhenSwitchedOn)
{
    // The child must see this folder, so it is forked, not started afresh.
    GTEST_FLAG_SET(death_test_style, "fast");
    std::string pattern = (fs::temp_directory_path() / "leaks-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path folder = pattern;
    EXPECT_EXIT(
        {
            MemoryLeakTracker& tracker = MemoryLeakTracker::Global();
            tracker.SetReportFolder(folder);
            tracker.SetDateSource([] { return std::string(kDate); });
            tracker.AddRecord(0x10, 2048, "exit.cpp", 5);
            tracker.SetReportAtExit(true);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadFile(folder / "mem_leaks.txt"),
              kHeader + std::string("exit.cpp(5) : Leak 2048 bytes\n") + kDashes + "Total Unfreed: 2048 bytes (2KB)\n\n");
    fs::remove_all(folder);
}

} // namespace
