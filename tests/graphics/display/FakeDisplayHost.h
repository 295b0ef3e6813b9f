// The application as the display and its images see it in tests: both the
// image host and the display host, with display settings a test chooses and
// the results of the display's initialisation kept for the test to read.
#pragma once

#include "graphics/display/DDInterface.h"
#include "graphics/display/NativeDisplay.h"
#include "graphics/display/DisplayHost.h"
#include "graphics/image/ImageHost.h"
#include "graphics/image/MemoryImage.h"

#include <array>
#include <cstdint>
#include <set>

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
    void FreeImageTextures(Tandry::MemoryImage* image) override { image->mTextureData = nullptr; }
    bool ReadImageTextures(const Tandry::MemoryImage*, uint32_t*) override { return false; }

    Tandry::DisplaySettings GetDisplaySettings() override { return settings; }
    void SetVSyncBroken() override { vsyncBroken = true; }
    void SetScreenBounds(const Tandry::Rect& bounds) override { screenBounds = bounds; }
    Tandry::DDInterface* GetDDInterface() override { return display; }

    // Set while the display lives; the test deletes it and then clears this.
    Tandry::DDInterface* display = nullptr;
    Tandry::DisplaySettings settings;
    bool vsyncBroken = false;
    Tandry::Rect screenBounds;
    std::set<Tandry::MemoryImage*> images;

private:
    Tandry::CriticalSection mLock;
    Tandry::NativeDisplay mNoDisplay;
    std::array<uint8_t, 512> mAddTable{};
};

} // namespace DisplayTest
