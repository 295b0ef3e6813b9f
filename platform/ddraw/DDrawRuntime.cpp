#include "platform/ddraw/DDrawRuntime.h"

#include "platform/Platform.h"

namespace Platform {
DDrawRuntime::DDrawRuntime() = default;

DDrawRuntime& DDrawRuntime::Get()
{
    static DDrawRuntime runtime;
    return runtime;
}

DDrawSettings DDrawRuntime::GetSettings()
{
    std::lock_guard hold(mMutex);
    return mSettings;
}

void DDrawRuntime::SetSettings(const DDrawSettings& settings)
{
    std::lock_guard hold(mMutex);
    mSettings = settings;
    mSettings.pitchPadding = (mSettings.pitchPadding + 3u) & ~3u;
}

void DDrawRuntime::InjectFailure(const DDrawFault& fault)
{
    std::lock_guard hold(mMutex);
    mFaults.Add(fault);
}

void DDrawRuntime::ClearFailures()
{
    std::lock_guard hold(mMutex);
    mFaults.Clear();
}

std::vector<DDrawCall> DDrawRuntime::GetCallLog()
{
    std::lock_guard hold(mMutex);
    return mLog.Entries();
}

bool DDrawRuntime::LogsCalls()
{
    std::lock_guard hold(mMutex);
    return mSettings.logCalls;
}

void DDrawRuntime::ClearCallLog()
{
    std::lock_guard hold(mMutex);
    mLog.Clear();
}

uint32_t DDrawRuntime::LiveCount(DDrawObjectKind kind)
{
    std::lock_guard hold(mMutex);
    return mLive[static_cast<size_t>(kind)];
}

void DDrawRuntime::SetPresenter(std::shared_ptr<DisplayPresenter> presenter)
{
    std::lock_guard hold(mMutex);
    mPresenter = std::move(presenter);
}

std::shared_ptr<DisplayPresenter> DDrawRuntime::GetPresenter()
{
    std::lock_guard hold(mMutex);
    if (mPresenter)
        return mPresenter;
    // The platform owns its presenter; the pointer shares no ownership.
    return std::shared_ptr<DisplayPresenter>(std::shared_ptr<void>(), &GetPlatform().GetPresenter());
}

void DDrawRuntime::Reset()
{
    std::lock_guard hold(mMutex);
    mSettings = DDrawSettings{};
    mFaults.Clear();
    mLog.Clear();
}

HRESULT DDrawRuntime::TakeFaultLocked(DDrawOp op, uint32_t caps, const IID* iid)
{
    return mFaults.Take(op, caps, iid);
}

} // namespace Platform
