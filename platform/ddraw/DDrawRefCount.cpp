#include "platform/ddraw/DDrawRefCount.h"

#include <cassert>

namespace Platform {

DDrawRefCount::DDrawRefCount(DDrawObjectKind kind) : mKind(kind)
{
    DDrawRuntime& runtime = DDrawRuntime::Get();
    std::lock_guard hold(runtime.Mutex());
    runtime.CountCreatedLocked(kind);
}

DDrawRefCount::~DDrawRefCount()
{
    DDrawRuntime& runtime = DDrawRuntime::Get();
    std::lock_guard hold(runtime.Mutex());
    runtime.CountDestroyedLocked(mKind);
}

uint32_t DDrawRefCount::AddRefCount()
{
    std::lock_guard hold(DDrawRuntime::Get().Mutex());
    return ++mCount;
}

uint32_t DDrawRefCount::ReleaseCount()
{
    uint32_t left;
    {
        std::lock_guard hold(DDrawRuntime::Get().Mutex());
        assert(mCount > 0 && "DirectDraw object released more often than referenced");
        if (mCount == 0)
            return 0;
        left = --mCount;
    }
    // Outside the mutex: the destructor may release other objects and tell the presenter.
    if (left == 0)
        delete this;
    return left;
}

} // namespace Platform
