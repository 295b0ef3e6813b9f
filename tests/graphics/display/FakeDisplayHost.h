// The application as the display and its images see it in tests: both the
// image host and the display host, with display settings a test chooses, the
// results of the display's initialisation and its registry writes kept for
// the test to read, the values passed through the demo kept and scriptable,
// and the images' textures handed to the display's Direct3D side as the
// application hands them.
#pragma once

#include "graphics/display/DDInterface.h"
#include "graphics/display/NativeDisplay.h"
#include "graphics/display/DisplayHost.h"
#include "graphics/image/ImageHost.h"
#include "graphics/image/MemoryImage.h"

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace DisplayTest {

class FakeDisplayHost : public Tandry::ImageHost, public Tandry::DisplayHost {
public:
    FakeDisplayHost()
    {
        mNoDisplay = Tandry::NativeDisplay::Argb8888();
        for (size_t i = 0; i < mAddTable.size(); ++i)
            mAddTable[i] = static_cast<uint8_t>(i < 256 ? i : 255);
        settings.width = 1024;
        settings.height = 768;
    }

    void SharedImageReleased() override {}
    Tandry::CriticalSection& GetDisplayLock() override { return display != nullptr ? display->mCritSect : mLock; }
    void AddMemoryImage(Tandry::MemoryImage* image) override { images.insert(image); }
    void RemoveMemoryImage(Tandry::MemoryImage* image) override { images.erase(image); }
    const uint8_t* GetAddTable() const override { return mAddTable.data(); }
    const Tandry::NativeDisplay& GetDisplayFormat() const override
    {
        return display != nullptr ? static_cast<const Tandry::NativeDisplay&>(*display) : mNoDisplay;
    }
    bool IsDisplay3D() const override { return display != nullptr && display->mIs3D; }
    void FreeImageTextures(Tandry::MemoryImage* image) override
    {
        if (display != nullptr)
            display->mD3DInterface->RemoveImage(image);
        else
            image->mTextureData = nullptr;
    }
    bool ReadImageTextures(const Tandry::MemoryImage* image, uint32_t* bits) override
    {
        return display != nullptr && display->mD3DInterface->ReadTexturesBack(image, bits);
    }

    Tandry::DisplaySettings GetDisplaySettings() override { return settings; }
    void SetVSyncBroken() override { vsyncBroken = true; }
    void SetScreenBounds(const Tandry::Rect& bounds) override { screenBounds = bounds; }
    Tandry::DDInterface* GetDDInterface() override { return display; }
    bool IsSizeMinimized() override { return minimized; }
    void WriteRegistryText(const std::string& name, const std::string& value) override
    {
        registryWrites.emplace_back(name, value);
    }
    // Values the display passed through the demo, in order; a scripted one
    // replaces each while the list lasts, as a demo being played would.
    void SyncStringWithDemo(std::string& text) override
    {
        synced.push_back(text);
        if (!replayed.empty()) {
            text = replayed.front();
            replayed.erase(replayed.begin());
        }
    }
    void SyncBoolWithDemo(bool& value) override
    {
        synced.push_back(value ? "true" : "false");
        if (!replayed.empty()) {
            value = replayed.front() == "true";
            replayed.erase(replayed.begin());
        }
    }
    void On3DTestDone() override { ++testDoneCalls; }

    // Set while the display lives; the test deletes it and then clears this.
    Tandry::DDInterface* display = nullptr;
    Tandry::DisplaySettings settings;
    bool vsyncBroken = false;
    Tandry::Rect screenBounds;
    std::set<Tandry::MemoryImage*> images;
    bool minimized = false;
    std::vector<std::pair<std::string, std::string>> registryWrites;
    std::vector<std::string> synced;
    std::vector<std::string> replayed;
    int testDoneCalls = 0;

private:
    Tandry::CriticalSection mLock;
    Tandry::NativeDisplay mNoDisplay;
    std::array<uint8_t, 512> mAddTable{};
};

} // namespace DisplayTest
