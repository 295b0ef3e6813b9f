// The one process list of the game: every board update ticks its processes in
// the order they were added and then deletes the ones that ended, in the
// order they were queued. The list stays valid while it is walked: a process
// added by a tick is ticked in the same pass, and one deleted by its owner
// during a pass leaves a null entry that the pass skips and purges.
#pragma once

class Process;

namespace Tandry {

// The list owns the process from now on. A null process, or one already in
// the list, is ignored.
void AddProcess(Process* process);
// Queues the process for deletion after the current pass (or the next one);
// a process not in the list, or already queued, is ignored.
void RemoveProcess(Process* process);
// Ticks every process with dt, then deletes the ended ones.
void UpdateProcesses(float dt);
// Takes the process out of the list (and the removal queue) without deleting
// it; false when it was not in the list.
bool UnlinkProcess(Process* process);
// Deletes every process and empties the list and the removal queue: the
// game's teardown, and the tests' reset.
void FreeAllProcesses();
// The processes in the list, in order (tests and diagnostics).
int CountProcesses();

} // namespace Tandry
