// The two dimming widgets drawing over a 1024 x 768 screen image: the fader at
// alpha 128 and the backdrop at level 1 (its nearly black picture, colourised
// white with alpha 127). Each is timed beside the same Graphics call made
// directly, and beside pixman's OVER of a solid colour and of the picture
// with a constant mask, in the same run. Goal: each widget within 1.05 times
// its direct call.
#include <cstdint>

#include "bench/graphics/image/MemoryImageDrawBench.h"
#include "game/shell/DarkBack.h"
#include "game/shell/FaderBoard.h"
#include "game/shell/GlobalResources.h"
#include "graphics/context/Graphics.h"
#include "graphics/types/Color.h"

namespace {

using namespace DrawBench;

constexpr int64_t kFrame = int64_t{kWidth} * kHeight;

// Nearly black, with some grain and alpha between 192 and 255.
Picture DarkPicture()
{
    Picture p{kWidth, kHeight, std::vector<uint32_t>(static_cast<size_t>(kFrame))};
    for (size_t i = 0; i < p.px.size(); ++i) {
        const uint32_t h = Hash(static_cast<uint32_t>(i));
        p.px[i] = (0xC0u + (h >> 26)) << 24 | (h & 0x0F0F0F);
    }
    return p;
}

void BM_DimFader_Draw(benchmark::State& state)
{
    auto screen = MakeImage(Backdrop());
    Tandry::FaderBoard fader;
    fader.Resize(0, 0, kWidth, kHeight);
    fader.alpha = 128;
    Tandry::Graphics g(screen.get());
    for (auto _ : state) {
        fader.Draw(&g);
        benchmark::DoNotOptimize(screen->mBits.get());
    }
    CountPixels(state, kFrame);
}

void BM_DimFader_DirectFillRect(benchmark::State& state)
{
    auto screen = MakeImage(Backdrop());
    Tandry::Graphics g(screen.get());
    for (auto _ : state) {
        g.SetColor(Tandry::Color(0, 0, 0, 128));
        g.FillRect(0, 0, kWidth, kHeight);
        benchmark::DoNotOptimize(screen->mBits.get());
    }
    CountPixels(state, kFrame);
}

void BM_DimFader_PixmanSolidOver(benchmark::State& state)
{
    PixmanPicture dest(PIXMAN_a8r8g8b8, kWidth, kHeight, Backdrop().px);
    const pixman_color_t black{0, 0, 0, 128 * 257};
    pixman_image_t* solid = pixman_image_create_solid_fill(&black);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, solid, nullptr, dest.Get(), 0, 0, 0, 0, 0, 0, kWidth, kHeight);
        benchmark::DoNotOptimize(pixman_image_get_data(dest.Get()));
    }
    pixman_image_unref(solid);
    CountPixels(state, kFrame);
}

void BM_DimBack_Draw(benchmark::State& state)
{
    auto screen = MakeImage(Backdrop());
    auto picture = MakeImage(DarkPicture());
    Tandry::IMAGE_DARK_BACK = picture.get();
    Tandry::DarkBack back(nullptr, 0);
    back.level = 1.0f;
    Tandry::Graphics g(screen.get());
    for (auto _ : state) {
        back.Draw(&g);
        benchmark::DoNotOptimize(screen->mBits.get());
    }
    Tandry::ResetGlobalResources();
    CountPixels(state, kFrame);
}

void BM_DimBack_DirectDrawImage(benchmark::State& state)
{
    auto screen = MakeImage(Backdrop());
    auto picture = MakeImage(DarkPicture());
    Tandry::Graphics g(screen.get());
    for (auto _ : state) {
        g.SetColorizeImages(true);
        g.SetColor(Tandry::Color(255, 255, 255, 127));
        g.DrawImage(picture.get(), 0, 0);
        g.SetColorizeImages(false);
        benchmark::DoNotOptimize(screen->mBits.get());
    }
    CountPixels(state, kFrame);
}

void BM_DimBack_PixmanPictureOverConstantMask(benchmark::State& state)
{
    PixmanPicture dest(PIXMAN_a8r8g8b8, kWidth, kHeight, Backdrop().px);
    PixmanPicture source(PIXMAN_a8r8g8b8, kWidth, kHeight, Premultiplied(DarkPicture()));
    const pixman_color_t half{0, 0, 0, 127 * 257};
    pixman_image_t* mask = pixman_image_create_solid_fill(&half);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, source.Get(), mask, dest.Get(), 0, 0, 0, 0, 0, 0, kWidth, kHeight);
        benchmark::DoNotOptimize(pixman_image_get_data(dest.Get()));
    }
    pixman_image_unref(mask);
    CountPixels(state, kFrame);
}

BENCHMARK(BM_DimFader_Draw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DimFader_DirectFillRect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DimFader_PixmanSolidOver)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DimBack_Draw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DimBack_DirectDrawImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DimBack_PixmanPictureOverConstantMask)->Unit(benchmark::kMillisecond);

} // namespace
