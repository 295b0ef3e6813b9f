// Drives every drawing slot of surface images with any pixels (image files
// hold anything), any colour channels (scene files hold anything) and
// rectangles, lines and spans clipped the way the drawing context clips
// them, on the four display formats with padded rows, in 2D and 3D mode.
// After every call: the row padding is untouched, nothing outside the call's
// area changed, the caller's spans are as they were, and the two forms of the
// picture, when both exist, agree.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "graphics/display/DDImage.h"
#include "graphics/display/DDInterface.h"
#include "graphics/display/SurfaceConverter.h"
#include "graphics/types/Color.h"
#include "graphics/types/Matrix3x3.h"
#include "graphics/types/Span.h"
#include "graphics/types/TriVertex.h"
#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DDrawRuntime.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/window/WindowMessages.h"
#include "tests/fuzz/FuzzBytes.h"

namespace {

using namespace Platform;
using Tandry::Color;
using Tandry::DDImage;
using Tandry::MemoryImage;
using Tandry::Rect;

intptr_t Ignore(WindowHandle, uint32_t, uintptr_t, intptr_t)
{
    return 0;
}

constexpr DDrawFormat kDesktops[] = {DDrawFormat::X8R8G8B8, DDrawFormat::R5G6B5, DDrawFormat::X1R5G5B5,
                                     DDrawFormat::BGR565};

void Configure(DDrawFormat format, uint32_t padding)
{
    DDrawSettings settings = DDrawRuntime::Get().GetSettings();
    settings.desktopFormat = format;
    settings.pitchPadding = padding;
    DDrawRuntime::Get().SetSettings(settings);
}

struct Displays {
    Displays()
    {
        HeadlessPlatform& platform = InstallHeadlessPlatform();
        WindowSystem& windows = platform.Windows();
        windows.RegisterWindowClass(WindowClass{"MainWindow", 0, Ignore, 0});
        const HWND window = windows.CreateWindow("MainWindow", L"Moorglen", WS_POPUP, 0, 0, 0, 640, 480);
        for (DDrawFormat format : kDesktops) {
            Configure(format, 16);
            auto display = std::make_unique<Tandry::DDInterface>();
            FuzzCheck(display->Init(window, true) == 0);
            list.push_back(std::move(display));
        }
    }
    std::vector<std::unique_ptr<Tandry::DDInterface>> list;
};

uint32_t Pixel(FuzzBytes& in, bool alpha)
{
    const uint8_t kind = in.Byte();
    const uint32_t rgb = static_cast<uint32_t>(in.Byte()) << 16 | static_cast<uint32_t>(in.Byte()) << 8 | in.Byte();
    if (!alpha || kind % 3 == 0)
        return 0xFF000000u | rgb;
    return kind % 3 == 1 ? rgb : static_cast<uint32_t>(kind) << 24 | rgb;
}

std::vector<uint32_t> Pixels(FuzzBytes& in, int width, int height, bool alpha)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (uint32_t& p : pixels)
        p = Pixel(in, alpha);
    return pixels;
}

int Channel(FuzzBytes& in)
{
    const uint8_t b = in.Byte();
    if (b >= 250)
        return b == 255 ? 300 : -5;
    return b % 2 == 0 ? 255 : b;
}

Color AnyColor(FuzzBytes& in)
{
    if (in.Bool())
        return Color(255, 255, 255, 255);
    return Color(Channel(in), Channel(in), Channel(in), Channel(in));
}

// The surface's memory as bytes, with its pitch and depth.
struct Snapshot {
    std::vector<uint8_t> bytes;
    int32_t pitch = 0;
    int bytesPerPixel = 0;
    int width = 0;
    int height = 0;
};

Snapshot Take(IDirectDrawSurface* surface)
{
    Snapshot s;
    if (surface == nullptr)
        return s;
    DDSURFACEDESC desc;
    desc.dwSize = sizeof(desc);
    FuzzCheck(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) == DD_OK);
    s.pitch = desc.lPitch;
    s.bytesPerPixel = static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount / 8);
    s.width = static_cast<int>(desc.dwWidth);
    s.height = static_cast<int>(desc.dwHeight);
    const auto* p = static_cast<const uint8_t*>(desc.lpSurface);
    s.bytes.assign(p, p + static_cast<size_t>(s.pitch) * s.height);
    surface->Unlock(nullptr);
    return s;
}

