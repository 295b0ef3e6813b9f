// The Direct3D stand-in's device on 1024 x 768 targets in X8R8G8B8 and
// R5G6B5, in pixels per second: a full-screen textured quad blended over the
// target at 1:1 and turned by 30 degrees, with point and bilinear sampling,
// against pixman's affine OVER into the same format; 2,000 blended 32 x 32
// quads turned by 30 degrees against SDL's software renderer; and a frame
// like the game's in 3D, in milliseconds.
#include "bench/graphics/rasterizer/RasterizerBench.h"
#include "platform/d3d/D3DConstants.h"
#include "platform/d3d/D3DInterfaces.h"
#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DDrawEntryPoints.h"
#include "platform/ddraw/DDrawPixelFormat.h"
#include "platform/ddraw/DDrawRuntime.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace Platform;
using Tandry::RasterBench::LoopTimer;
using Tandry::RasterBench::ReferenceRate;

constexpr uint32_t kWidth = 1024;
constexpr uint32_t kHeight = 768;
constexpr double kTurn = 30.0 * 3.14159265358979323846 / 180.0;

struct Vertex {
    float x, y, z, rhw;
    uint32_t diffuse, specular;
    float u, v;
};
constexpr uint32_t kFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;

// A texture of translucent and opaque texels, the same for every reference.
std::vector<uint32_t> TexturePixels(uint32_t width, uint32_t height)
{
    std::vector<uint32_t> pixels(size_t{width} * height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            pixels[size_t{y} * width + x] =
                (((x / 8 + y / 8) % 3 == 0) ? 0x80000000u : 0xFF000000u) | ((x * 5) & 0xFF) << 16 |
                ((y * 3) & 0xFF) << 8 | ((x ^ y) & 0xFF);
    return pixels;
}

// The corners of a w x h rectangle turned by `angle` about (cx, cy), as a strip.
std::vector<Vertex> TurnedQuad(double cx, double cy, double w, double h, double angle, uint32_t colour = 0xFFFFFFFF)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double corners[4][4] = {{-w / 2, -h / 2, 0, 0}, {-w / 2, h / 2, 0, 1}, {w / 2, -h / 2, 1, 0},
                                  {w / 2, h / 2, 1, 1}};
    std::vector<Vertex> quad;
    for (const auto& k : corners)
        quad.push_back({float(cx + k[0] * c - k[1] * s - 0.5), float(cy + k[0] * s + k[1] * c - 0.5), 0, 1, colour, 0,
                        float(k[2]), float(k[3])});
    return quad;
}

// A DirectDraw object, a target, a device and textures, with the states of the display's normal mode.
struct Device {
    IDirectDraw7* dd = nullptr;
    IDirect3D7* d3d = nullptr;
    IDirectDrawSurface7* target = nullptr;
    IDirect3DDevice7* device = nullptr;
    std::vector<IDirectDrawSurface7*> textures;

