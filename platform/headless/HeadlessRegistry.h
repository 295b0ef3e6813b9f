// The headless registry: the store lives in memory, with a switch that makes
// the next set fail, so tests can see how callers take a refused write. A
// flush writes nothing but counts the times a file back end would have
// written, so tests can see when callers flush.
#pragma once

#include "platform/registry/Registry.h"

#include <atomic>

namespace Platform {

class HeadlessRegistry : public Registry {
public:
    void FailNextSet() { mFailNextSet = true; }
    int GetWriteCount() const { return mWriteCount.load(); }

protected:
    bool Persist(const RegistryStore&) override;
    bool AllowSet() override;

private:
    bool mFailNextSet = false; // guarded by the registry's lock
    std::atomic<int> mWriteCount = 0;
};

} // namespace Platform
