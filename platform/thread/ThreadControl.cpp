#include "platform/thread/ThreadControl.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace Platform {

uint32_t ThreadControl::GetCurrentThreadId() const
{
    return static_cast<uint32_t>(syscall(SYS_gettid));
}

} // namespace Platform
