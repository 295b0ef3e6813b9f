// Drives the Direct3D back end's geometry with sizes, limits, polygons and
// triangles from scene and image files, which hold anything: texture layouts
// of any image size under any device limits, polygons through the clip
// boundaries, and triangles with any float bits through BltTriangles on the
// stand-in device. Layouts must cover the image exactly, in pieces of the
// sizes the limits allow; clipped polygons stay on the kept side and grow by
// at most one vertex per boundary; every vertex the device receives lies
// inside the clip, with texture positions inside their piece.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <tuple>
#include <vector>

#include "graphics/display/D3DInterface.h"
#include "graphics/display/D3DPolygonClip.h"
#include "graphics/display/D3DVertex.h"
#include "graphics/display/DDInterface.h"
#include "graphics/display/TextureData.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"
#include "graphics/types/TriVertex.h"
#include "platform/ddraw/DDrawRuntime.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/window/WindowMessages.h"
#include "tests/fuzz/FuzzBytes.h"
#include "tests/graphics/display/FakeDisplayHost.h"

namespace {

using namespace Platform;
using namespace Tandry;

// v without its factors of two.
int OddPart(int v)
{
    while (v > 0 && v % 2 == 0)
        v /= 2;
    return v;
}

// The device's limits of the triangle inputs stay as its set-up left them.
struct SavedLimits {
    SavedLimits()
        : minW(gMinTextureWidth), minH(gMinTextureHeight), maxW(gMaxTextureWidth), maxH(gMaxTextureHeight),
          aspect(gMaxTextureAspect)
    {
    }
    ~SavedLimits()
    {
        gMinTextureWidth = minW;
        gMinTextureHeight = minH;
        gMaxTextureWidth = maxW;
        gMaxTextureHeight = maxH;
        gMaxTextureAspect = aspect;
    }
    int minW, minH, maxW, maxH, aspect;
};

void CheckLayout(FuzzBytes& in)
{
    const SavedLimits saved;
    gMaxTextureWidth = 1 << in.Range(0, 10);
    gMaxTextureHeight = 1 << in.Range(0, 10);
    if (in.Bool())
        gMaxTextureWidth = in.Range(1, 1024);
    gMinTextureWidth = in.Range(1, gMaxTextureWidth);
    gMinTextureHeight = in.Range(1, gMaxTextureHeight);
    gMaxTextureAspect = in.Bool() ? 65536 : in.Range(1, 8);
    MemoryImage image(nullptr);
    image.mWidth = in.Range(0, 600);
    image.mHeight = in.Range(0, 600);
    image.mTextureFlags = in.Range(0, 15);
    TextureData data;
    LayoutTexturePieces(&image, &data);

    const int w = image.mWidth;
    const int h = image.mHeight;
    const int pw = data.mPieceWidth;
    const int ph = data.mPieceHeight;
    FuzzCheck(pw >= 1 && ph >= 1);
    FuzzCheck(data.mColumns == (w + pw - 1) / pw && data.mRows == (h + ph - 1) / ph);
    FuzzCheck(data.mPieces.size() == static_cast<size_t>(data.mColumns) * static_cast<size_t>(data.mRows));
    FuzzCheck(data.mMaxU == static_cast<float>(w) / static_cast<float>(pw));
    FuzzCheck(data.mMaxV == static_cast<float>(h) / static_cast<float>(ph));
    const bool exact64 = (image.mTextureFlags & kTextureFlagPieces64) != 0;
    for (int row = 0; row < data.mRows; ++row) {
        for (int column = 0; column < data.mColumns; ++column) {
            const TexturePiece& piece = data.mPieces[static_cast<size_t>(row * data.mColumns + column)];
            // The piece holds the part of the image it stands for.
            FuzzCheck(piece.width >= std::min(pw, w - column * pw));
            FuzzCheck(piece.height >= std::min(ph, h - row * ph));
            if (exact64) {
                FuzzCheck(piece.width == 64 && piece.height == 64);
                continue;
            }
            for (const auto& [size, limit, minimum] :
                 {std::tuple{piece.width, gMaxTextureWidth, gMinTextureWidth},
                  std::tuple{piece.height, gMaxTextureHeight, gMinTextureHeight}}) {
                FuzzCheck(size >= minimum);
                // A power of two, the limit or the minimum, each maybe doubled for the
                // aspect limit.
                const int odd = OddPart(size);
                FuzzCheck(odd == 1 || odd == OddPart(limit) || odd == OddPart(minimum));
            }
        }
    }
}

float Component(const D3DVertex& v, VertexComponent c)
{
    return c == VertexComponent::X ? v.x : c == VertexComponent::Y ? v.y : c == VertexComponent::U ? v.u : v.v;
}

void CheckClip(FuzzBytes& in)
{
    // A convex polygon: points on a circle in order of their angles.
    const int count = in.Range(0, 12);
    const float cx = in.Float(-100, 100);
    const float cy = in.Float(-100, 100);
    const float radius = static_cast<float>(in.Range(1, 200));
    std::vector<float> angles;
    for (int i = 0; i < count; ++i)
        angles.push_back(static_cast<float>(in.Range(0, 3599)) / 10.0f);
    std::sort(angles.begin(), angles.end());
    angles.erase(std::unique(angles.begin(), angles.end()), angles.end());
    VertexList polygon;
    for (float a : angles) {
        D3DVertex v;
        const double radians = a * 3.14159265358979 / 180.0;
        v.x = cx + radius * static_cast<float>(std::cos(radians));
        v.y = cy + radius * static_cast<float>(std::sin(radians));
        v.u = v.x / 64.0f;
        v.v = v.y / 64.0f;
        v.color = in.Bool() ? 0xFF0000FFu : 0x8000FF00u;
        polygon.Add(v);
    }
    if (!std::isfinite(cx) || !std::isfinite(cy))
        return;
    for (int boundary = 0; boundary < 4; ++boundary) {
        const auto component = static_cast<VertexComponent>(std::array{0, 1, 3, 4}[in.Range(0, 3)]);
        const float limit = static_cast<float>(in.Range(-300, 300))
                            / (component == VertexComponent::U || component == VertexComponent::V ? 64.0f : 1.0f);
        const bool atLeast = in.Bool();
        VertexList out;
        if (atLeast)
            ClipPolygonAtLeast(polygon, out, component, limit);
        else
            ClipPolygonBelow(polygon, out, component, limit);
        FuzzCheck(out.Count() <= polygon.Count() + 1);
        const float tolerance = 1e-4f * (1.0f + std::fabs(limit) + 400.0f);
        for (int i = 0; i < out.Count(); ++i) {
            const float value = Component(out[i], component);
            FuzzCheck(atLeast ? value >= limit - tolerance : value <= limit + tolerance);
        }
        polygon = out;
    }
}

struct Device {
    Device()
    {
        HeadlessPlatform& platform = InstallHeadlessPlatform();
        WindowSystem& windows = platform.Windows();
        windows.RegisterWindowClass(WindowClass{"MainWindow", 0, Ignore, 0});
        const HWND window = windows.CreateWindow("MainWindow", L"Moorglen", WS_POPUP, 0, 0, 0, 640, 480);
        DDrawSettings settings = DDrawRuntime::Get().GetSettings();
        settings.maxTextureWidth = settings.maxTextureHeight = 64;
        DDrawRuntime::Get().SetSettings(settings);
        host.settings.width = 640;
        host.settings.height = 480;
        SetImageHost(&host);
        display = std::make_unique<DDInterface>();
        host.display = display.get();
        display->mIs3D = true;
        FuzzCheck(display->Init(window, true) == 0);
        onePiece = MakeImage(30, 20);
        pieces = MakeImage(150, 90);
    }

