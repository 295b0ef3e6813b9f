// The shared state of the DirectDraw and Direct3D stand-ins: its settings, the failure
// injection table, the call log, the live count of each kind of object and the
// presenter. One internal mutex guards all of it and every object's reference
// count and state, because the loading thread creates and releases image
// surfaces while the main thread draws; pixel memory is not guarded.
#pragma once

#include "platform/ddraw/DDrawCallLog.h"
#include "platform/ddraw/DDrawFailureInjector.h"
#include "platform/ddraw/DDrawSettings.h"
#include "platform/ddraw/DisplayPresenter.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace Platform {

enum class DDrawObjectKind { DirectDraw, Surface, Clipper, Palette, Direct3D, Device };

class DDrawRuntime {
public:
    static DDrawRuntime& Get();

    // For tests and back ends; each takes the mutex itself.
    DDrawSettings GetSettings();
    void SetSettings(const DDrawSettings& settings);
    void InjectFailure(const DDrawFault& fault);
    void ClearFailures();
    std::vector<DDrawCall> GetCallLog();
    void ClearCallLog();
    // Whether calls are logged: a caller skips building costly details otherwise.
    bool LogsCalls();
    uint32_t LiveCount(DDrawObjectKind kind);
    // The presenter of the platform, unless a test put another in its place.
    void SetPresenter(std::shared_ptr<DisplayPresenter> presenter);
    std::shared_ptr<DisplayPresenter> GetPresenter();
    // Settings, failures and the log back to their start; live objects stay.
    void Reset();

    // For the stand-in's objects. The Locked forms expect the caller to hold Mutex().
    std::recursive_mutex& Mutex() { return mMutex; }
    const DDrawSettings& SettingsLocked() const { return mSettings; }
    HRESULT TakeFaultLocked(DDrawOp op, uint32_t caps, const IID* iid = nullptr);
    void LogLocked(DDrawCall call)
    {
        if (mSettings.logCalls)
            mLog.Add(std::move(call));
    }
    void CountCreatedLocked(DDrawObjectKind kind) { ++mLive[static_cast<size_t>(kind)]; }
    void CountDestroyedLocked(DDrawObjectKind kind) { --mLive[static_cast<size_t>(kind)]; }

    // The frame of every logged operation: under the mutex, an injected failure
    // for the call skips the body and changes nothing; either way the call is
    // logged with its result.
    template <class Body>
    HRESULT RunLogged(DDrawCall call, Body&& body)
    {
        std::lock_guard hold(mMutex);
        HRESULT result = TakeFaultLocked(call.op, call.caps, call.iid ? &*call.iid : nullptr);
        if (result == DD_OK)
            result = body();
        call.result = result;
        LogLocked(std::move(call));
        return result;
    }

private:
    DDrawRuntime();

    std::recursive_mutex mMutex;
    DDrawSettings mSettings;
    DDrawFailureInjector mFaults;
    DDrawCallLog mLog;
    std::array<uint32_t, 6> mLive{};
    std::shared_ptr<DisplayPresenter> mPresenter;
};

} // namespace Platform