// Bytes outside area (padding included) are unchanged.
void CheckOutside(const Snapshot& before, const Snapshot& after, const Rect& area)
{
    if (before.bytes.empty() || after.bytes.size() != before.bytes.size())
        return;
    for (int y = 0; y < before.height; ++y) {
        for (int b = 0; b < before.pitch; ++b) {
            const int x = b / before.bytesPerPixel;
            const bool inside = x < before.width && x >= area.x && x < area.x + area.width && y >= area.y
                && y < area.y + area.height;
            const size_t i = static_cast<size_t>(y) * before.pitch + b;
            if (!inside)
                FuzzCheck(before.bytes[i] == after.bytes[i]);
        }
    }
}

// When both forms exist they hold the same picture.
void CheckForms(DDImage& image, const Tandry::DDInterface& display)
{
    FuzzCheck(image.mLockCount == 0);
    if (image.mSurface == nullptr || !image.mBits)
        return;
    const Snapshot s = Take(image.mSurface);
    const uint32_t colour = static_cast<uint32_t>(display.mRedMask | display.mGreenMask | display.mBlueMask);
    const Tandry::SurfaceConverter converter(display, static_cast<uint32_t>(display.mRedMask),
                                             static_cast<uint32_t>(display.mGreenMask),
                                             static_cast<uint32_t>(display.mBlueMask));
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x) {
            const uint32_t p = image.mBits[static_cast<size_t>(y) * image.mWidth + x];
            if ((p >> 24) != 255)
                continue;
            uint32_t stored = 0;
            std::memcpy(&stored, &s.bytes[static_cast<size_t>(y) * s.pitch + static_cast<size_t>(x) * s.bytesPerPixel],
                        static_cast<size_t>(s.bytesPerPixel));
            FuzzCheck((stored & colour) == converter.ToSurface(p));
        }
    }
}

// A position in sixteenths; the drawing context hands the slots finite values.
float Coord(FuzzBytes& in, int lo, int hi)
{
    return static_cast<float>(in.Range(lo * 16, hi * 16)) / 16.0f;
}

// Any turn, now and then one that is not a number.
double Angle(FuzzBytes& in)
{
    const int pick = in.Range(0, 660);
    if (pick > 640)
        return pick % 2 == 0 ? std::numeric_limits<double>::quiet_NaN() : std::numeric_limits<double>::infinity();
    return (pick - 10) / 100.0;
}

Rect ClipRect(FuzzBytes& in, int width, int height)
{
    const int x = in.Range(0, width - 1), y = in.Range(0, height - 1);
    return Rect(x, y, in.Range(1, width - x), in.Range(1, height - y));
}

