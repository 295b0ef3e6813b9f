// The headless registry: the store lives in memory, with a switch that makes
// the next set fail, so tests can see how callers take a refused write.
#pragma once

#include "platform/registry/Registry.h"

namespace Platform {

class HeadlessRegistry : public Registry {
public:
    void FailNextSet() { mFailNextSet = true; }

protected:
    bool Persist(const RegistryStore&) override { return true; }
    bool AllowSet() override;

private:
    bool mFailNextSet = false; // guarded by the registry's lock
};

} // namespace Platform
