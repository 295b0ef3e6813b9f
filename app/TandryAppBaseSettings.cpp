// The application's values in the registry, and their echo through a demo.
#include "app/TandryAppBase.h"

#include "app/DemoSeam.h"
#include "platform/Platform.h"
#include "util/StringUtils.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace Tandry {

namespace {

constexpr uint32_t kDwordSize = 4;

void PutDword(uint8_t* bytes, uint32_t value)
{
    for (uint32_t i = 0; i < kDwordSize; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetDword(const uint8_t* bytes)
{
    uint32_t value = 0;
    for (uint32_t i = 0; i < kDwordSize; ++i)
        value |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    return value;
}

// Whole percent, truncated; volumes far outside 0..1 are held at the int range.
int VolumePercent(double volume)
{
    const double percent = std::trunc(volume * 100);
    if (std::isnan(percent))
        return 0;
    return static_cast<int>(std::clamp(percent, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

} // namespace

bool TandryAppBase::OpenRegistryKey(const std::string& name, bool create, Platform::RegistryKey& key,
                                    std::string& valueName) const
{
    if (mRegistryKey.empty())
        return false;
    std::string keyPath = "SOFTWARE\\" + mRegistryKey;
    const size_t split = name.rfind('\\');
    if (split == std::string::npos) {
        valueName = name;
    } else {
        keyPath += "\\" + name.substr(0, split);
        valueName = name.substr(split + 1);
    }
    Platform::Registry& registry = Platform::GetPlatform().GetRegistry();
    return registry.OpenKey(keyPath, key) || (create && registry.CreateKey(keyPath, key));
}

bool TandryAppBase::ReadRegistryRaw(const std::string& name, uint32_t* type, uint8_t* data, uint32_t* length)
{
    if (mPlayingDemo) {
        if (mDemoFinished)
            return false;
        // The seam fills a buffer of the caller's size, and the caller's
        // outputs change only when the recorded value fits.
        const uint32_t capacity = length != nullptr ? *length : 0;
        std::vector<uint8_t> replayed(capacity);
        uint32_t replayedType = 0;
        uint32_t replayedLength = capacity;
        if (!mDemoSeam->ReplayRegistryRead(replayedType, replayed.data(), replayedLength) ||
            replayedLength > capacity)
            return false;
        if (type != nullptr)
            *type = replayedType;
        if (data != nullptr && replayedLength > 0)
            std::copy(replayed.begin(), replayed.begin() + replayedLength, data);
        if (length != nullptr)
            *length = replayedLength;
        return true;
    }

    bool success = false;
    Platform::RegistryKey key;
    std::string valueName;
    if (OpenRegistryKey(name, false, key, valueName))
        success = Platform::GetPlatform().GetRegistry().QueryValue(key, valueName, type, data, length);

    if (mRecordingDemo) {
        mDemoSeam->RecordRegistryRead(success, success && type != nullptr ? *type : 0, success ? data : nullptr,
                                      success && length != nullptr ? *length : 0);
    }
    return success;
}

bool TandryAppBase::WriteRegistryRaw(const std::string& name, uint32_t type, const uint8_t* data, uint32_t length)
{
    if (mPlayingDemo) {
        if (mDemoFinished)
            return true;
        return mDemoSeam->ReplayRegistryWrite();
    }

    bool success = false;
    Platform::RegistryKey key;
    std::string valueName;
    if (OpenRegistryKey(name, true, key, valueName))
        success = Platform::GetPlatform().GetRegistry().SetValue(key, valueName, type, data, length);
    if (success)
        ArmRegistryFlush(Platform::GetPlatform().GetClock().TimeGetTime());

    if (mRecordingDemo)
        mDemoSeam->RecordRegistryWrite(success);
    return success;
}

bool TandryAppBase::ReadRegistryDword(const std::string& name, int* value)
{
    uint8_t bytes[kDwordSize] = {};
    uint32_t type = 0;
    uint32_t length = kDwordSize;
    if (!ReadRegistryRaw(name, &type, bytes, &length) || type != Platform::REG_DWORD || length != kDwordSize)
        return false;
    *value = static_cast<int>(GetDword(bytes));
    return true;
}

bool TandryAppBase::ReadRegistryBool(const std::string& name, bool* value)
{
    int number = 0;
    if (!ReadRegistryDword(name, &number))
        return false;
    *value = number != 0;
    return true;
}

bool TandryAppBase::WriteRegistryDword(const std::string& name, int value)
{
    uint8_t bytes[kDwordSize];
    PutDword(bytes, static_cast<uint32_t>(value));
    return WriteRegistryRaw(name, Platform::REG_DWORD, bytes, kDwordSize);
}

bool TandryAppBase::WriteRegistryBool(const std::string& name, bool value)
{
    return WriteRegistryDword(name, value ? 1 : 0);
}

bool TandryAppBase::WriteRegistryString(const std::string& name, const std::string& value)
{
    return WriteRegistryRaw(name, Platform::REG_SZ, reinterpret_cast<const uint8_t*>(value.data()),
                            static_cast<uint32_t>(value.size()));
}

void TandryAppBase::EraseRegistryValue(const std::string& name)
{
    Platform::RegistryKey key;
    std::string valueName;
    if (OpenRegistryKey(name, false, key, valueName))
        Platform::GetPlatform().GetRegistry().DeleteValue(key, valueName);
}

void TandryAppBase::LoadSettingsFromRegistry()
{
    mSettingsLoaded = true;

    mRegistryKey = WideToNarrow(LookupString("RegistryKey", WidenString(mRegistryKey)));
    if (mRegistryKey.empty())
        return;

    int value = 0;
    if (ReadRegistryDword("MusicVolume", &value))
        mMusicVolume = value / 100.0;
    if (ReadRegistryDword("SfxVolume", &value))
        mSfxVolume = value / 100.0;
    if (ReadRegistryDword("ScreenMode", &value))
        mWindowed = value == 0;
    if (ReadRegistryDword("Muted", &value))
        mMuteCount = value;
    if (ReadRegistryDword("PreferredX", &value))
        mPreferredX = value;
    if (ReadRegistryDword("PreferredY", &value))
        mPreferredY = value;
    if (ReadRegistryDword("CustomCursors", &value))
        SetCustomCursorsEnabled(value != 0);
    if (ReadRegistryDword("WaitForVSync", &value))
        mWaitForVSync = value != 0;
    if (ReadRegistryDword("InProgress", &value))
        mLastRunClean = value == 0;

    if (!mScreensaverMode)
        WriteRegistryBool("InProgress", true);
}

void TandryAppBase::SaveSettingsToRegistry()
{
    WriteRegistryDword("MusicVolume", VolumePercent(mMusicVolume));
    WriteRegistryDword("SfxVolume", VolumePercent(mSfxVolume));
    // A count loaded from an edited file may lie anywhere in the int range.
    WriteRegistryBool("Muted", static_cast<int64_t>(mMuteCount) - mAutoMuteCount > 0);
    WriteRegistryBool("ScreenMode", !mWindowed);
    WriteRegistryDword("PreferredX", mPreferredX);
    WriteRegistryDword("PreferredY", mPreferredY);
    WriteRegistryBool("CustomCursors", mCustomCursorsEnabled);
    WriteRegistryBool("InProgress", false);
    WriteRegistryBool("WaitForVSync", mWaitForVSync);
    // The whole save reaches the file in one write.
    Platform::GetPlatform().GetRegistry().Flush();
}

} // namespace Tandry
