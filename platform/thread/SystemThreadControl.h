// Thread priorities of a real run: a normal user process cannot raise its
// threads on Linux, and lowering them would only hurt, so nothing changes.
#pragma once

#include "platform/thread/ThreadControl.h"

namespace Platform {

class SystemThreadControl : public ThreadControl {
public:
    void SetCurrentThreadPriority(ThreadPriority) override {}
};

} // namespace Platform
