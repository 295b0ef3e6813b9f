#include "platform/dsound/DSoundRuntime.h"

namespace Platform {

DSoundRuntime& DSoundRuntime::Get()
{
    static DSoundRuntime runtime;
    return runtime;
}

DSoundSettings DSoundRuntime::GetSettings()
{
    std::lock_guard hold(mMutex);
    return mSettings;
}

void DSoundRuntime::SetSettings(const DSoundSettings& settings)
{
    std::lock_guard hold(mMutex);
    mSettings = settings;
}

void DSoundRuntime::InjectFailure(DSoundOp op, HRESULT code, uint32_t count)
{
    std::lock_guard hold(mMutex);
    mFaults.push_back({op, code, count});
}

std::vector<DSoundCall> DSoundRuntime::GetCallLog()
{
    std::lock_guard hold(mMutex);
    return {mLog.begin(), mLog.end()};
}

void DSoundRuntime::ClearCallLog()
{
    std::lock_guard hold(mMutex);
    mLog.clear();
}

uint32_t DSoundRuntime::LiveCount(DSoundObjectKind kind)
{
    std::lock_guard hold(mMutex);
    return mLive[static_cast<size_t>(kind)];
}

void DSoundRuntime::Reset()
{
    std::lock_guard hold(mMutex);
    mSettings = DSoundSettings{};
    mFaults.clear();
    mLog.clear();
}

HRESULT DSoundRuntime::TakeFaultLocked(DSoundOp op)
{
    for (auto it = mFaults.begin(); it != mFaults.end(); ++it) {
        if (it->op != op)
            continue;
        const HRESULT code = it->code;
        if (--it->count == 0)
            mFaults.erase(it);
        return code;
    }
    return DS_OK;
}

void DSoundRuntime::LogLocked(const DSoundCall& call)
{
    mLog.push_back(call);
    if (mLog.size() > kLogLimit)
        mLog.pop_front();
}

} // namespace Platform