    explicit Device(DDrawFormat format)
    {
        DDrawSettings settings;
        settings.fillByte = 0;
        settings.logCalls = false;
        DDrawRuntime::Get().SetSettings(settings);
        DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&dd), IID_IDirectDraw7, nullptr);
        dd->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d));
        DDSURFACEDESC2 desc = Desc(kWidth, kHeight, format, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
        dd->CreateSurface(&desc, &target, nullptr);
        d3d->CreateDevice(IID_IDirect3DHALDevice, target, &device);
        device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
        device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
        device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        device->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP);
    }
    ~Device()
    {
        for (IDirectDrawSurface7* texture : textures)
            texture->Release();
        device->Release();
        target->Release();
        d3d->Release();
        dd->Release();
        DDrawRuntime::Get().Reset();
    }
    static DDSURFACEDESC2 Desc(uint32_t width, uint32_t height, DDrawFormat format, uint32_t caps)
    {
        DDSURFACEDESC2 desc;
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = width;
        desc.dwHeight = height;
        desc.ddpfPixelFormat = MakePixelFormat(format);
        desc.ddsCaps.dwCaps = caps;
        return desc;
    }
    IDirectDrawSurface7* Texture(uint32_t width, uint32_t height)
    {
        DDSURFACEDESC2 desc = Desc(width, height, DDrawFormat::A8R8G8B8, DDSCAPS_TEXTURE);
        IDirectDrawSurface7* texture = nullptr;
        dd->CreateSurface(&desc, &texture, nullptr);
        DDSURFACEDESC2 locked;
        locked.dwSize = sizeof(locked);
        texture->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr);
        const std::vector<uint32_t> pixels = TexturePixels(width, height);
        for (uint32_t y = 0; y < height; ++y)
            std::memcpy(static_cast<uint8_t*>(locked.lpSurface) + size_t{y} * locked.lPitch, &pixels[size_t{y} * width],
                        size_t{width} * 4);
        texture->Unlock(nullptr);
        textures.push_back(texture);
        return texture;
    }
    void Linear(bool linear)
    {
        device->SetTextureStageState(0, D3DTSS_MAGFILTER, linear ? D3DTFG_LINEAR : D3DTFG_POINT);
        device->SetTextureStageState(0, D3DTSS_MINFILTER, linear ? D3DTFN_LINEAR : D3DTFN_POINT);
    }
    void Draw(uint32_t type, std::vector<Vertex>& vertices)
    {
        device->DrawPrimitive(type, kFormat, vertices.data(), static_cast<uint32_t>(vertices.size()), D3DDP_WAIT);
    }
    // Pixels an opaque draw of the strip covers.
    int64_t Covered(std::vector<Vertex> quad)
    {
        device->BeginScene();
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
        device->SetTexture(0, nullptr);
        device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
        for (Vertex& v : quad)
            v.diffuse = 0xFFFFFFFF;
        Draw(D3DPT_TRIANGLESTRIP, quad);
        device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
        device->EndScene();
        DDSURFACEDESC2 locked;
        locked.dwSize = sizeof(locked);
        target->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr);
        int64_t covered = 0;
        const uint32_t bytes = locked.ddpfPixelFormat.dwRGBBitCount / 8;
        for (uint32_t y = 0; y < kHeight; ++y)
            for (uint32_t x = 0; x < kWidth; ++x)
                covered += static_cast<uint8_t*>(locked.lpSurface)[size_t{y} * locked.lPitch + x * bytes] != 0;
        target->Unlock(nullptr);
        return covered;
    }
};

