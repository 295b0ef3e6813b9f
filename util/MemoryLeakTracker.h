// Developer aid: a table of live heap allocations (size and the source line
// that made them) and a report of the ones still present at exit, written to
// "mem_leaks.txt" and the debug output. Nothing records allocations and the
// report at exit is off unless a developer switches it on.
#pragma once

#include "util/CritSectLock.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

namespace Tandry {

struct AllocRecord {
    static constexpr int kFileCapacity = 260;

    int size = 0;
    char file[kFileCapacity] = {};
    int line = 0;
};

class MemoryLeakTracker {
public:
    // The local date and time followed by a line break, as asctime writes it.
    using DateSource = std::function<std::string()>;

    MemoryLeakTracker() { Init(); }
    // Tear-down: the report first when it is switched on.
    ~MemoryLeakTracker() { Shutdown(); }
    MemoryLeakTracker(const MemoryLeakTracker&) = delete;
    MemoryLeakTracker& operator=(const MemoryLeakTracker&) = delete;

    // The process's tracker; its Shutdown runs at exit.
    static MemoryLeakTracker& Global();

    // Empties the table and makes the tracker alive.
    void Init();
    void Shutdown();
    void WriteReport();

    // A later record at the same address replaces the earlier one. The file
    // name is cut to fit AllocRecord::file.
    void AddRecord(uintptr_t address, int size, const char* file, int line);
    void RemoveRecord(uintptr_t address);

    void SetReportAtExit(bool on);
    // Where "mem_leaks.txt" goes; empty means the current directory.
    void SetReportFolder(const std::filesystem::path& folder);
    // Null restores the local clock.
    void SetDateSource(DateSource source);
    // Back to the state right after start-up: alive, empty, report off,
    // current directory, local clock.
    void Reset();

private:
    CriticalSection mLock;
    std::map<uintptr_t, AllocRecord> mRecords;
    bool mAlive = false;
    bool mReportAtExit = false;
    std::filesystem::path mReportFolder;
    DateSource mDateSource;
};

// The text asctime gives for a time, e.g. "Wed Jun  5 10:03:09 2024\n",
// built without the C library's shared buffer or locale.
std::string AsctimeText(const std::tm& time);

} // namespace Tandry