    static intptr_t Ignore(WindowHandle, uint32_t, uintptr_t, intptr_t) { return 0; }

    std::unique_ptr<MemoryImage> MakeImage(int width, int height)
    {
        auto image = std::make_unique<MemoryImage>();
        std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height), 0xC0A08060u);
        image->SetBits(pixels.data(), width, height, true);
        return image;
    }

    DisplayTest::FakeDisplayHost host;
    std::unique_ptr<DDInterface> display;
    std::unique_ptr<MemoryImage> onePiece;
    std::unique_ptr<MemoryImage> pieces;
};

float AnyFloat(FuzzBytes& in)
{
    if (in.Bool())
        return in.Float(-100, 700);
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits = bits << 8 | in.Byte();
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

void CheckTriangles(FuzzBytes& in)
{
    static Device device;
    gD3DErrorText.clear();
    const bool multi = in.Bool();
    MemoryImage& image = multi ? *device.pieces : *device.onePiece;
    const int count = in.Range(0, 6);
    std::vector<TriVertex> triangles(static_cast<size_t>(count) * 3);
    float magnitude = 0.0f;
    float uvMagnitude = 1.0f;
    for (TriVertex& v : triangles) {
        v.x = AnyFloat(in);
        v.y = AnyFloat(in);
        v.u = in.Bool() ? AnyFloat(in) : static_cast<float>(in.Range(-4, 20)) / 16.0f;
        v.v = in.Bool() ? AnyFloat(in) : static_cast<float>(in.Range(-4, 20)) / 16.0f;
        v.color = in.Bool() ? 0 : 0xFF000000u | in.Byte();
    }
    const float tx = in.Float(-50, 50);
    const float ty = in.Float(-50, 50);
    const Rect clip(in.Range(-20, 600), in.Range(-20, 440), in.Range(0, 300), in.Range(0, 300));
    for (const TriVertex& v : triangles) {
        if (std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(tx) && std::isfinite(ty)) {
            magnitude = std::max({magnitude, std::fabs(v.x + tx), std::fabs(v.y + ty)});
            uvMagnitude = std::max({uvMagnitude, std::fabs(v.u) * 5.0f, std::fabs(v.v) * 5.0f});
        }
    }
    DDrawRuntime::Get().ClearCallLog();
    D3DInterface& d3d = *device.display->mD3DInterface;
    d3d.BltTriangles(triangles.data(), count, Color(255, 255, 255, 200), in.Range(0, 1), &image, tx, ty, in.Bool(),
                     &clip);
    const float tolerance = 1e-4f * (1.0f + 1000.0f + magnitude);
    const float uvTolerance = 1e-5f * uvMagnitude;
    for (const DDrawCall& call : DDrawRuntime::Get().GetCallLog()) {
        if (call.op != DDrawOp::DrawPrimitive)
            continue;
        std::vector<D3DVertex> vertices(call.vertices.size() / sizeof(D3DVertex));
        std::memcpy(vertices.data(), call.vertices.data(), vertices.size() * sizeof(D3DVertex));
        for (const D3DVertex& v : vertices) {
            FuzzCheck(v.x >= static_cast<float>(clip.x) - tolerance);
            FuzzCheck(v.x <= static_cast<float>(clip.x + clip.width) + tolerance);
            FuzzCheck(v.y >= static_cast<float>(clip.y) - tolerance);
            FuzzCheck(v.y <= static_cast<float>(clip.y + clip.height) + tolerance);
            if (multi) {
                FuzzCheck(v.u >= -uvTolerance && v.u <= 1.0f + uvTolerance);
                FuzzCheck(v.v >= -uvTolerance && v.v <= 1.0f + uvTolerance);
            }
        }
    }
    // One scene per input, as one per frame.
    d3d.Flush();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzBytes in(data, size);
    switch (in.Byte() % 3) {
    case 0:
        CheckLayout(in);
        break;
    case 1:
        CheckClip(in);
        break;
    default:
        CheckTriangles(in);
        break;
    }
    return 0;
}
