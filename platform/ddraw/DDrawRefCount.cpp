#include "platform/ddraw/DDrawRefCount.h"

#include "platform/ddraw/DDrawConstants.h"

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

HRESULT DDrawRefCount::AnswerQuery(REFIID iid, void** out, uint32_t caps, std::initializer_list<Answer> answers)
{
    if (out != nullptr)
        *out = nullptr;
    return DDrawRuntime::Get().RunLogged(DDrawCall::OfInterface(DDrawOp::QueryInterface, caps, iid), [&]() -> HRESULT {
        if (out == nullptr)
            return DDERR_INVALIDPARAMS;
        for (const Answer& answer : answers) {
            if (answer.iid == iid) {
                ++mCount;
                *out = answer.pointer;
                return DD_OK;
            }
        }
        return E_NOINTERFACE;
    });
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
