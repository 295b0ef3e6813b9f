// The registry stand-in under HKEY_CURRENT_USER: open and create keys by
// path, query, set and delete typed values. A query's length is the buffer
// size on entry and the stored size on return; a buffer that is too small
// fails and is left untouched. Set stores exactly the bytes given. Types keep
// their Windows numbers; any other number is stored as given.
//
// Changes go to the store in memory and only mark it changed: a back end that
// keeps the store in a file writes it when asked to Flush, so a burst of
// writes (one settings save sets many values) costs one write, not one each.
#pragma once

#include "platform/registry/RegistryStore.h"

#include <cstdint>
#include <mutex>
#include <string>

namespace Platform {

struct RegistryKey {
    std::string path; // empty for a key that is not open
    bool open = false;
};

class Registry {
public:
    virtual ~Registry() = default;

    // Fails when the key does not exist.
    bool OpenKey(const std::string& path, RegistryKey& key);
    // Creates every missing level.
    bool CreateKey(const std::string& path, RegistryKey& key);
    // data may be null to ask for the type and size only.
    bool QueryValue(const RegistryKey& key, const std::string& name, uint32_t* type, uint8_t* data,
                    uint32_t* length);
    bool SetValue(const RegistryKey& key, const std::string& name, uint32_t type, const uint8_t* data,
                  uint32_t length);
    bool DeleteValue(const RegistryKey& key, const std::string& name);

    // A copy of everything stored, for tests and tools.
    RegistryStore Snapshot();

    // Writes the store out when it changed since the last flush. True when
    // nothing is left unsaved; after a failure the change stays pending.
    bool Flush();
    bool HasUnsavedChanges();

protected:
    // Called by Flush with the lock held; false when the store could not be kept.
    virtual bool Persist(const RegistryStore& store) = 0;
    // Whether the next set may go ahead; the headless store can refuse one.
    virtual bool AllowSet() { return true; }
    RegistryStore& Store() { return mStore; }
    std::mutex& Lock() { return mLock; }

private:
    std::mutex mLock;
    RegistryStore mStore;
    bool mChanged = false; // guarded by mLock
};

} // namespace Platform
