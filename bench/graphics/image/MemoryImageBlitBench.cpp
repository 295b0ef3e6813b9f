// Blt of memory images on a 1024 x 768 destination, beside the outside
// references measured in the same run (the 3 MiB memcpy of the image
// benchmarks is the physical limit). Normal blits on three contents (a
// full-frame anti-aliased sprite, alpha 128 everywhere, 200 sprites of
// 64 x 64): the run path onto an opaque destination beside pixman OVER
// a8r8g8b8 -> x8r8g8b8 and SDL2's blended blit ARGB8888 -> XRGB8888; the white
// path beside pixman OVER a8r8g8b8 -> a8r8g8b8 and SDL2 ARGB -> ARGB; the
// colour path beside pixman OVER with a solid mask. The additive blit beside
// pixman ADD. Goal: a ratio of at least 1.0 against each reference.
#include <cstdint>
#include <vector>

#include "bench/graphics/image/MemoryImageDrawBench.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

namespace {

using namespace DrawBench;
using Tandry::Color;
using Tandry::Rect;


void Label(benchmark::State& state, int content)
{
    state.SetLabel(ContentName(content));
    CountPixels(state, ContentPixels(content));
}

enum class Path { Run, White, Colour };

void MemoryImageBlit(benchmark::State& state, Path path)
{
    const int content = static_cast<int>(state.range(0));
    auto source = MakeImage(Content(content));
    // The white path's destination is opaque but flagged as having
    // transparent pixels, as one made with Create and then filled is.
    auto dest = MakeImage(Backdrop());
    if (path == Path::White)
        dest->ForceAlphaFlags(true, false);
    const Color color = path == Path::Colour ? Color(200, 150, 100, 200) : Color::White;
    const Rect srcRect(0, 0, source->mWidth, source->mHeight);
    for (auto _ : state) {
        ForEachPlacement(content, [&](int x, int y) { dest->Blt(source.get(), x, y, srcRect, color, 0); });
        benchmark::DoNotOptimize(dest->mBits.get());
    }
    Label(state, content);
}

void BM_BltRunPath_MemoryImage(benchmark::State& state)
{
    MemoryImageBlit(state, Path::Run);
}

void BM_BltWhitePath_MemoryImage(benchmark::State& state)
{
    MemoryImageBlit(state, Path::White);
}

void BM_BltColourPath_MemoryImage(benchmark::State& state)
{
    MemoryImageBlit(state, Path::Colour);
}

void PixmanBlit(benchmark::State& state, pixman_op_t op, pixman_format_code_t destFormat, bool solidMask,
                const Picture& backdrop)
{
    const int content = static_cast<int>(state.range(0));
    const Picture& picture = Content(content);
    PixmanPicture source(PIXMAN_a8r8g8b8, picture.width, picture.height, Premultiplied(picture));
    PixmanPicture dest(destFormat, kWidth, kHeight, Premultiplied(backdrop));
    const pixman_color_t maskColor{0, 0, 0, 200 * 257};
    pixman_image_t* mask = solidMask ? pixman_image_create_solid_fill(&maskColor) : nullptr;
    for (auto _ : state) {
        ForEachPlacement(content, [&](int x, int y) {
            pixman_image_composite32(op, source.Get(), mask, dest.Get(), 0, 0, 0, 0, x, y,
                                     picture.width, picture.height);
        });
        benchmark::DoNotOptimize(pixman_image_get_data(dest.Get()));
    }
    if (mask)
        pixman_image_unref(mask);
    Label(state, content);
}

void BM_BltRunPath_PixmanOverX888(benchmark::State& state)
{
    PixmanBlit(state, PIXMAN_OP_OVER, PIXMAN_x8r8g8b8, false, Backdrop());
}

void BM_BltWhitePath_PixmanOverA888(benchmark::State& state)
{
    PixmanBlit(state, PIXMAN_OP_OVER, PIXMAN_a8r8g8b8, false, Backdrop());
}

void BM_BltColourPath_PixmanOverSolidMask(benchmark::State& state)
{
    PixmanBlit(state, PIXMAN_OP_OVER, PIXMAN_x8r8g8b8, true, Backdrop());
}

void SdlBlit(benchmark::State& state, Uint32 destFormat, const Picture& backdrop)
{
    const int content = static_cast<int>(state.range(0));
    const Picture& picture = Content(content);
    SdlPicture source(SDL_PIXELFORMAT_ARGB8888, picture.width, picture.height, picture.px);
    SdlPicture dest(destFormat, kWidth, kHeight, backdrop.px);
    SDL_SetSurfaceBlendMode(source.Get(), SDL_BLENDMODE_BLEND);
    for (auto _ : state) {
        ForEachPlacement(content, [&](int x, int y) {
            SDL_Rect to{x, y, picture.width, picture.height};
            SDL_BlitSurface(source.Get(), nullptr, dest.Get(), &to);
        });
        benchmark::DoNotOptimize(dest.Get()->pixels);
    }
    Label(state, content);
}

void BM_BltRunPath_SdlBlendToXRGB(benchmark::State& state)
{
    SdlBlit(state, SDL_PIXELFORMAT_RGB888, Backdrop());
}

void BM_BltWhitePath_SdlBlendToARGB(benchmark::State& state)
{
    SdlBlit(state, SDL_PIXELFORMAT_ARGB8888, Backdrop());
}

void BM_BltAdditive_MemoryImage(benchmark::State& state)
{
    auto source = MakeImage(Content(0));
    auto dest = MakeImage(Backdrop());
    const Rect srcRect(0, 0, kWidth, kHeight);
    const Color color = state.range(0) == 0 ? Color::White : Color(200, 150, 100, 200);
    for (auto _ : state) {
        dest->Blt(source.get(), 0, 0, srcRect, color, 1);
        benchmark::DoNotOptimize(dest->mBits.get());
    }
    state.SetLabel(state.range(0) == 0 ? "white" : "coloured");
    CountPixels(state, ContentPixels(0));
}

void BM_BltAdditive_PixmanAdd(benchmark::State& state)
{
    PixmanPicture source(PIXMAN_a8r8g8b8, kWidth, kHeight, Premultiplied(Content(0)));
    PixmanPicture dest(PIXMAN_x8r8g8b8, kWidth, kHeight, Backdrop().px);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_ADD, source.Get(), nullptr, dest.Get(), 0, 0, 0, 0, 0, 0, kWidth, kHeight);
        benchmark::DoNotOptimize(pixman_image_get_data(dest.Get()));
    }
    CountPixels(state, ContentPixels(0));
}

} // namespace

BENCHMARK(BM_BltRunPath_MemoryImage)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BltRunPath_PixmanOverX888)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BltRunPath_SdlBlendToXRGB)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BltWhitePath_MemoryImage)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BltWhitePath_PixmanOverA888)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BltWhitePath_SdlBlendToARGB)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BltColourPath_MemoryImage)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BltColourPath_PixmanOverSolidMask)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BltAdditive_MemoryImage)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BltAdditive_PixmanAdd)->Unit(benchmark::kMillisecond);
