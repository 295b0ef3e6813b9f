// Puts pictures of any content (image files can hold anything) into surfaces
// of a 32-bit and a 565 display and reads them back. Whatever the pixels, an
// opaque pixel comes back as its colour in the display's format; with
// transparency every other pixel comes back transparent, and no opaque pixel
// is stored as the colour key unless the picture uses every 16-bit value.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/display/DDImage.h"
#include "graphics/display/DDInterface.h"
#include "graphics/display/SurfaceConverter.h"
#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DDrawRuntime.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/window/WindowMessages.h"
#include "tests/fuzz/FuzzBytes.h"

namespace {

using namespace Platform;

// The display needs a window, not its messages.
intptr_t Ignore(WindowHandle, uint32_t, uintptr_t, intptr_t)
{
    return 0;
}

void SetDesktopFormat(DDrawFormat format)
{
    DDrawSettings settings = DDrawRuntime::Get().GetSettings();
    settings.desktopFormat = format;
    DDrawRuntime::Get().SetSettings(settings);
}

constexpr DDrawFormat kDesktops[] = {DDrawFormat::X8R8G8B8, DDrawFormat::R5G6B5};

// Two displays, brought up once: one on a 32-bit desktop, one on a 565
// desktop. Surfaces take the desktop's format as it is when they are made,
// so each run puts back the desktop of the display it uses.
struct Displays {
    Displays()
    {
        HeadlessPlatform& platform = InstallHeadlessPlatform();
        WindowSystem& windows = platform.Windows();
        windows.RegisterWindowClass(WindowClass{"MainWindow", 0, Ignore, 0});
        const HWND window = windows.CreateWindow("MainWindow", L"Moorglen", WS_POPUP, 0, 0, 0, 640, 480);
        for (DDrawFormat format : kDesktops) {
            SetDesktopFormat(format);
            auto display = std::make_unique<Tandry::DDInterface>();
            FuzzCheck(display->Init(window, true) == 0);
            list.push_back(std::move(display));
        }
    }
    std::vector<std::unique_ptr<Tandry::DDInterface>> list;
};

uint32_t Pixel(FuzzBytes& in)
{
    const uint8_t kind = in.Byte();
    const uint32_t rgb = static_cast<uint32_t>(in.Byte()) << 16 | static_cast<uint32_t>(in.Byte()) << 8 | in.Byte();
    switch (kind % 4) {
    case 0: return rgb;
    case 1: return 0xFF000000u | rgb;
    case 2: return 0xFF000000u | (rgb & 0x0F0F0F);
    default: return static_cast<uint32_t>(kind) << 24 | rgb;
    }
}

// Every 16-bit value once as an opaque pixel, in an order the input picks,
// followed by a row of any pixels.
std::vector<uint32_t> EveryValue(FuzzBytes& in, int& width, int& height)
{
    const uint32_t step = (static_cast<uint32_t>(in.Range(0, 32767)) << 1) | 1;
    const uint32_t offset = static_cast<uint32_t>(in.Range(0, 65535));
    width = 256;
    height = 257;
    std::vector<uint32_t> pixels;
    pixels.reserve(256 * 257);
    for (uint32_t i = 0; i < 65536; ++i) {
        const uint32_t v = (i * step + offset) & 0xFFFF;
        pixels.push_back(0xFF000000u | (v >> 11) << 19 | ((v >> 5) & 63) << 10 | (v & 31) << 3);
    }
    for (int i = 0; i < 256; ++i)
        pixels.push_back(Pixel(in));
    return pixels;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Displays displays;
    FuzzBytes in(data, size);
    const uint8_t mode = in.Byte();
    Tandry::DDInterface& display = *displays.list[mode & 1];
    SetDesktopFormat(kDesktops[mode & 1]);
    const bool everyValue = (mode & 2) != 0 && display.mRGBBits == 16;
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    if (everyValue) {
        pixels = EveryValue(in, width, height);
    } else {
        width = in.Range(1, 16);
        height = in.Range(1, 16);
        for (int i = 0; i < width * height; ++i)
            pixels.push_back(Pixel(in));
    }

    Tandry::DDImage image(&display);
    image.SetBits(pixels.data(), width, height, true);
    if ((mode & 4) != 0)
        image.ForceAlphaFlags(true, false);
    FuzzCheck(image.CreateSurface());
    const bool keyed = image.mHasTrans;
    DDSURFACEDESC desc;
    desc.dwSize = sizeof(desc);
    FuzzCheck(image.mSurface->GetSurfaceDesc(&desc) == DD_OK);
    const uint32_t key = desc.ddckCKSrcBlt.dwColorSpaceLowValue;
    FuzzCheck(keyed == ((desc.dwFlags & DDSD_CKSRCBLT) != 0));

    const Tandry::SurfaceConverter converter(display, static_cast<uint32_t>(display.mRedMask),
                                             static_cast<uint32_t>(display.mGreenMask),
                                             static_cast<uint32_t>(display.mBlueMask));
    image.FreeMemoryCopies();
    const uint32_t* back = image.GetBits();
    FuzzCheck(back != nullptr);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t p = pixels[i];
        const uint32_t stored = converter.ToSurface(p);
        if (keyed && (p >> 24) != 255) {
            FuzzCheck(back[i] == 0);
        } else {
            if (keyed && !everyValue)
                FuzzCheck(stored != key);
            if (!(keyed && stored == key))
                FuzzCheck(back[i] == converter.ToArgb(stored));
        }
    }
    return 0;
}
