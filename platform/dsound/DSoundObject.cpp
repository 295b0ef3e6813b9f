#include "platform/dsound/DSoundObject.h"

#include <cassert>

namespace Platform {

DSoundObject::DSoundObject(DSoundObjectKind kind)
    : mKind(kind)
{
    DSoundRuntime& runtime = DSoundRuntime::Get();
    std::lock_guard hold(runtime.Mutex());
    runtime.CountCreatedLocked(kind);
}

uint32_t DSoundObject::AddRef()
{
    std::lock_guard hold(DSoundRuntime::Get().Mutex());
    return ++mCount;
}

uint32_t DSoundObject::Release()
{
    DSoundRuntime& runtime = DSoundRuntime::Get();
    uint32_t left;
    {
        std::lock_guard hold(runtime.Mutex());
        assert(mCount > 0);
        left = --mCount;
        if (left == 0)
            runtime.CountDestroyedLocked(mKind);
    }
    // Outside the mutex: a buffer's destructor takes the mixer's lock.
    if (left == 0)
        delete this;
    return left;
}

} // namespace Platform
