#include "util/SectionProfiler.h"

#include "util/SectionProfilerClock.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string_view>
#include <thread>
#include <vector>

namespace Tandry {
namespace {

// Case-insensitive order of the classic C library's stricmp, which compares
// lower-cased bytes.
struct CaseInsensitiveLess {
    using is_transparent = void;

    static unsigned char Lower(char c)
    {
        const auto u = static_cast<unsigned char>(c);
        return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
    }

    bool operator()(std::string_view a, std::string_view b) const
    {
        const size_t n = std::min(a.size(), b.size());
        for (size_t i = 0; i < n; ++i) {
            if (Lower(a[i]) != Lower(b[i]))
                return Lower(a[i]) < Lower(b[i]);
        }
        return a.size() < b.size();
    }
};

struct ProfilerState {
    int depth = 0;
    // Reused from the front; keeps its size between flushes.
    std::vector<ProfilerEvent> events;
    int eventCount = 0;
    std::map<std::string, SectionStats, CaseInsensitiveLess> sections;
    uint64_t startTicks = 0;
    uint64_t overheadTicks = 0;
    double totalMs = 0.0;
    int64_t ticksPerSecond = 0;
};

ProfilerState& State()
{
    static ProfilerState state;
    return state;
}

// Written by Start before profiling is switched on; compared by every mark.
std::atomic<std::thread::id> gProfilingThread{};

bool OnProfilingThread()
{
    return std::this_thread::get_id() == gProfilingThread.load(std::memory_order_relaxed);
}

void ProcessEvent(ProfilerState& state, const ProfilerEvent& event)
{
    const std::string_view name = event.name != nullptr ? event.name : "";
    auto found = state.sections.find(name);
    if (event.begin) {
        if (found == state.sections.end())
            found = state.sections.emplace(std::string(name), SectionStats{}).first;
        SectionStats& stats = found->second;
        ++stats.calls;
        if (stats.depth == 0)
            stats.beginTicks = event.ticks;
        ++stats.depth;
        return;
    }
    // An end with no open run (never begun, or closed already) would push the
    // depth below zero and leave every later run of the section untimed.
    if (found == state.sections.end() || found->second.depth == 0)
        return;
    SectionStats& stats = found->second;
    if (--stats.depth == 0) {
        const uint64_t run = event.ticks - stats.beginTicks;
        stats.totalTicks += run;
        if (static_cast<double>(run) > stats.longest)
            stats.longest = static_cast<double>(run);
    }
}

} // namespace

void SectionProfiler::BeginWhileOn(const char* name)
{
    if (!OnProfilingThread())
        return;
    ++State().depth;
    RecordEvent({name, ProfilerTicks(), true});
}

void SectionProfiler::EndWhileOn(const char* name)
{
    if (!OnProfilingThread())
        return;
    RecordEvent({name, ProfilerTicks(), false});
    if (--State().depth == 0)
        FlushEvents();
}

void SectionProfiler::RecordEvent(const ProfilerEvent& event)
{
    ProfilerState& state = State();
    if (state.eventCount == static_cast<int>(state.events.size()))
        state.events.push_back(event);
    else
        state.events[state.eventCount] = event;
    ++state.eventCount;
}

void SectionProfiler::FlushEvents()
{
    ProfilerState& state = State();
    const uint64_t t0 = ProfilerTicks();
    for (int i = 0; i < state.eventCount; ++i)
        ProcessEvent(state, state.events[i]);
    state.eventCount = 0;
    state.overheadTicks += ProfilerTicks() - t0;
}

void SectionProfiler::Start()
{
    ProfilerState& state = State();
    state.sections.clear();
    state.eventCount = 0;
    state.depth = 0;
    state.overheadTicks = 0;
    gProfilingThread.store(std::this_thread::get_id(), std::memory_order_relaxed);
    sEnabled.store(true, std::memory_order_release);
    state.startTicks = ProfilerTicks();
}

void SectionProfiler::Stop()
{
    ProfilerState& state = State();
    const uint64_t t = ProfilerTicks();
    FlushEvents();
    sEnabled.store(false, std::memory_order_release);
    const double f = static_cast<double>(GetTicksPerSecond());
    state.totalMs = static_cast<double>(t - state.startTicks - state.overheadTicks) * 1000.0 / f;
    for (auto& [name, stats] : state.sections) {
        stats.totalMs = static_cast<double>(stats.totalTicks) * 1000.0 / f;
        stats.longest = stats.longest * 1000.0 / f;
    }
}

std::string SectionProfiler::BuildReport()
{
    const ProfilerState& state = State();
    char line[512];
    std::snprintf(line, sizeof line, "Total Time: %.2f\n", state.totalMs);
    std::string report = line;
    for (const auto& [name, stats] : state.sections) {
        // A measurement that took no time at all has no shares to give.
        const double share = state.totalMs > 0.0 ? stats.totalMs / state.totalMs * 100.0 : 0.0;
        std::snprintf(line, sizeof line, "%s (%d calls, %%%.2f time): %.2f (%.2f avg, %.2f longest)\n",
                      name.c_str(), stats.calls, share, stats.totalMs, stats.totalMs / stats.calls,
                      stats.longest);
        report += line;
    }
    return report;
}

int64_t SectionProfiler::GetTicksPerSecond()
{
    ProfilerState& state = State();
    if (state.ticksPerSecond <= 0) {
        state.ticksPerSecond = MeasureTicksPerSecond();
        if (state.ticksPerSecond <= 0)
            state.ticksPerSecond = 1;
    }
    return state.ticksPerSecond;
}

void SectionProfiler::Reset()
{
    sEnabled.store(false, std::memory_order_release);
    gProfilingThread.store(std::thread::id{}, std::memory_order_relaxed);
    State() = ProfilerState{};
}

int64_t MeasureTicksPerSecond()
{
    // The clock states its own rate, so there is nothing to time against.
    return ProfilerTicksPerSecond();
}

} // namespace Tandry