// pixman's affine OVER of the same texture, turned about the screen's centre.
std::function<void()> PixmanOver(DDrawFormat format, double angle, bool bilinear, std::vector<uint8_t>& screen)
{
    const pixman_format_code_t code = format == DDrawFormat::R5G6B5 ? PIXMAN_r5g6b5 : PIXMAN_x8r8g8b8;
    const int bytes = format == DDrawFormat::R5G6B5 ? 2 : 4;
    screen.assign(size_t{kWidth} * kHeight * bytes, 0x40);
    auto texels = std::make_shared<std::vector<uint32_t>>(TexturePixels(kWidth, kHeight));
    std::shared_ptr<pixman_image_t> source(
        pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, texels->data(), kWidth * 4), pixman_image_unref);
    std::shared_ptr<pixman_image_t> dest(pixman_image_create_bits(code, kWidth, kHeight,
                                                                  reinterpret_cast<uint32_t*>(screen.data()),
                                                                  int(kWidth) * bytes),
                                         pixman_image_unref);
    // Destination to source: turn back about the centre.
    pixman_transform_t transform;
    pixman_transform_init_identity(&transform);
    pixman_transform_translate(&transform, nullptr, pixman_double_to_fixed(-double(kWidth) / 2),
                               pixman_double_to_fixed(-double(kHeight) / 2));
    pixman_transform_rotate(&transform, nullptr, pixman_double_to_fixed(std::cos(-angle)),
                            pixman_double_to_fixed(std::sin(-angle)));
    pixman_transform_translate(&transform, nullptr, pixman_double_to_fixed(double(kWidth) / 2),
                               pixman_double_to_fixed(double(kHeight) / 2));
    pixman_image_set_transform(source.get(), &transform);
    pixman_image_set_filter(source.get(), bilinear ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
    return [source, dest, texels] {
        (void)texels; // kept alive for the source image
        pixman_image_composite32(PIXMAN_OP_OVER, source.get(), nullptr, dest.get(), 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    };
}

void BM_D3DFullScreenQuad(benchmark::State& state)
{
    const DDrawFormat format = state.range(0) == 565 ? DDrawFormat::R5G6B5 : DDrawFormat::X8R8G8B8;
    const double angle = state.range(1) != 0 ? kTurn : 0.0;
    const bool linear = state.range(2) != 0;
    Device device(format);
    std::vector<Vertex> quad = TurnedQuad(kWidth / 2.0, kHeight / 2.0, kWidth, kHeight, angle);
    const double pixels = double(device.Covered(quad));
    std::vector<uint8_t> screen;
    const double pixman =
        ReferenceRate("pixman/over/" + std::to_string(state.range(0)) + "/" + std::to_string(state.range(1)) + "/" +
                          std::to_string(state.range(2)),
                      PixmanOver(format, angle, linear, screen), pixels);
    IDirectDrawSurface7* texture = device.Texture(kWidth, kHeight);
    device.Linear(linear);
    device.device->SetTexture(0, texture);
    device.device->BeginScene();
    LoopTimer timer;
    for (auto _ : state) {
        device.Draw(D3DPT_TRIANGLESTRIP, quad);
        DDrawRuntime::Get().ClearCallLog();
    }
    device.device->EndScene();
    state.counters["Mpixel/s"] =
        benchmark::Counter(pixels * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
    timer.ReportRatio(state, pixels, "vs_pixman", pixman);
}
BENCHMARK(BM_D3DFullScreenQuad)
    ->ArgNames({"format", "turned", "linear"})
    ->ArgsProduct({{8888, 565}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

constexpr int kSprites = 2000;

std::vector<Vertex> SpriteTriangles()
{
    std::vector<Vertex> list;
    for (int i = 0; i < kSprites; ++i) {
        const std::vector<Vertex> q =
            TurnedQuad(20 + (i * 37) % 980, 20 + (i * 53) % 720, 32, 32, kTurn, 0xFFFFFFFF);
        for (int k : {0, 1, 2, 2, 1, 3})
            list.push_back(q[size_t(k)]);
    }
    return list;
}

std::function<void()> SdlSprites(std::vector<uint8_t>& screen)
{
    screen.assign(size_t{kWidth} * kHeight * 4, 0x40);
    std::shared_ptr<SDL_Surface> surface(
        SDL_CreateRGBSurfaceWithFormatFrom(screen.data(), kWidth, kHeight, 32, kWidth * 4, SDL_PIXELFORMAT_ARGB8888),
        SDL_FreeSurface);
    std::shared_ptr<SDL_Renderer> renderer(SDL_CreateSoftwareRenderer(surface.get()), SDL_DestroyRenderer);
    auto texels = std::make_shared<std::vector<uint32_t>>(TexturePixels(32, 32));
    std::shared_ptr<SDL_Surface> image(
        SDL_CreateRGBSurfaceWithFormatFrom(texels->data(), 32, 32, 32, 32 * 4, SDL_PIXELFORMAT_ARGB8888),
        SDL_FreeSurface);
    std::shared_ptr<SDL_Texture> texture(SDL_CreateTextureFromSurface(renderer.get(), image.get()),
                                         SDL_DestroyTexture);
    SDL_SetTextureBlendMode(texture.get(), SDL_BLENDMODE_BLEND);
    auto vertices = std::make_shared<std::vector<SDL_Vertex>>();
    for (const Vertex& v : SpriteTriangles())
        vertices->push_back({{v.x + 0.5f, v.y + 0.5f}, {255, 255, 255, 255}, {v.u, v.v}});
    return [surface, renderer, texels, image, texture, vertices] {
        (void)surface, (void)texels, (void)image; // kept alive for the renderer and the texture
        SDL_RenderGeometry(renderer.get(), texture.get(), vertices->data(), static_cast<int>(vertices->size()), nullptr,
                           0);
        SDL_RenderFlush(renderer.get());
    };
}

void BM_D3DSprites(benchmark::State& state)
{
    Device device(DDrawFormat::X8R8G8B8);
    std::vector<uint8_t> screen;
    const double triangles = 2.0 * kSprites;
    const double sdl = ReferenceRate("sdl/sprites", SdlSprites(screen), triangles);
    IDirectDrawSurface7* texture = device.Texture(32, 32);
    device.device->SetTexture(0, texture);
    std::vector<Vertex> list = SpriteTriangles();
    device.device->BeginScene();
    LoopTimer timer;
    for (auto _ : state) {
        device.Draw(D3DPT_TRIANGLELIST, list);
        DDrawRuntime::Get().ClearCallLog();
    }
    device.device->EndScene();
    state.counters["Mtriangles/s"] =
        benchmark::Counter(triangles * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
    timer.ReportRatio(state, triangles, "vs_sdl", sdl);
}
BENCHMARK(BM_D3DSprites)->Unit(benchmark::kMillisecond);

void BM_D3DGameFrame(benchmark::State& state)
{
    Device device(state.range(0) == 565 ? DDrawFormat::R5G6B5 : DDrawFormat::X8R8G8B8);
    IDirectDrawSurface7* background = device.Texture(1024, 768);
    IDirectDrawSurface7* sprite = device.Texture(64, 64);
    IDirectDrawSurface7* glyphs = device.Texture(128, 128);
    std::vector<Vertex> full = TurnedQuad(kWidth / 2.0, kHeight / 2.0, kWidth, kHeight, 0.0);
    std::vector<std::vector<Vertex>> sprites;
    for (int i = 0; i < 100; ++i)
        sprites.push_back(TurnedQuad(40 + (i * 97) % 940, 40 + (i * 61) % 690, 64, 64, 0.0, 0xFFFFFFFF));
    std::vector<Vertex> text;
    for (int i = 0; i < 500; ++i) {
        std::vector<Vertex> q = TurnedQuad(10 + (i % 100) * 10, 100 + (i / 100) * 14, 8, 12, 0.0, 0xFFFFFFFF);
        for (Vertex& v : q) {
            v.u = (v.u * 8 + (i % 16) * 8) / 128.0f;
            v.v = (v.v * 12 + (i / 16 % 10) * 12) / 128.0f;
        }
        for (int k : {0, 1, 2, 2, 1, 3})
            text.push_back(q[size_t(k)]);
    }
    std::vector<std::vector<Vertex>> fills;
    for (int i = 0; i < 20; ++i)
        fills.push_back(TurnedQuad(100 + i * 40, 300 + (i % 5) * 60, 120, 80, 0.0, 0x80204060));
    for (auto _ : state) {
        device.device->BeginScene();
        device.device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
        device.device->SetTexture(0, background);
        device.Draw(D3DPT_TRIANGLESTRIP, full);
        device.device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
        device.device->SetTexture(0, sprite);
        for (std::vector<Vertex>& q : sprites)
            device.Draw(D3DPT_TRIANGLESTRIP, q);
        device.device->SetTexture(0, glyphs);
        device.Draw(D3DPT_TRIANGLELIST, text);
        device.device->SetTexture(0, nullptr);
        for (std::vector<Vertex>& q : fills)
            device.Draw(D3DPT_TRIANGLESTRIP, q);
        device.device->EndScene();
        DDrawRuntime::Get().ClearCallLog();
    }
}
BENCHMARK(BM_D3DGameFrame)->ArgName("format")->Arg(8888)->Arg(565)->Unit(benchmark::kMillisecond);

} // namespace
