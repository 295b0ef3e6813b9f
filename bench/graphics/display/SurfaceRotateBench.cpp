// The rotated blit of a surface image: a 256 x 256 anti-aliased sprite turned
// by 30 degrees into the locked 1024 x 768 surface of a 32-bit and a 565
// display, normal and additive, beside pixman's bilinear affine OVER into
// x8r8g8b8 / r5g6b5, measured in the same run. Goal: a ratio of at least 1.0.
#include "bench/graphics/display/SurfaceBench.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

#include <cmath>
#include <numbers>

namespace {

using namespace SurfaceBench;
using namespace DrawBench;
using SurfaceBench::kHeight;
using SurfaceBench::kWidth;
using Tandry::Rect;

constexpr int kSide = 256;
constexpr double kAngle = std::numbers::pi / 6;
// The turned sprite's box, about 350 pixels square, near the middle.
constexpr int kBox = 350;
constexpr int kLeft = 300;
constexpr int kTop = 200;

const Picture& Sprite()
{
    static const Picture sprite = Discs(kSide, kSide, 100, kSide);
    return sprite;
}

void BM_SurfaceRotate30(benchmark::State& state)
{
    SurfaceTarget target(FormatOf(state));
    if (!target.ok) {
        state.SkipWithError("the display did not come up");
        return;
    }
    auto source = MakeImage(Sprite());
    const int mode = static_cast<int>(state.range(1));
    const float x = kLeft + (kBox - kSide) / 2.0f, y = kTop + (kBox - kSide) / 2.0f;
    for (auto _ : state) {
        target.image->BltRotated(source.get(), x, y, Rect(0, 0, kSide, kSide), Rect(0, 0, kWidth, kHeight),
                                 Tandry::Color(255, 255, 255, 255), mode, kAngle, kSide / 2.0f, kSide / 2.0f);
    }
    state.SetLabel(mode == 0 ? "normal" : "additive");
    CountPixels(state, int64_t{kBox} * kBox);
}

void BM_SurfaceRotate30_PixmanBilinear(benchmark::State& state)
{
    PixmanPicture source(PIXMAN_a8r8g8b8, kSide, kSide, Premultiplied(Sprite()));
    PixmanTarget dest(Is565(state));
    TurnAboutCentre(source.Get(), kSide, kBox, kAngle);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, source.Get(), nullptr, dest.Get(), 0, 0, 0, 0, kLeft, kTop, kBox,
                                 kBox);
        benchmark::DoNotOptimize(pixman_image_get_data(dest.Get()));
    }
    CountPixels(state, int64_t{kBox} * kBox);
}

} // namespace

BENCHMARK(BM_SurfaceRotate30)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"rgb565", "additive"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurfaceRotate30_PixmanBilinear)->Apply(Formats);
