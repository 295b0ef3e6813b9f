// Shared set-up of the display tests: a headless platform with a 1920 x 1080
// desktop and a 1024 x 768 window whose client area starts at (448, 156), the
// DirectDraw stand-in reset around each test, and an application stand-in
// that is both the image host and the display host.
#pragma once

#include "graphics/DDImage.h"
#include "graphics/DDInterface.h"
#include "graphics/DisplayHost.h"
#include "graphics/ImageHost.h"
#include "graphics/MemoryImage.h"
#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DDrawRuntime.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <vector>

namespace DisplayTest {

class FakeDisplayHost : public Tandry::ImageHost, public Tandry::DisplayHost {
public:
    FakeDisplayHost();

    void SharedImageReleased() override {}
    Tandry::CriticalSection& GetDisplayLock() override;
    void AddMemoryImage(Tandry::MemoryImage* image) override { images.insert(image); }
    void RemoveMemoryImage(Tandry::MemoryImage* image) override { images.erase(image); }
    const uint8_t* GetAddTable() const override { return addTable.data(); }
    const Tandry::NativeDisplay& GetDisplayFormat() const override;
    bool IsDisplay3D() const override { return display != nullptr && display->mIs3D; }
    void FreeImageTextures(Tandry::MemoryImage* image) override { image->mTextureData = nullptr; }
    bool ReadImageTextures(const Tandry::MemoryImage*, uint32_t*) override { return false; }

    Tandry::DisplaySettings GetDisplaySettings() override { return settings; }
    void SetVSyncBroken() override { vsyncBroken = true; }
    void SetScreenBounds(const Tandry::Rect& bounds) override { screenBounds = bounds; }
    Tandry::DDInterface* GetDDInterface() override { return display; }

    Tandry::DDInterface* display = nullptr;
    Tandry::DisplaySettings settings;
    bool vsyncBroken = false;
    Tandry::Rect screenBounds;
    std::set<Tandry::MemoryImage*> images;

private:
    Tandry::CriticalSection mLock;
    Tandry::NativeDisplay mNoDisplay;
    std::array<uint8_t, 512> addTable{};
};

class DisplayFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A display for the application stand-in; the fixture deletes it.
    Tandry::DDInterface& MakeDisplay();
    int InitWindowed() { return display->Init(window, true); }
    // The application's full-screen window covers the display from its corner.
    int InitFullScreen();
    void SetDesktopFormat(Platform::DDrawFormat format);
    void SetSettings(const Platform::DDrawSettings& settings) { Platform::DDrawRuntime::Get().SetSettings(settings); }
    Platform::DDrawSettings Settings() { return Platform::DDrawRuntime::Get().GetSettings(); }
    void Inject(const Platform::DDrawFault& fault) { Platform::DDrawRuntime::Get().InjectFailure(fault); }
    uint32_t Live(Platform::DDrawObjectKind kind) { return Platform::DDrawRuntime::Get().LiveCount(kind); }
    std::vector<Platform::DDrawCall> CallLog() { return Platform::DDrawRuntime::Get().GetCallLog(); }
    std::string DebugText() { return platform->Debug().GetAll(); }

    // What the window shows.
    Platform::HeadlessPresenter& Presenter() { return platform->Presenter(); }

    Platform::HeadlessPlatform* platform = nullptr;
    Platform::HWND window = nullptr;
    FakeDisplayHost host;
    Tandry::DDInterface* display = nullptr;
};

// The whole surface as 0xAARRGGBB words by the read-back rule.
std::vector<uint32_t> ReadSurface(Platform::IDirectDrawSurface* surface);
// The stored words of a 16- or 32-bit surface, row after row.
std::vector<uint32_t> StoredWords(Platform::IDirectDrawSurface* surface);
// A memory image of the given pixels.
std::unique_ptr<Tandry::MemoryImage> MakeImage(int width, int height, const std::vector<uint32_t>& pixels);

} // namespace DisplayTest
