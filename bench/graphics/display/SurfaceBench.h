// Shared by the benchmarks of the software drawing into display surfaces: a
// 1024 x 768 surface image on a headless 32-bit or 565 display holding the
// painted backdrop, and the same backdrop as a pixman image and an SDL surface
// of the matching format (x8r8g8b8 / XRGB8888 or r5g6b5 / RGB565), made once
// outside the timed loops.
#pragma once

#include "bench/graphics/display/DisplayBenchSetup.h"
#include "bench/graphics/image/MemoryImageDrawBench.h"
#include "graphics/display/DDImage.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace SurfaceBench {

using DisplayBench::kHeight;
using DisplayBench::kWidth;

constexpr int64_t kFramePixels = int64_t{DisplayBench::kWidth} * DisplayBench::kHeight;

inline bool Is565(const benchmark::State& state)
{
    return state.range(0) != 0;
}

inline Platform::DDrawFormat FormatOf(const benchmark::State& state)
{
    return DisplayBench::kFormats[Is565(state) ? 1 : 0];
}

// The display and an opaque surface image on it whose surface holds the only
// picture, so every blit reaches the surface routines.
class SurfaceTarget {
public:
    explicit SurfaceTarget(Platform::DDrawFormat format) : mDisplay(format)
    {
        if (!mDisplay.ok)
            return;
        image = std::make_unique<Tandry::DDImage>(&mDisplay.Display());
        const DrawBench::Picture backdrop = DrawBench::Backdrop();
        image->SetBits(backdrop.px.data(), backdrop.width, backdrop.height, true);
        ok = image->CreateSurface();
        image->FreeMemoryCopies();
    }
    SurfaceTarget(const SurfaceTarget&) = delete;
    SurfaceTarget& operator=(const SurfaceTarget&) = delete;

    Tandry::DDInterface& Display() { return mDisplay.Display(); }

    // The source's display-format data and run tables are made before timing.
    void Prepare(Tandry::MemoryImage& source)
    {
        source.GetDisplayFormatData(&Display());
        source.GetAlphaRunTable();
        source.GetAdditiveRunTable(&Display());
    }

    std::unique_ptr<Tandry::DDImage> image;
    bool ok = false;

private:
    DisplayBench::HeadlessDisplay mDisplay;
};

// The backdrop in the reference libraries' destination formats.
inline std::vector<uint16_t> Backdrop565()
{
    const DrawBench::Picture p = DrawBench::Backdrop();
    std::vector<uint16_t> out(p.px.size());
    for (size_t i = 0; i < out.size(); ++i) {
        const uint32_t w = p.px[i];
        out[i] = static_cast<uint16_t>(((w >> 8) & 0xF800u) | ((w >> 5) & 0x07E0u) | ((w >> 3) & 0x1Fu));
    }
    return out;
}

class PixmanTarget {
public:
    explicit PixmanTarget(bool is565)
    {
        if (is565) {
            mWords16 = Backdrop565();
            mImage = pixman_image_create_bits(PIXMAN_r5g6b5, kWidth, kHeight,
                                              reinterpret_cast<uint32_t*>(mWords16.data()), kWidth * 2);
        } else {
            mWords32 = DrawBench::Backdrop().px;
            mImage = pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight, mWords32.data(), kWidth * 4);
        }
    }
    ~PixmanTarget() { pixman_image_unref(mImage); }
    PixmanTarget(const PixmanTarget&) = delete;
    PixmanTarget& operator=(const PixmanTarget&) = delete;
    pixman_image_t* Get() const { return mImage; }

private:
    std::vector<uint32_t> mWords32;
    std::vector<uint16_t> mWords16;
    pixman_image_t* mImage = nullptr;
};

class SdlTarget {
public:
    explicit SdlTarget(bool is565)
    {
        if (is565) {
            mWords16 = Backdrop565();
            mSurface = SDL_CreateRGBSurfaceWithFormatFrom(mWords16.data(), kWidth, kHeight, 16, kWidth * 2,
                                                          SDL_PIXELFORMAT_RGB565);
        } else {
            mWords32 = DrawBench::Backdrop().px;
            mSurface = SDL_CreateRGBSurfaceWithFormatFrom(mWords32.data(), kWidth, kHeight, 32, kWidth * 4,
                                                          SDL_PIXELFORMAT_RGB888);
        }
    }
    ~SdlTarget() { SDL_FreeSurface(mSurface); }
    SdlTarget(const SdlTarget&) = delete;
    SdlTarget& operator=(const SdlTarget&) = delete;
    SDL_Surface* Get() const { return mSurface; }

private:
    std::vector<uint32_t> mWords32;
    std::vector<uint16_t> mWords16;
    SDL_Surface* mSurface = nullptr;
};

// An ARGB picture as pixman's premultiplied a8r8g8b8.
inline std::unique_ptr<DrawBench::PixmanPicture> PixmanSource(const DrawBench::Picture& p)
{
    return std::make_unique<DrawBench::PixmanPicture>(PIXMAN_a8r8g8b8, p.width, p.height, DrawBench::Premultiplied(p));
}

// An ARGB picture as SDL's straight ARGB8888, blended when blitted.
inline std::unique_ptr<DrawBench::SdlPicture> SdlSource(const DrawBench::Picture& p)
{
    auto source = std::make_unique<DrawBench::SdlPicture>(SDL_PIXELFORMAT_ARGB8888, p.width, p.height, p.px);
    SDL_SetSurfaceBlendMode(source->Get(), SDL_BLENDMODE_BLEND);
    return source;
}

// The rows of one argument: 0 for the 32-bit display, 1 for 565.
inline void Formats(benchmark::internal::Benchmark* b)
{
    b->ArgsProduct({{0, 1}})->ArgNames({"rgb565"})->Unit(benchmark::kMillisecond);
}

inline void Label(benchmark::State& state, const char* what, int64_t pixels)
{
    state.SetLabel(what);
    DrawBench::CountPixels(state, pixels);
}

} // namespace SurfaceBench
