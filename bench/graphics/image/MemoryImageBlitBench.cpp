// Blt of memory images on a 1024 x 768 destination, beside the outside
// references measured in the same run (the 3 MiB memcpy of the image
// benchmarks is the physical limit). Normal blits on three contents (a
// full-frame anti-aliased sprite, alpha 128 everywhere, 200 sprites of
// 64 x 64): the run path onto an opaque destination beside pixman OVER
// a8r8g8b8 -> x8r8g8b8 and SDL2's blended blit ARGB8888 -> XRGB8888; the white
// path beside pixman OVER a8r8g8b8 -> a8r8g8b8 and SDL2 ARGB -> ARGB; the
// colour path beside pixman OVER with a solid mask. The additive blit beside
// pixman ADD. Goal: a ratio of at least 1.0 against each reference.
//
// The per-call rows draw one soft-edged sprite of 16, 64, 256 or 1024 pixels
// square through Graphics::DrawImage, as a game draws, onto a 1024 x 1024
// backdrop, moving it each call; time per iteration is time per call, so the
// set-up shows at 16 and the per-pixel work at 1024. A sprite of one soft
// pixel shows the set-up alone (clipping, the choice of path, the run table
// lookup), beside pixman's per-call cost for the same pixel. The colour path's exact
// equivalent is SDL's blended blit with colour and alpha modulation; pixman's
// OVER through a solid alpha mask is a lighter job (no colour per channel)
// and is labelled so. Goal at 16: at least pixman's calls per second.
#include <cstdint>
#include <vector>

#include "bench/graphics/image/MemoryImageDrawBench.h"
#include "graphics/context/Graphics.h"
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

// The per-call rows.
constexpr int kSizedDest = 1024;

const Picture& SizedBackdrop()
{
    static const Picture backdrop = [] {
        Picture p{kSizedDest, kSizedDest, std::vector<uint32_t>(size_t{kSizedDest} * kSizedDest)};
        for (size_t i = 0; i < p.px.size(); ++i)
            p.px[i] = 0xFF000000u | (Hash(static_cast<uint32_t>(i)) & 0xFFFFFF);
        return p;
    }();
    return backdrop;
}

const Picture& SizedSprite(int size)
{
    static const Picture sprites[] = {Discs(16, 16, 6, 16), Discs(64, 64, 26, 64), Discs(256, 256, 104, 256),
                                      Discs(1024, 1024, 416, 1024), Picture{1, 1, {0xC0336699u}}};
    return sprites[size == 16 ? 0 : size == 64 ? 1 : size == 256 ? 2 : size == 1024 ? 3 : 4];
}

// Where the n-th call draws: sixteen places spread over the backdrop.
SDL_Point SizedPlace(int size, uint32_t call)
{
    const uint32_t room = static_cast<uint32_t>(kSizedDest - size + 1);
    const uint32_t i = call % 16;
    return {static_cast<int>(Hash(i * 2 + 1) % room), static_cast<int>(Hash(i * 2 + 2) % room)};
}

void SizedCounters(benchmark::State& state, int size)
{
    CountPixels(state, int64_t{size} * size);
    state.counters["calls/s"] = benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
}

enum class SizedPath { Run, White, Colour, Additive };

void BM_BltPerCall_MemoryImage(benchmark::State& state)
{
    const auto path = static_cast<SizedPath>(state.range(0));
    const int size = static_cast<int>(state.range(1));
    auto source = MakeImage(SizedSprite(size));
    auto dest = MakeImage(SizedBackdrop());
    if (path == SizedPath::White)
        dest->ForceAlphaFlags(true, false);
    Tandry::Graphics g(dest.get());
    if (path == SizedPath::Colour || path == SizedPath::Additive) {
        g.SetColorizeImages(true);
        g.SetColor(Color(200, 150, 100, 200));
    }
    g.SetDrawMode(path == SizedPath::Additive ? 1 : 0);
    uint32_t call = 0;
    for (auto _ : state) {
        const SDL_Point at = SizedPlace(size, call++);
        g.DrawImage(source.get(), at.x, at.y);
    }
    benchmark::DoNotOptimize(dest->mBits.get());
    static const char* const kNames[] = {"run path", "white path", "colour path", "additive colour"};
    state.SetLabel(kNames[state.range(0)]);
    SizedCounters(state, size);
}

