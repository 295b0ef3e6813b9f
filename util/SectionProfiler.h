// Developer profiler: named sections of code are marked begin and end; while
// profiling is on every mark is stored as an event, and the events become
// per-section totals (calls, time, longest run) whenever the outermost open
// section ends. A developer key starts and stops a measurement and shows the
// report. While off, a mark costs one flag test.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace Tandry {

struct ProfilerEvent {
    const char* name;
    uint64_t ticks;
    bool begin;
};

struct SectionStats {
    uint64_t beginTicks = 0;  // of the current outermost run
    uint64_t totalTicks = 0;
    double totalMs = 0.0;     // filled by Stop
    double longest = 0.0;     // ticks while measuring, milliseconds after Stop
    int depth = 0;
    int calls = 0;
};

// Sections are told apart by name, whatever its case; names must live until
// the outermost section ends (program literals do). Only the thread that
// called Start is measured: the loading thread marks sections too, and its
// marks are ignored rather than mixed into the main thread's events.
class SectionProfiler {
public:
    static void BeginSection(const char* name)
    {
        if (sEnabled.load(std::memory_order_relaxed))
            BeginWhileOn(name);
    }
    static void EndSection(const char* name)
    {
        if (sEnabled.load(std::memory_order_relaxed))
            EndWhileOn(name);
    }
    static bool IsEnabled() { return sEnabled.load(std::memory_order_relaxed); }

    // Start and Stop run on the thread whose sections are measured.
    static void Start();
    static void Stop();
    // After Stop: "Total Time: ..." and one line per section in name order.
    static std::string BuildReport();
    // Measured once and cached; never below 1.
    static int64_t GetTicksPerSecond();

    // Everything back to its start-up state, the cached rate included.
    static void Reset();

private:
    static void BeginWhileOn(const char* name);
    static void EndWhileOn(const char* name);
    static void RecordEvent(const ProfilerEvent& event);
    static void FlushEvents();

    static inline std::atomic<bool> sEnabled{false};
};

int64_t MeasureTicksPerSecond();

} // namespace Tandry
