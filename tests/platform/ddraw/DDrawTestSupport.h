// Shared pieces of the DirectDraw stand-in's tests: a presenter that records
// what the stand-in asks of it, a fixture that resets the stand-in around each
// test, and helpers to make objects and surfaces and to reach their pixels.
#pragma once

#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DDrawEntryPoints.h"
#include "platform/ddraw/DDrawPixelFormat.h"
#include "platform/ddraw/DDrawRuntime.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace DDrawTest {

using namespace Platform;

// Windows are only compared, so any distinct address serves as one.
inline HWND FakeWindow(uintptr_t n) { return reinterpret_cast<HWND>(n * 16); }

class RecordingPresenter : public DisplayPresenter {
public:
    struct Presented {
        HWND window;
        bool fullScreen;
        uint32_t width;
        uint32_t height;
        RECT changed;
    };

    uint32_t desktopWidth = 1920;
    uint32_t desktopHeight = 1080;
    uint32_t frequency = 60;
    uint8_t fill = 0xCD;
    std::map<HWND, RECT> clientRects;
    std::vector<std::pair<HWND, bool>> fullScreenCalls;
    std::vector<Presented> presents;

    void GetDesktopSize(uint32_t& width, uint32_t& height) override
    {
        width = desktopWidth;
        height = desktopHeight;
    }
    bool GetClientRectOnScreen(HWND window, RECT& rect) override
    {
        const auto it = clientRects.find(window);
        if (it == clientRects.end())
            return false;
        rect = it->second;
        return true;
    }
    uint32_t GetMonitorFrequency(HWND) override { return frequency; }
    void SetFullScreen(HWND window, bool fullScreen) override { fullScreenCalls.emplace_back(window, fullScreen); }
    uint8_t GetNewSurfaceFill() override { return fill; }
    void Present(HWND window, bool fullScreen, const PresentedSurface& primary, const RECT& changed) override
    {
        presents.push_back({window, fullScreen, primary.width, primary.height, changed});
    }
};

// Resets the stand-in and installs a recording presenter; checks that the test
// released everything it made.
class DDrawFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        DDrawRuntime::Get().Reset();
        mPresenter = std::make_shared<RecordingPresenter>();
        DDrawRuntime::Get().SetPresenter(mPresenter);
    }
    void TearDown() override
    {
        DDrawRuntime::Get().SetPresenter(nullptr);
        DDrawRuntime::Get().Reset();
        for (DDrawObjectKind kind : {DDrawObjectKind::DirectDraw, DDrawObjectKind::Surface, DDrawObjectKind::Clipper,
                                     DDrawObjectKind::Palette, DDrawObjectKind::Direct3D, DDrawObjectKind::Device})
            EXPECT_EQ(DDrawRuntime::Get().LiveCount(kind), 0u) << "kind " << static_cast<int>(kind);
    }

    void ChangeSettings(void (*change)(DDrawSettings&))
    {
        DDrawSettings settings = DDrawRuntime::Get().GetSettings();
        change(settings);
        DDrawRuntime::Get().SetSettings(settings);
    }

    std::shared_ptr<RecordingPresenter> mPresenter;
};

// A version-7 DirectDraw object, released at the end of the scope.
struct DirectDraw7 {
    IDirectDraw7* dd = nullptr;
    DirectDraw7()
    {
        void* out = nullptr;
        EXPECT_EQ(DirectDrawCreateEx(nullptr, &out, IID_IDirectDraw7, nullptr), DD_OK);
        dd = static_cast<IDirectDraw7*>(out);
    }
    ~DirectDraw7()
    {
        if (dd != nullptr)
            dd->Release();
    }
    DirectDraw7(const DirectDraw7&) = delete;
    DirectDraw7& operator=(const DirectDraw7&) = delete;
    IDirectDraw7* operator->() const { return dd; }
};

// One DirectDraw object through both its versions, released at the end of the scope.
struct DirectDrawBoth {
    IDirectDraw7* dd = nullptr;
    IDirectDraw* first = nullptr;
    DirectDrawBoth()
    {
        void* out = nullptr;
        EXPECT_EQ(DirectDrawCreateEx(nullptr, &out, IID_IDirectDraw7, nullptr), DD_OK);
        dd = static_cast<IDirectDraw7*>(out);
        EXPECT_EQ(dd->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&first)), DD_OK);
    }
    ~DirectDrawBoth()
    {
        first->Release();
        dd->Release();
    }
    DirectDrawBoth(const DirectDrawBoth&) = delete;
    DirectDrawBoth& operator=(const DirectDrawBoth&) = delete;
};

inline DDSURFACEDESC2 OffscreenDesc(uint32_t width, uint32_t height, uint32_t caps = DDSCAPS_OFFSCREENPLAIN)
{
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = width;
    desc.dwHeight = height;
    desc.ddsCaps.dwCaps = caps;
    return desc;
}

inline IDirectDrawSurface7* MakeSurface(IDirectDraw7* dd, uint32_t width, uint32_t height, DDrawFormat format)
{
    DDSURFACEDESC2 desc = OffscreenDesc(width, height);
    desc.dwFlags |= DDSD_PIXELFORMAT;
    desc.ddpfPixelFormat = MakePixelFormat(format);
    IDirectDrawSurface7* surface = nullptr;
    EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DD_OK);
    return surface;
}

// The surface's bytes through a lock, row by row (padding included).
inline std::vector<uint8_t> ReadBytes(IDirectDrawSurface7* surface)
{
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
    const size_t size = static_cast<size_t>(desc.lPitch) * desc.dwHeight;
    std::vector<uint8_t> bytes(size);
    std::memcpy(bytes.data(), desc.lpSurface, size);
    EXPECT_EQ(surface->Unlock(nullptr), DD_OK);
    return bytes;
}

// Pixel values of a 2- or 4-byte surface, row-major without padding.
inline std::vector<uint32_t> ReadPixels(IDirectDrawSurface7* surface)
{
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
    const uint32_t bytes = desc.ddpfPixelFormat.dwRGBBitCount / 8;
    std::vector<uint32_t> pixels;
    for (uint32_t y = 0; y < desc.dwHeight; ++y) {
        for (uint32_t x = 0; x < desc.dwWidth; ++x) {
            uint32_t v = 0;
            std::memcpy(&v, static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch + x * bytes, bytes);
            pixels.push_back(v);
        }
    }
    EXPECT_EQ(surface->Unlock(nullptr), DD_OK);
    return pixels;
}

inline void WritePixels(IDirectDrawSurface7* surface, const std::vector<uint32_t>& pixels)
{
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr), DD_OK);
    const uint32_t bytes = desc.ddpfPixelFormat.dwRGBBitCount / 8;
    ASSERT_EQ(pixels.size(), size_t{desc.dwWidth} * desc.dwHeight);
    for (uint32_t y = 0; y < desc.dwHeight; ++y)
        for (uint32_t x = 0; x < desc.dwWidth; ++x)
            std::memcpy(static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch + x * bytes,
                        &pixels[size_t{y} * desc.dwWidth + x], bytes);
    ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
}

} // namespace DDrawTest
