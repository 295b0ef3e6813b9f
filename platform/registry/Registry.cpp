#include "platform/registry/Registry.h"

#include <cstring>

namespace Platform {

bool Registry::OpenKey(const std::string& path, RegistryKey& key)
{
    std::lock_guard<std::mutex> hold(mLock);
    if (!mStore.HasKey(path))
        return false;
    key = {path, true};
    return true;
}

bool Registry::CreateKey(const std::string& path, RegistryKey& key)
{
    std::lock_guard<std::mutex> hold(mLock);
    if (!mStore.HasKey(path)) {
        mStore.CreateKey(path);
        mChanged = true;
    }
    key = {path, true};
    return true;
}

bool Registry::QueryValue(const RegistryKey& key, const std::string& name, uint32_t* type, uint8_t* data,
                          uint32_t* length)
{
    if (!key.open)
        return false;
    std::lock_guard<std::mutex> hold(mLock);
    const RegistryValue* value = mStore.FindValue(key.path, name);
    if (value == nullptr)
        return false;
    uint32_t stored = static_cast<uint32_t>(value->data.size());
    if (data != nullptr) {
        if (length == nullptr || *length < stored) {
            if (length != nullptr)
                *length = stored;
            return false;
        }
        if (stored > 0)
            std::memcpy(data, value->data.data(), stored);
    }
    if (type != nullptr)
        *type = value->type;
    if (length != nullptr)
        *length = stored;
    return true;
}

bool Registry::SetValue(const RegistryKey& key, const std::string& name, uint32_t type, const uint8_t* data,
                        uint32_t length)
{
    if (!key.open || (data == nullptr && length > 0))
        return false;
    std::lock_guard<std::mutex> hold(mLock);
    if (!AllowSet() || !mStore.HasKey(key.path))
        return false;
    std::vector<uint8_t> bytes(data, data + length);
    // Saving settings sets every value again; the same value is no change.
    const RegistryValue* old = mStore.FindValue(key.path, name);
    if (old != nullptr && old->type == type && old->data == bytes)
        return true;
    mStore.SetValue(key.path, name, type, std::move(bytes));
    mChanged = true;
    return true;
}

bool Registry::DeleteValue(const RegistryKey& key, const std::string& name)
{
    if (!key.open)
        return false;
    std::lock_guard<std::mutex> hold(mLock);
    if (!mStore.DeleteValue(key.path, name))
        return false;
    mChanged = true;
    return true;
}

RegistryStore Registry::Snapshot()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mStore;
}

bool Registry::Flush()
{
    std::lock_guard<std::mutex> hold(mLock);
    if (mChanged && Persist(mStore))
        mChanged = false;
    return !mChanged;
}

bool Registry::HasUnsavedChanges()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mChanged;
}

} // namespace Platform
