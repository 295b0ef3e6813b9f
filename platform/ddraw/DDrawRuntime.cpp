#include "platform/ddraw/DDrawRuntime.h"

namespace Platform {
namespace {

// Answers when no back end installed a presenter: a desktop with no window on it.
class WindowlessPresenter final : public DisplayPresenter {
public:
    void GetDesktopSize(uint32_t& width, uint32_t& height) override
    {
        width = 1024;
        height = 768;
    }
    bool GetClientRectOnScreen(HWND, RECT&) override { return false; }
    uint32_t GetMonitorFrequency(HWND) override { return DDrawRuntime::Get().GetSettings().monitorFrequency; }
    void SetFullScreen(HWND, bool) override {}
    void Present(HWND, bool, const PresentedSurface&, const RECT&) override {}
};

} // namespace

DDrawRuntime::DDrawRuntime() : mFallbackPresenter(std::make_shared<WindowlessPresenter>()) {}

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
    return mPresenter ? mPresenter : mFallbackPresenter;
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
