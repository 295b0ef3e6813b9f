// The thread service: the priority of the calling thread and a numeric id of
// it (for the primary-thread check and the crash text). The threads
// themselves are std::thread.
#pragma once

#include <cstdint>

namespace Platform {

enum class ThreadPriority { Normal, AboveNormal, Highest };

class ThreadControl {
public:
    virtual ~ThreadControl() = default;
    virtual void SetCurrentThreadPriority(ThreadPriority priority) = 0;
    // The kernel's id of the calling thread; unique among the live threads of the process.
    uint32_t GetCurrentThreadId() const;
};

} // namespace Platform
