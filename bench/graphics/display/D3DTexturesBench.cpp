// The Direct3D back end's texture upload and its 1:1 blit of a whole frame.
// References in the same run: memcpy of the bytes an A8R8G8B8 upload copies,
// and the surface blit of the same frame on a 2D display.
#include "graphics/display/D3DInterface.h"
#include "graphics/display/DDImage.h"
#include "graphics/display/DDInterface.h"
#include "graphics/display/TextureData.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"
#include "platform/ddraw/DDrawRuntime.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/window/WindowMessages.h"
#include "tests/graphics/display/FakeDisplayHost.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace Tandry;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

intptr_t IgnoreMessage(Platform::WindowHandle, uint32_t, uintptr_t, intptr_t)
{
    return 0;
}

// A 1024 x 768 windowed display on the stand-in, in 3D or in 2D, with the
// call log off.
class Display {
public:
    explicit Display(bool threeD)
    {
        Platform::HeadlessPlatform& platform = Platform::InstallHeadlessPlatform();
        platform.Windows().SetScreenSize(1920, 1080);
        platform.Windows().RegisterWindowClass(Platform::WindowClass{"MainWindow", 0, IgnoreMessage, 0});
        const Platform::HWND window =
            platform.Windows().CreateWindow("MainWindow", L"bench", Platform::WS_POPUP, 0, 448, 156, kWidth, kHeight);
        Platform::DDrawRuntime::Get().Reset();
        Platform::DDrawSettings settings;
        settings.logCalls = false;
        Platform::DDrawRuntime::Get().SetSettings(settings);
        ResetD3DGlobals();
        mHost.settings.width = kWidth;
        mHost.settings.height = kHeight;
        SetImageHost(&mHost);
        mDisplay = std::make_unique<DDInterface>();
        mHost.display = mDisplay.get();
        mDisplay->mIs3D = threeD;
        ok = mDisplay->Init(window, true) == 0;
    }
    ~Display()
    {
        mDisplay.reset();
        mHost.display = nullptr;
        SetImageHost(nullptr);
        ResetD3DGlobals();
        Platform::DDrawRuntime::Get().Reset();
        Platform::ResetPlatform();
    }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    DDInterface& Get() { return *mDisplay; }
    bool ok = false;

private:
    DisplayTest::FakeDisplayHost mHost;
    std::unique_ptr<DDInterface> mDisplay;
};

std::vector<uint32_t> Picture(uint32_t alphaMask)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    uint32_t seed = 12345;
    for (uint32_t& p : pixels) {
        seed = seed * 1103515245u + 12345u;
        p = 0xFF000000u | (seed >> 8);
        p &= alphaMask;
    }
    return pixels;
}

enum Kind { k8888, k4444, k565, kPalette };

void UpdateTextures(benchmark::State& state)
{
    const auto kind = static_cast<Kind>(state.range(0));
    Display display(true);
    if (!display.ok) {
        state.SkipWithError("no 3D display");
        return;
    }
    MemoryImage image;
    std::vector<uint32_t> pixels = Picture(kind == k4444 ? 0x80FFFFFFu : 0xFFFFFFFFu);
    if (kind == kPalette) {
        for (uint32_t& p : pixels)
            p = 0xFF000000u | (p & 0x7Fu) << 16;
    }
    image.SetBits(pixels.data(), kWidth, kHeight, true);
    image.mTextureFlags = kind == k8888 ? kTextureFlagNo565 : kind == k4444 ? kTextureFlagPrefer4444 : 0;
    if (kind == kPalette && !image.Palletize()) {
        state.SkipWithError("not palettised");
        return;
    }
    D3DInterface& d3d = *display.Get().mD3DInterface;
    if (!d3d.PrepareTextures(&image)) {
        state.SkipWithError("no textures");
        return;
    }
    static constexpr int kExpected[] = {kTextureA8R8G8B8, kTextureA4R4G4B4, kTextureR5G6B5, kTexturePalette8};
    if (image.mTextureData->mFormat != kExpected[kind]) {
        state.SkipWithError("another texture format");
        return;
    }
    for (auto _ : state)
        d3d.UpdateTextures(image.mTextureData, &image);
    state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 4);
}
BENCHMARK(UpdateTextures)->Arg(k8888)->Arg(k4444)->Arg(k565)->Arg(kPalette)->Unit(benchmark::kMicrosecond);

// The bytes an A8R8G8B8 upload of the picture copies.
void UpdateTexturesMemcpyReference(benchmark::State& state)
{
    const std::vector<uint32_t> from = Picture(0xFFFFFFFFu);
    std::vector<uint32_t> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 4);
}
BENCHMARK(UpdateTexturesMemcpyReference)->Unit(benchmark::kMicrosecond);

// A whole frame blitted 1:1 onto the screen: on the 3D screen through the
// textures (argument 1), and into the surface on a 2D display (argument 0).
void BltTexturesFrame(benchmark::State& state)
{
    const bool threeD = state.range(0) != 0;
    Display display(threeD);
    if (!display.ok) {
        state.SkipWithError("no display");
        return;
    }
    MemoryImage image;
    const std::vector<uint32_t> pixels = Picture(0xFFFFFFFFu);
    image.SetBits(pixels.data(), kWidth, kHeight, true);
    image.mTextureFlags = kTextureFlagNo565;
    DDImage& screen = *display.Get().mScreenImage;
    for (auto _ : state) {
        screen.Blt(&image, 0, 0, Rect(0, 0, kWidth, kHeight), Color::White, 0);
        if (threeD)
            display.Get().mD3DInterface->Flush();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BltTexturesFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
