// The blits of a surface image into its locked 1024 x 768 surface, on a 32-bit
// and a 565 display, beside the outside references measured in the same run,
// in Mpixel/s. Goals (ratio against the reference):
// - the white compositing path on three contents (a full-frame anti-aliased
//   sprite, alpha 128 everywhere, 200 sprites of 64 x 64) >= 1.0 against
//   pixman OVER a8r8g8b8 -> x8r8g8b8 / r5g6b5 (SDL2's blended blit beside it);
// - the grey and other-colour paths >= 1.0 against pixman OVER with a solid mask;
// - the additive blit >= 1.0 against pixman ADD;
// - the raw path of a volatile source >= 1.0 against SDL2's blended blit;
// - the copy path of an opaque full frame: 32-bit >= 0.8 of memcpy's
//   bandwidth, 565 >= 1.0 against pixman SRC a8r8g8b8 -> r5g6b5.
#include "bench/graphics/display/SurfaceBench.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

#include <cstring>

namespace {

using namespace SurfaceBench;
using namespace DrawBench;
using Tandry::Color;
using Tandry::Rect;

enum class Blit { White, Grey, Colour, Additive, Raw, Copy };

Color ColourOf(Blit blit)
{
    return blit == Blit::Grey ? Color(200, 200, 200, 255) : blit == Blit::Colour ? Color(200, 100, 50, 255)
                                                                                  : Color(255, 255, 255, 255);
}

void BM_SurfaceBlt(benchmark::State& state, Blit blit)
{
    const int content = blit == Blit::Copy ? -1 : static_cast<int>(state.range(1));
    SurfaceTarget target(FormatOf(state));
    if (!target.ok) {
        state.SkipWithError("the display did not come up");
        return;
    }
    static const Picture backdrop = Backdrop();
    const Picture& picture = content < 0 ? backdrop : Content(content);
    auto source = MakeImage(picture);
    source->mVolatile = blit == Blit::Raw;
    target.Prepare(*source);
    const Rect whole(0, 0, picture.width, picture.height);
    const Color colour = ColourOf(blit);
    Tandry::DDImage& dest = *target.image;
    for (auto _ : state) {
        ForEachPlacement(content < 0 ? 0 : content, [&](int x, int y) {
            if (blit == Blit::Additive)
                dest.SurfaceBltAdditive(source.get(), x, y, whole, colour);
            else
                dest.SurfaceBlt(source.get(), x, y, whole, colour);
        });
    }
    Label(state, content < 0 ? "opaque frame" : ContentName(content), content < 0 ? kFramePixels
                                                                                    : ContentPixels(content));
}

// Pixman: op from the premultiplied content, through an optional solid mask.
void PixmanBlit(benchmark::State& state, pixman_op_t op, const pixman_color_t* maskColour, bool componentAlpha)
{
    const int content = op == PIXMAN_OP_SRC ? -1 : static_cast<int>(state.range(1));
    static const Picture backdrop = Backdrop();
    const Picture& picture = content < 0 ? backdrop : Content(content);
    PixmanTarget dest(Is565(state));
    auto source = PixmanSource(picture);
    pixman_image_t* mask = maskColour != nullptr ? pixman_image_create_solid_fill(maskColour) : nullptr;
    if (mask != nullptr)
        pixman_image_set_component_alpha(mask, componentAlpha ? 1 : 0);
    for (auto _ : state) {
        ForEachPlacement(content < 0 ? 0 : content, [&](int x, int y) {
            pixman_image_composite32(op, source->Get(), mask, dest.Get(), 0, 0, 0, 0, x, y, picture.width,
                                     picture.height);
        });
    }
    if (mask != nullptr)
        pixman_image_unref(mask);
    Label(state, content < 0 ? "opaque frame" : ContentName(content), content < 0 ? kFramePixels
                                                                                    : ContentPixels(content));
}

void BM_SurfaceBlt_PixmanOver(benchmark::State& state)
{
    PixmanBlit(state, PIXMAN_OP_OVER, nullptr, false);
}

// The grey tint scales every channel alike: a plain solid mask of alpha 200.
void BM_SurfaceBlt_PixmanOverGreyMask(benchmark::State& state)
{
    const pixman_color_t grey{0xC8C8, 0xC8C8, 0xC8C8, 0xC8C8};
    PixmanBlit(state, PIXMAN_OP_OVER, &grey, false);
}

// Another colour scales each channel by its own factor: a component-alpha mask.
void BM_SurfaceBlt_PixmanOverColourMask(benchmark::State& state)
{
    const pixman_color_t colour{0xC8C8, 0x6464, 0x3232, 0xFFFF};
    PixmanBlit(state, PIXMAN_OP_OVER, &colour, true);
}

void BM_SurfaceBlt_PixmanAdd(benchmark::State& state)
{
    PixmanBlit(state, PIXMAN_OP_ADD, nullptr, false);
}

void BM_SurfaceBlt_PixmanSrc(benchmark::State& state)
{
    PixmanBlit(state, PIXMAN_OP_SRC, nullptr, false);
}

void BM_SurfaceBlt_SdlBlend(benchmark::State& state)
{
    const int content = static_cast<int>(state.range(1));
    const Picture& picture = Content(content);
    SdlTarget dest(Is565(state));
    auto source = SdlSource(picture);
    for (auto _ : state) {
        ForEachPlacement(content, [&](int x, int y) {
            SDL_Rect to{x, y, picture.width, picture.height};
            SDL_BlitSurface(source->Get(), nullptr, dest.Get(), &to);
        });
    }
    Label(state, ContentName(content), ContentPixels(content));
}

void BM_SurfaceBlt_MemcpyFrame(benchmark::State& state)
{
    const size_t bytes = static_cast<size_t>(kFramePixels) * 4;
    std::vector<uint8_t> from(bytes, 3), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
    Label(state, "opaque frame", kFramePixels);
}

void Contents(benchmark::internal::Benchmark* b)
{
    b->ArgsProduct({{0, 1}, {0, 1, 2}})->ArgNames({"rgb565", "content"})->Unit(benchmark::kMillisecond);
}

void FirstContent(benchmark::internal::Benchmark* b)
{
    b->ArgsProduct({{0, 1}, {0}})->ArgNames({"rgb565", "content"})->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(BM_SurfaceBlt, White, Blit::White)->Apply(Contents);
BENCHMARK(BM_SurfaceBlt_PixmanOver)->Apply(Contents);
BENCHMARK(BM_SurfaceBlt_SdlBlend)->Apply(Contents);
BENCHMARK_CAPTURE(BM_SurfaceBlt, Grey, Blit::Grey)->Apply(FirstContent);
BENCHMARK(BM_SurfaceBlt_PixmanOverGreyMask)->Apply(FirstContent);
BENCHMARK_CAPTURE(BM_SurfaceBlt, Colour, Blit::Colour)->Apply(FirstContent);
BENCHMARK(BM_SurfaceBlt_PixmanOverColourMask)->Apply(FirstContent);
BENCHMARK_CAPTURE(BM_SurfaceBlt, Additive, Blit::Additive)->Apply(FirstContent);
BENCHMARK(BM_SurfaceBlt_PixmanAdd)->Apply(FirstContent);
BENCHMARK_CAPTURE(BM_SurfaceBlt, Raw, Blit::Raw)->Apply(FirstContent);
BENCHMARK_CAPTURE(BM_SurfaceBlt, Copy, Blit::Copy)->Apply(Formats);
BENCHMARK(BM_SurfaceBlt_MemcpyFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurfaceBlt_PixmanSrc)->Apply(Formats);

} // namespace
