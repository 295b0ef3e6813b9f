// The shared state of the DirectSound stand-in: its settings, the injected
// failures, the call log and the live count of each kind of object. One
// mutex guards all of it and every object's reference count; the voices' own
// state is the mixer's, under the mixer's lock, taken after this one.
#pragma once

#include "platform/dsound/DSoundOp.h"
#include "platform/dsound/DSoundTypes.h"

#include <array>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

namespace Platform {

struct DSoundSettings {
    // The largest secondary buffer accepted; tests and fuzz targets lower it.
    uint32_t maxBufferBytes = 0x0FFFFFFF;
};

struct DSoundCall {
    DSoundOp op = DSoundOp::DirectSoundCreate;
    // The call's one number: the level, the buffer's flags, the play flags,
    // the lock's byte count, the volume, pan, frequency or position.
    int64_t value = 0;
    std::optional<DSoundWaveFormat> format; // CreateSoundBuffer, SetFormat
    HRESULT result = DS_OK;

    static DSoundCall Of(DSoundOp op, int64_t value = 0)
    {
        DSoundCall call;
        call.op = op;
        call.value = value;
        return call;
    }
};

enum class DSoundObjectKind { DirectSound, Buffer };

class DSoundRuntime {
public:
    static constexpr size_t kLogLimit = 65536;

    static DSoundRuntime& Get();

    // For tests; each takes the mutex itself.
    DSoundSettings GetSettings();
    void SetSettings(const DSoundSettings& settings);
    // The next count calls of op fail with code and change nothing.
    void InjectFailure(DSoundOp op, HRESULT code, uint32_t count = 1);
    std::vector<DSoundCall> GetCallLog();
    void ClearCallLog();
    uint32_t LiveCount(DSoundObjectKind kind);
    // Settings, failures and the log back to their start; live objects stay.
    void Reset();

    // For the stand-in's objects.
    std::recursive_mutex& Mutex() { return mMutex; }
    const DSoundSettings& SettingsLocked() const { return mSettings; }
    void CountCreatedLocked(DSoundObjectKind kind) { ++mLive[static_cast<size_t>(kind)]; }
    void CountDestroyedLocked(DSoundObjectKind kind) { --mLive[static_cast<size_t>(kind)]; }

    // The frame of every logged operation: under the mutex, an injected
    // failure skips the body and changes nothing; either way the call is
    // logged with its result.
    template <class Body>
    HRESULT RunLogged(DSoundCall call, Body&& body)
    {
        std::lock_guard hold(mMutex);
        HRESULT result = TakeFaultLocked(call.op);
        if (result == DS_OK)
            result = body();
        call.result = result;
        LogLocked(call);
        return result;
    }

private:
    struct Fault {
        DSoundOp op;
        HRESULT code;
        uint32_t count;
    };

    DSoundRuntime() = default;
    HRESULT TakeFaultLocked(DSoundOp op);
    void LogLocked(const DSoundCall& call);

    std::recursive_mutex mMutex;
    DSoundSettings mSettings;
    std::vector<Fault> mFaults;
    std::deque<DSoundCall> mLog;
    std::array<uint32_t, 2> mLive{};
};

} // namespace Platform