// pixman: OVER onto x8r8g8b8 (the run path's job), onto a8r8g8b8 (the white
// path's), through a solid alpha mask (lighter than the colour path) and ADD
// through the same mask (the additive colour path's job, premultiplied).
void BM_BltPerCall_Pixman(benchmark::State& state)
{
    const auto path = static_cast<SizedPath>(state.range(0));
    const int size = static_cast<int>(state.range(1));
    const Picture& sprite = SizedSprite(size);
    PixmanPicture source(PIXMAN_a8r8g8b8, size, size, Premultiplied(sprite));
    PixmanPicture dest(path == SizedPath::White ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8, kSizedDest, kSizedDest,
                       SizedBackdrop().px);
    const pixman_color_t maskColor{0, 0, 0, 200 * 257};
    pixman_image_t* mask =
        path == SizedPath::Colour || path == SizedPath::Additive ? pixman_image_create_solid_fill(&maskColor) : nullptr;
    const pixman_op_t op = path == SizedPath::Additive ? PIXMAN_OP_ADD : PIXMAN_OP_OVER;
    uint32_t call = 0;
    for (auto _ : state) {
        const SDL_Point at = SizedPlace(size, call++);
        pixman_image_composite32(op, source.Get(), mask, dest.Get(), 0, 0, 0, 0, at.x, at.y, size, size);
    }
    benchmark::DoNotOptimize(pixman_image_get_data(dest.Get()));
    if (mask)
        pixman_image_unref(mask);
    static const char* const kNames[] = {"OVER to x888", "OVER to a888", "OVER alpha mask (lighter job)",
                                         "ADD alpha mask"};
    state.SetLabel(kNames[state.range(0)]);
    SizedCounters(state, size);
}

// SDL's blended blit ARGB8888 -> XRGB8888, with the colour and alpha
// modulation of the colour path when asked: the same job as ours.
void BM_BltPerCall_Sdl(benchmark::State& state)
{
    const bool modulated = state.range(0) != 0;
    const int size = static_cast<int>(state.range(1));
    const Picture& sprite = SizedSprite(size);
    SdlPicture source(SDL_PIXELFORMAT_ARGB8888, size, size, sprite.px);
    SdlPicture dest(SDL_PIXELFORMAT_RGB888, kSizedDest, kSizedDest, SizedBackdrop().px);
    SDL_SetSurfaceBlendMode(source.Get(), SDL_BLENDMODE_BLEND);
    if (modulated) {
        SDL_SetSurfaceColorMod(source.Get(), 200, 150, 100);
        SDL_SetSurfaceAlphaMod(source.Get(), 200);
    }
    uint32_t call = 0;
    for (auto _ : state) {
        const SDL_Point at = SizedPlace(size, call++);
        SDL_Rect to{at.x, at.y, size, size};
        SDL_BlitSurface(source.Get(), nullptr, dest.Get(), &to);
    }
    benchmark::DoNotOptimize(dest.Get()->pixels);
    state.SetLabel(modulated ? "blend, colour and alpha modulated" : "blend");
    SizedCounters(state, size);
}

} // namespace

BENCHMARK(BM_BltPerCall_MemoryImage)->ArgsProduct({{0, 1, 2, 3}, {1, 16, 64, 256, 1024}})->ArgNames({"path", "size"});
BENCHMARK(BM_BltPerCall_Pixman)->ArgsProduct({{0, 1, 2, 3}, {1, 16, 64, 256, 1024}})->ArgNames({"path", "size"});
BENCHMARK(BM_BltPerCall_Sdl)->ArgsProduct({{0, 1}, {16, 64, 256, 1024}})->ArgNames({"modulated", "size"});
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
