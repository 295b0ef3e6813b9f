// BltRotated of memory images: a 256 x 256 anti-aliased sprite turned by 30
// degrees onto a 1024 x 768 destination, beside pixman's bilinear affine OVER
// of the same sprite, measured in the same run. Goal: a ratio of at least 1.0.
#include <cmath>
#include <cstdint>
#include <numbers>

#include "bench/graphics/image/MemoryImageDrawBench.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

namespace {

using namespace DrawBench;

constexpr int kSide = 256;
constexpr double kAngle = std::numbers::pi / 6;

const Picture& Sprite()
{
    static const Picture sprite = Discs(kSide, kSide, 100, kSide);
    return sprite;
}

// The turned sprite's box, about 350 pixels square, placed near the middle.
constexpr int kBox = 350;
constexpr int kLeft = 300;
constexpr int kTop = 200;

void BM_Rotate30_MemoryImage(benchmark::State& state)
{
    auto source = MakeImage(Sprite());
    auto dest = MakeImage(Backdrop());
    const float x = kLeft + (kBox - kSide) / 2.0f, y = kTop + (kBox - kSide) / 2.0f;
    for (auto _ : state) {
        dest->BltRotated(source.get(), x, y, Tandry::Rect(0, 0, kSide, kSide), Tandry::Rect(0, 0, kWidth, kHeight),
                         Tandry::Color::White, 0, kAngle, kSide / 2.0f, kSide / 2.0f);
        benchmark::DoNotOptimize(dest->mBits.get());
    }
    CountPixels(state, int64_t{kBox} * kBox);
}

void BM_Rotate30_PixmanBilinear(benchmark::State& state)
{
    PixmanPicture source(PIXMAN_a8r8g8b8, kSide, kSide, Premultiplied(Sprite()));
    PixmanPicture dest(PIXMAN_a8r8g8b8, kWidth, kHeight, Backdrop().px);
    TurnAboutCentre(source.Get(), kSide, kBox, kAngle);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, source.Get(), nullptr, dest.Get(), 0, 0, 0, 0, kLeft, kTop, kBox,
                                 kBox);
        benchmark::DoNotOptimize(pixman_image_get_data(dest.Get()));
    }
    CountPixels(state, int64_t{kBox} * kBox);
}

} // namespace

BENCHMARK(BM_Rotate30_MemoryImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rotate30_PixmanBilinear)->Unit(benchmark::kMillisecond);
