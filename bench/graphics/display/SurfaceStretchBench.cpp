// The nearest-pixel stretch of a surface image into its locked 1024 x 768
// surface, on a 32-bit and a 565 display: 512 x 384 enlarged to the whole
// surface and 1024 x 768 reduced to a quarter of it, opaque and with alpha,
// beside SDL_BlitScaled into the same format (blend mode none for the opaque
// source, blend for the one with alpha), measured in the same run.
// Goal: a ratio of at least 1.0.
#include "bench/graphics/display/SurfaceBench.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

namespace {

using namespace SurfaceBench;
using namespace DrawBench;
using SurfaceBench::kHeight;
using SurfaceBench::kWidth;
using Tandry::Rect;

bool Reduces(const benchmark::State& state)
{
    return state.range(1) != 0;
}

bool HasAlpha(const benchmark::State& state)
{
    return state.range(2) != 0;
}

// The source: an opaque painting or soft discs, 512 x 384 or 1024 x 768.
const Picture& Source(bool large, bool alpha)
{
    static const Picture opaqueSmall = [] {
        const Picture full = Backdrop();
        Picture p{kWidth / 2, kHeight / 2, {}};
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x)
                p.px.push_back(full.px[static_cast<size_t>(y) * 2 * kWidth + static_cast<size_t>(x) * 2]);
        }
        return p;
    }();
    static const Picture opaqueLarge = Backdrop();
    static const Picture discsSmall = Discs(kWidth / 2, kHeight / 2, 30, 75);
    static const Picture discsLarge = SpriteFrame();
    return large ? (alpha ? discsLarge : opaqueLarge) : (alpha ? discsSmall : opaqueSmall);
}

Rect DestOf(bool reduces)
{
    return reduces ? Rect(0, 0, kWidth / 2, kHeight / 2) : Rect(0, 0, kWidth, kHeight);
}

void Label(benchmark::State& state)
{
    state.SetLabel(std::string(Reduces(state) ? "1024x768 -> 512x384" : "512x384 -> 1024x768")
                   + (HasAlpha(state) ? ", alpha" : ", opaque"));
    const Rect to = DestOf(Reduces(state));
    CountPixels(state, int64_t{to.width} * to.height);
}

void BM_SurfaceStretch(benchmark::State& state)
{
    SurfaceTarget target(FormatOf(state));
    if (!target.ok) {
        state.SkipWithError("the display did not come up");
        return;
    }
    const Picture& picture = Source(Reduces(state), HasAlpha(state));
    auto source = MakeImage(picture);
    target.Prepare(*source);
    const Rect to = DestOf(Reduces(state));
    const Rect from(0, 0, picture.width, picture.height);
    const Rect clip(0, 0, kWidth, kHeight);
    for (auto _ : state)
        target.image->StretchBlt(source.get(), to, from, clip, Tandry::Color(255, 255, 255, 255), 0, true);
    Label(state);
}

void BM_SurfaceStretch_SdlBlitScaled(benchmark::State& state)
{
    const Picture& picture = Source(Reduces(state), HasAlpha(state));
    SdlTarget dest(Is565(state));
    SdlPicture source(SDL_PIXELFORMAT_ARGB8888, picture.width, picture.height, picture.px);
    SDL_SetSurfaceBlendMode(source.Get(), HasAlpha(state) ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    const Rect to = DestOf(Reduces(state));
    for (auto _ : state) {
        SDL_Rect rect{to.x, to.y, to.width, to.height};
        SDL_BlitScaled(source.Get(), nullptr, dest.Get(), &rect);
        benchmark::DoNotOptimize(dest.Get()->pixels);
    }
    Label(state);
}

void Rows(benchmark::internal::Benchmark* b)
{
    b->ArgsProduct({{0, 1}, {0, 1}, {0, 1}})->ArgNames({"rgb565", "reduce", "alpha"})->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_SurfaceStretch)->Apply(Rows);
BENCHMARK(BM_SurfaceStretch_SdlBlitScaled)->Apply(Rows);
