// Headless thread priorities: nothing changes, but every request is recorded
// with the thread that made it, and the last one of each thread is kept.
#pragma once

#include "platform/thread/ThreadControl.h"

#include <map>
#include <mutex>
#include <vector>

namespace Platform {

class HeadlessThreadControl : public ThreadControl {
public:
    struct Change {
        uint32_t threadId;
        ThreadPriority priority;
    };

    void SetCurrentThreadPriority(ThreadPriority priority) override;
    // Normal for a thread that never asked.
    ThreadPriority GetPriorityOf(uint32_t threadId);
    std::vector<Change> GetChanges();

private:
    std::mutex mLock;
    std::map<uint32_t, ThreadPriority> mCurrent;
    std::vector<Change> mChanges;
};

} // namespace Platform
