// A headless display for the display benchmarks: the application as the
// display and its images see it, and a 1024 x 768 windowed display brought up
// on a desktop of a chosen format on the stand-in. Used by the presenting and
// surface benchmarks and by the surface drawing benchmarks.
#pragma once

#include "graphics/display/DDInterface.h"
#include "graphics/display/DisplayHost.h"
#include "graphics/image/ImageHost.h"
#include "graphics/image/MemoryImage.h"
#include "platform/ddraw/DDrawRuntime.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/window/WindowMessages.h"

#include <array>
#include <memory>

namespace DisplayBench {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr Platform::DDrawFormat kFormats[] = {Platform::DDrawFormat::X8R8G8B8, Platform::DDrawFormat::R5G6B5};

inline int BytesPerPixel(Platform::DDrawFormat format)
{
    return format == Platform::DDrawFormat::R5G6B5 ? 2 : 4;
}

inline intptr_t IgnoreMessage(Platform::WindowHandle, uint32_t, uintptr_t, intptr_t)
{
    return 0;
}

class BenchHost : public Tandry::ImageHost, public Tandry::DisplayHost {
public:
    void SharedImageReleased() override {}
    Tandry::CriticalSection& GetDisplayLock() override { return lock; }
    void AddMemoryImage(Tandry::MemoryImage*) override {}
    void RemoveMemoryImage(Tandry::MemoryImage*) override {}
    const uint8_t* GetAddTable() const override { return addTable.data(); }
    const Tandry::NativeDisplay& GetDisplayFormat() const override { return *display; }
    bool IsDisplay3D() const override { return false; }
    void FreeImageTextures(Tandry::MemoryImage*) override {}
    bool ReadImageTextures(const Tandry::MemoryImage*, uint32_t*) override { return false; }
    Tandry::DisplaySettings GetDisplaySettings() override
    {
        Tandry::DisplaySettings settings;
        settings.width = kWidth;
        settings.height = kHeight;
        return settings;
    }
    void SetVSyncBroken() override {}
    void SetScreenBounds(const Tandry::Rect&) override {}
    Tandry::DDInterface* GetDDInterface() override { return display.get(); }
    bool IsSizeMinimized() override { return false; }
    void WriteRegistryText(const std::string&, const std::string&) override {}
    void SyncStringWithDemo(std::string&) override {}
    void SyncBoolWithDemo(bool&) override {}
    void On3DTestDone() override {}

    std::unique_ptr<Tandry::DDInterface> display;
    Tandry::CriticalSection lock;
    std::array<uint8_t, 512> addTable{};
};

// A display brought up windowed on a 1920 x 1080 desktop of the given format.
class HeadlessDisplay {
public:
    explicit HeadlessDisplay(Platform::DDrawFormat format)
    {
        Platform::HeadlessPlatform& platform = Platform::InstallHeadlessPlatform();
        platform.Windows().SetScreenSize(1920, 1080);
        platform.Windows().RegisterWindowClass(Platform::WindowClass{"MainWindow", 0, IgnoreMessage, 0});
        mWindow = platform.Windows().CreateWindow("MainWindow", L"bench", Platform::WS_POPUP, 0, 448, 156, kWidth,
                                                  kHeight);
        Platform::DDrawRuntime::Get().Reset();
        Platform::DDrawSettings settings;
        settings.desktopFormat = format;
        settings.logCalls = false;
        Platform::DDrawRuntime::Get().SetSettings(settings);
        mHost.display = std::make_unique<Tandry::DDInterface>();
        Tandry::SetImageHost(&mHost);
        ok = mHost.display->Init(mWindow, true) == 0;
    }
    ~HeadlessDisplay()
    {
        mHost.display.reset();
        Tandry::SetImageHost(nullptr);
        Platform::DDrawRuntime::Get().Reset();
        Platform::ResetPlatform();
    }
    HeadlessDisplay(const HeadlessDisplay&) = delete;
    HeadlessDisplay& operator=(const HeadlessDisplay&) = delete;

    Tandry::DDInterface& Display() { return *mHost.display; }
    bool ok = false;

private:
    BenchHost mHost;
    Platform::HWND mWindow = nullptr;
};

} // namespace DisplayBench
