// Something the current board advances once per update until it reports
// that it is done: value animators and the like. The process list (see
// ProcessList.h) owns every process added to it and deletes it after the
// pass in which it ended.
#pragma once

class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    // A process deleted by its owner leaves the list at once.
    virtual ~Process();

    // elapsed: the seconds it has run before this tick. False ends it.
    virtual bool Tick(float dt, float elapsed) = 0;

    // Seconds run so far, summed after each tick.
    float totalTime = 0.0f;
    // Set when the process list itself deletes it.
    bool removed = false;
    // Waiting in the removal queue; a process is queued at most once.
    bool queued = false;
};
