// The Direct3D capability test: whether the graphics card can draw the 2D
// renderer's blends in hardware. Its outcome is a failure reason (3D refused)
// and a warning (3D allowed but not switched on by itself); the display owns
// the one tester and the application asks it at exit.
#pragma once

#include <string>

namespace Tandry {

class D3DTester {
public:
    D3DTester() = default;
    D3DTester(const D3DTester&) = delete;
    D3DTester& operator=(const D3DTester&) = delete;
    virtual ~D3DTester() = default;

    bool Passed() const { return mFailureReason.empty(); }
    bool PassedWithoutWarning() const { return mFailureReason.empty() && mWarning.empty(); }

    // TODO: the card checks, the blend tests and the registry cache come with the capability test.
    std::string mFailureReason;
    std::string mWarning;
    int mMinVidMemory = 0;
    int mRecVidMemory = 0;
    bool mUseCache = true;
    bool mStoreResult = false;
    // The result was computed in this run rather than taken from the cache.
    bool mFreshResult = false;
};

} // namespace Tandry
