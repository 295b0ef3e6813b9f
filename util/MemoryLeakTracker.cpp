#include "util/MemoryLeakTracker.h"

#include "platform/debug/DebugOutput.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace Tandry {
namespace {

std::string LocalDateText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return AsctimeText(local);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Each line goes to the debug output and the file as built, never through a
// format again, so a '%' in a file name stays as it is.
void Emit(std::FILE* file, const std::string& line)
{
    Platform::OutputDebugText(line);
    std::fputs(line.c_str(), file);
}

} // namespace

std::string AsctimeText(const std::tm& time)
{
    static const char kDays[7][4] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char kMonths[12][4] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const char* day = time.tm_wday >= 0 && time.tm_wday < 7 ? kDays[time.tm_wday] : "???";
    const char* month = time.tm_mon >= 0 && time.tm_mon < 12 ? kMonths[time.tm_mon] : "???";
    char text[64];
    std::snprintf(text, sizeof text, "%.3s %.3s%3d %.2d:%.2d:%.2d %d\n", day, month, time.tm_mday,
                  time.tm_hour, time.tm_min, time.tm_sec, 1900 + time.tm_year);
    return text;
}

MemoryLeakTracker& MemoryLeakTracker::Global()
{
    // Never destroyed: allocations on other threads may still be recorded
    // while exit handlers run, so the lock has to outlive them.
    static MemoryLeakTracker* tracker = [] {
        auto* created = new MemoryLeakTracker;
        std::atexit([] { Global().Shutdown(); });
        return created;
    }();
    return *tracker;
}

void MemoryLeakTracker::Init()
{
    CritSectLock hold(mLock);
    mRecords.clear();
    mAlive = true;
}

void MemoryLeakTracker::Shutdown()
{
    CritSectLock hold(mLock);
    if (mReportAtExit)
        WriteReport();
    mAlive = false;
    mRecords.clear();
}

void MemoryLeakTracker::AddRecord(uintptr_t address, int size, const char* file, int line)
{
    CritSectLock hold(mLock);
    if (!mAlive)
        return;
    AllocRecord record;
    record.size = size;
    record.line = line;
    if (file != nullptr)
        std::snprintf(record.file, sizeof record.file, "%s", file);
    mRecords.insert_or_assign(address, record);
}

void MemoryLeakTracker::RemoveRecord(uintptr_t address)
{
    CritSectLock hold(mLock);
    mRecords.erase(address);
}

void MemoryLeakTracker::SetReportAtExit(bool on)
{
    CritSectLock hold(mLock);
    mReportAtExit = on;
}

void MemoryLeakTracker::SetReportFolder(const std::filesystem::path& folder)
{
    CritSectLock hold(mLock);
    mReportFolder = folder;
}

void MemoryLeakTracker::SetDateSource(DateSource source)
{
    CritSectLock hold(mLock);
    mDateSource = std::move(source);
}

void MemoryLeakTracker::Reset()
{
    CritSectLock hold(mLock);
    mReportAtExit = false;
    mReportFolder.clear();
    mDateSource = nullptr;
    Init();
}

void MemoryLeakTracker::WriteReport()
{
    CritSectLock hold(mLock);
    if (!mAlive)
        return;
    const std::filesystem::path path = mReportFolder / "mem_leaks.txt";
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "w"));
    if (!file)
        return;

    const std::string header = "Memory Leak Report for " + (mDateSource ? mDateSource() : LocalDateText()) + "\n";
    std::fputs(header.c_str(), file.get());
    Platform::OutputDebugText("\n" + header);

    // The sum of int sizes can pass INT_MAX; it is printed the same way below that.
    int64_t total = 0;
    char line[AllocRecord::kFileCapacity + 64];
    for (const auto& [address, record] : mRecords) {
        std::snprintf(line, sizeof line, "%s(%d) : Leak %d byte%s\n", record.file, record.line, record.size,
                      record.size > 1 ? "s" : "");
        Emit(file.get(), line);
        total += record.size;
    }
    Emit(file.get(), "-----------------------------------------------------------\n");
    std::snprintf(line, sizeof line, "Total Unfreed: %" PRId64 " bytes (%" PRId64 "KB)\n\n", total, total / 1024);
    Emit(file.get(), line);
}

} // namespace Tandry