std::unique_ptr<MemoryImage> MakeSource(FuzzBytes& in, Tandry::DDInterface& display)
{
    const int width = in.Range(1, 12), height = in.Range(1, 12);
    const uint8_t kind = in.Byte();
    const std::vector<uint32_t> pixels = Pixels(in, width, height, (kind & 1) != 0);
    std::unique_ptr<MemoryImage> image;
    if ((kind & 6) == 2) {
        auto surfaceImage = std::make_unique<DDImage>(&display);
        surfaceImage->SetBits(pixels.data(), width, height, true);
        surfaceImage->SetVideoMemory((kind & 8) != 0);
        surfaceImage->CreateSurface();
        image = std::move(surfaceImage);
    } else {
        image = std::make_unique<MemoryImage>(nullptr);
        image->SetBits(pixels.data(), width, height, true);
        if ((kind & 6) == 4)
            image->Palletize();
        if ((kind & 6) == 6)
            image->SetVolatile(true);
    }
    return image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Displays displays;
    FuzzBytes in(data, size);
    const uint8_t mode = in.Byte();
    Tandry::DDInterface& display = *displays.list[mode % 4];
    Configure(kDesktops[mode % 4], (mode & 4) != 0 ? 12 : 0);
    display.mIs3D = (mode & 8) != 0;

    const int width = in.Range(1, 24), height = in.Range(1, 16);
    auto dest = std::make_unique<DDImage>(&display);
    const std::vector<uint32_t> pixels = Pixels(in, width, height, (mode & 16) != 0);
    dest->SetBits(pixels.data(), width, height, true);
    if ((mode & 32) != 0) {
        dest->CreateSurface();
        if ((mode & 64) != 0)
            dest->FreeMemoryCopies();
    }
    std::vector<std::unique_ptr<MemoryImage>> sources;
    for (int i = 0; i < 2; ++i)
        sources.push_back(MakeSource(in, display));

    for (int call = 0; call < 12 && !in.Empty(); ++call) {
        const Snapshot before = Take(dest->mSurface);
        IDirectDrawSurface* const surfaceBefore = dest->mSurface;
        const Rect whole(0, 0, width, height);
        Rect area = whole;
        const uint8_t slot = in.Byte();
        const Color color = AnyColor(in);
        const int drawMode = in.Range(0, 3);
        MemoryImage& src = *sources[slot & 1];
        const Rect srcRect = ClipRect(in, src.mWidth, src.mHeight);
        switch ((slot >> 1) % 13) {
        case 0:
            area = ClipRect(in, width, height);
            dest->FillRect(area, color, drawMode);
            break;
        case 1: {
            const Rect r = ClipRect(in, width - 1 > 0 ? width - 1 : 1, height - 1 > 0 ? height - 1 : 1);
            const Rect outline(r.x, r.y, std::min(r.width, width - 1 - r.x), std::min(r.height, height - 1 - r.y));
            if (outline.width >= 0 && outline.height >= 1)
                dest->DrawRect(outline, color, drawMode);
            break;
        }
        case 2:
        case 3: {
            double x1 = in.Range(0, (width - 1) * 16) / 16.0, y1 = in.Range(0, (height - 1) * 16) / 16.0;
            double x2 = in.Range(0, (width - 1) * 16) / 16.0, y2 = in.Range(0, (height - 1) * 16) / 16.0;
            // Lines along column 0, the last row or the last column, either way.
            switch (in.Range(0, 3)) {
            case 1:
                x1 = in.Range(0, 15) / 16.0;
                x2 = in.Range(0, 15) / 16.0;
                break;
            case 2:
                y1 = height - 1 + in.Range(0, 15) / 16.0;
                y2 = height - 1 + in.Range(0, 15) / 16.0;
                break;
            case 3:
                x1 = width - 1 + in.Range(0, 15) / 16.0;
                x2 = width - 1 + in.Range(0, 15) / 16.0;
                break;
            default:
                break;
            }
            const int left = static_cast<int>(std::min(x1, x2)), top = static_cast<int>(std::min(y1, y2));
            area = Rect(left, top, static_cast<int>(std::max(x1, x2)) - left + 1,
                        static_cast<int>(std::max(y1, y2)) - top + 1);
            if (((slot >> 1) % 13) == 2) {
                dest->DrawLine(x1, y1, x2, y2, color, drawMode);
            } else {
                // The anti-aliased line's partner pixels lie one pixel beyond the box.
                area = Rect(area.x - 1, area.y - 1, area.width + 2, area.height + 2);
                dest->DrawLineAA(x1, y1, x2, y2, color, drawMode);
            }
            break;
        }
        case 4: {
            std::vector<Tandry::Span> spans;
            const int count = in.Range(1, 4);
            for (int i = 0; i < count; ++i) {
                const int y = in.Range(0, height - 1), x = in.Range(0, width - 1);
                spans.push_back({y, x, in.Range(1, width - x)});
            }
            std::vector<uint8_t> coverage(static_cast<size_t>(width) * height);
            for (uint8_t& c : coverage)
                c = in.Byte();
            int left = width, top = height, right = 0, bottom = 0;
            for (const Tandry::Span& s : spans) {
                left = std::min(left, s.x);
                top = std::min(top, s.y);
                right = std::max(right, s.x + s.width);
                bottom = std::max(bottom, s.y + 1);
            }
            area = Rect(left, top, right - left, bottom - top);
            const std::vector<Tandry::Span> given = spans;
            if (in.Bool()) {
                dest->FillScanLines(spans.data(), count, color, drawMode);
            } else if (in.Bool() && dest->mSurface != nullptr) {
                // The same spans on the 3D screen, through a temporary image.
                IDirectDrawSurface* const drawSurface = display.mDrawSurface;
                const bool is3D = display.mIs3D;
                display.mDrawSurface = dest->mSurface;
                display.mIs3D = true;
                dest->FillScanLinesWithCoverage(spans.data(), count, color, drawMode, coverage.data(), 0, 0, width, 0);
                display.mDrawSurface = drawSurface;
                display.mIs3D = is3D;
            } else {
                dest->FillScanLinesWithCoverage(spans.data(), count, color, drawMode, coverage.data(), 0, 0, width, 0);
            }
            for (int i = 0; i < count; ++i)
                FuzzCheck(spans[i].x == given[i].x && spans[i].y == given[i].y && spans[i].width == given[i].width);
            break;
        }
        case 5:
        case 6: {
            const int x = in.Range(0, width - 1), y = in.Range(0, height - 1);
            area = Rect(x, y, std::min(srcRect.width, width - x), std::min(srcRect.height, height - y));
            const Rect from(srcRect.x, srcRect.y, area.width, area.height);
            if (((slot >> 1) % 13) == 5)
                dest->Blt(&src, x, y, from, color, drawMode);
            else
                dest->BltMirror(&src, x, y, from, color, drawMode);
            break;
        }
        case 7:
        case 8: {
            const Rect to(in.Range(-4, width), in.Range(-4, height), in.Range(1, 30), in.Range(1, 30));
            area = ClipRect(in, width, height);
            if (((slot >> 1) % 13) == 7)
                dest->StretchBlt(&src, to, srcRect, area, color, drawMode, in.Bool());
            else
                dest->StretchBltMirror(&src, to, srcRect, area, color, drawMode, in.Bool());
            break;
        }
        case 9:
        case 10: {
            area = ClipRect(in, width, height);
            const float x = Coord(in, -4, width), y = Coord(in, -4, height);
            if (((slot >> 1) % 13) == 9)
                dest->BltF(&src, x, y, srcRect, area, color, drawMode);
            else
                dest->BltRotated(&src, x, y, srcRect, area, color, drawMode, Angle(in), Coord(in, 0, 8),
                                 Coord(in, 0, 8));
            break;
        }
        case 11: {
            area = ClipRect(in, width, height);
            Tandry::Matrix3x3 matrix;
            matrix.LoadIdentity();
            matrix.m[0][0] = Coord(in, -2, 2);
            matrix.m[0][1] = Coord(in, -2, 2);
            matrix.m[1][0] = Coord(in, -2, 2);
            matrix.m[1][1] = Coord(in, -2, 2);
            dest->BltMatrix(&src, Coord(in, 0, width), Coord(in, 0, height), matrix, area, color, drawMode, srcRect,
                            in.Bool());
            break;
        }
        default: {
            area = ClipRect(in, width, height);
            Tandry::TriVertex triangles[2][3];
            for (auto& triangle : triangles) {
                for (Tandry::TriVertex& v : triangle) {
                    v.x = Coord(in, -4, width + 4);
                    v.y = Coord(in, -4, height + 4);
                    v.u = Coord(in, 0, 1);
                    v.v = Coord(in, 0, 1);
                    v.color = in.Bool() ? 0 : Pixel(in, true);
                }
            }
            dest->BltTrianglesTex(&src, triangles, in.Range(0, 2), area, color, drawMode, Coord(in, -2, 2),
                                  Coord(in, -2, 2), in.Bool());
            break;
        }
        }
        if (dest->mSurface == surfaceBefore)
            CheckOutside(before, Take(dest->mSurface), Rect::Intersection(area, whole));
        CheckForms(*dest, display);
    }
    display.mIs3D = false;
    return 0;
}
