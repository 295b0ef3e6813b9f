#include "game/shell/ProcessList.h"

#include "game/shell/Process.h"

#include <algorithm>
#include <deque>
#include <vector>

namespace Tandry {

namespace {

struct ProcessListState {
    std::vector<Process*> processes;
    std::deque<Process*> removalQueue;
    // Passes in progress; while above 0 entries are nulled, not erased.
    int walking = 0;
    bool hasNullEntries = false;
};

ProcessListState& State()
{
    static ProcessListState state;
    return state;
}

std::vector<Process*>::iterator Find(Process* process)
{
    std::vector<Process*>& processes = State().processes;
    return std::find(processes.begin(), processes.end(), process);
}

void PurgeNullEntries()
{
    ProcessListState& state = State();
    if (state.walking > 0 || !state.hasNullEntries)
        return;
    std::erase(state.processes, nullptr);
    state.hasNullEntries = false;
}

// Out of the list and the queue, then deleted; the destructor sees removed.
void DeleteProcess(Process* process)
{
    UnlinkProcess(process);
    process->removed = true;
    delete process;
}

} // namespace

void AddProcess(Process* process)
{
    if (process == nullptr || Find(process) != State().processes.end())
        return;
    State().processes.push_back(process);
}

void RemoveProcess(Process* process)
{
    if (process == nullptr || Find(process) == State().processes.end() || process->queued)
        return;
    process->queued = true;
    State().removalQueue.push_back(process);
}

void UpdateProcesses(float dt)
{
    ProcessListState& state = State();
    ++state.walking;
    // The size is read again before each step: processes added by a tick are
    // ticked in this pass.
    for (size_t i = 0; i < state.processes.size(); ++i) {
        Process* process = state.processes[i];
        if (process == nullptr)
            continue;
        const bool keepRunning = process->Tick(dt, process->totalTime);
        // Deleted during its own tick: its entry was nulled and it is gone.
        if (state.processes[i] != process)
            continue;
        if (!keepRunning)
            RemoveProcess(process);
        process->totalTime += dt;
    }
    --state.walking;
    PurgeNullEntries();
    if (state.walking > 0)
        return;
    while (!state.removalQueue.empty())
        DeleteProcess(state.removalQueue.front());
}

bool UnlinkProcess(Process* process)
{
    ProcessListState& state = State();
    if (process == nullptr)
        return false;
    if (process->queued) {
        process->queued = false;
        const auto queued = std::find(state.removalQueue.begin(), state.removalQueue.end(), process);
        if (queued != state.removalQueue.end())
            state.removalQueue.erase(queued);
    }
    const auto it = Find(process);
    if (it == state.processes.end())
        return false;
    if (state.walking > 0) {
        *it = nullptr;
        state.hasNullEntries = true;
    } else {
        state.processes.erase(it);
    }
    return true;
}

void FreeAllProcesses()
{
    ProcessListState& state = State();
    // A destructor may add or delete processes; take one at a time.
    for (;;) {
        const auto it = std::find_if(state.processes.begin(), state.processes.end(),
                                     [](const Process* p) { return p != nullptr; });
        if (it == state.processes.end())
            break;
        DeleteProcess(*it);
    }
    state.removalQueue.clear();
    PurgeNullEntries();
}

int CountProcesses()
{
    const std::vector<Process*>& processes = State().processes;
    return static_cast<int>(std::count_if(processes.begin(), processes.end(),
                                          [](const Process* p) { return p != nullptr; }));
}

} // namespace Tandry
