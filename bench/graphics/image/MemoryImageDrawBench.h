// Shared by the benchmarks of the software drawing of memory images: the test
// pictures (a 1024 x 768 frame), the same pictures wrapped for pixman and SDL2,
// and the counters every row reports (Mpixel/s and ms per frame). Pixman and
// SDL get premultiplied or plain copies made once, outside the timed loops.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include "bench/BenchHash.h"
#include "graphics/image/MemoryImage.h"

namespace DrawBench {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

using Bench::Hash;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> px;
};

// An opaque painted backdrop.
inline Picture Backdrop()
{
    Picture p{kWidth, kHeight, std::vector<uint32_t>(static_cast<size_t>(kWidth) * kHeight)};
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t grain = Hash(static_cast<uint32_t>(y * kWidth + x)) % 13;
            p.px[static_cast<size_t>(y) * kWidth + x] = 0xFF000000u | ((x * 255 / kWidth + grain) & 255) << 16
                | ((y * 255 / kHeight + grain) & 255) << 8 | (((x + y) / 8 + grain) & 255);
        }
    }
    return p;
}

// Soft-edged discs on transparent ground: alpha 0 around them, 255 inside and
// a ring of partial alpha between, as an anti-aliased sprite looks.
inline Picture Discs(int width, int height, int radius, int spacing)
{
    Picture p{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, 0)};
    const int ring = std::max(2, radius / 10);
    for (int cy = radius; cy < height + radius; cy += spacing) {
        for (int cx = radius; cx < width + radius; cx += spacing) {
            const uint32_t colour = Hash(static_cast<uint32_t>(cy * 7919 + cx)) & 0xFFFFFF;
            for (int y = std::max(0, cy - radius - ring); y < std::min(height, cy + radius + ring); ++y) {
                for (int x = std::max(0, cx - radius - ring); x < std::min(width, cx + radius + ring); ++x) {
                    const double d = std::sqrt(double((x - cx) * (x - cx) + (y - cy) * (y - cy)));
                    uint32_t a = 0;
                    if (d <= radius)
                        a = 255;
                    else if (d < radius + ring)
                        a = static_cast<uint32_t>(255 * (radius + ring - d) / ring);
                    if (a != 0)
                        p.px[static_cast<size_t>(y) * width + x] = a << 24 | colour;
                }
            }
        }
    }
    return p;
}

// The full-frame anti-aliased sprite.
inline Picture SpriteFrame()
{
    return Discs(kWidth, kHeight, 60, 150);
}

// Alpha 128 everywhere, varied colours.
inline Picture HalfAlphaFrame()
{
    Picture p{kWidth, kHeight, std::vector<uint32_t>(static_cast<size_t>(kWidth) * kHeight)};
    for (size_t i = 0; i < p.px.size(); ++i)
        p.px[i] = 0x80000000u | (Hash(static_cast<uint32_t>(i)) & 0xFFFFFF);
    return p;
}

inline Picture Sprite64()
{
    return Discs(64, 64, 26, 64);
}

// Where the 200 small sprites go.
inline std::vector<SDL_Point> SpritePlaces()
{
    std::vector<SDL_Point> out;
    for (uint32_t i = 0; i < 200; ++i)
        out.push_back({static_cast<int>(Hash(i * 2 + 1) % (kWidth - 64)),
                       static_cast<int>(Hash(i * 2 + 2) % (kHeight - 64))});
    return out;
}

// The three contents of the normal blits: 0 the full-frame sprite, 1 alpha
// 128 everywhere, 2 two hundred 64 x 64 sprites.
inline const Picture& Content(int which)
{
    static const Picture sprite = SpriteFrame();
    static const Picture half = HalfAlphaFrame();
    static const Picture small = Sprite64();
    return which == 0 ? sprite : which == 1 ? half : small;
}

inline const char* ContentName(int which)
{
    return which == 0 ? "aa sprite frame" : which == 1 ? "alpha 128 frame" : "200 sprites 64x64";
}

// Calls blit(x, y) for each placement of the content.
template <class F>
void ForEachPlacement(int content, F&& blit)
{
    static const std::vector<SDL_Point> places = SpritePlaces();
    if (content == 2) {
        for (const SDL_Point& p : places)
            blit(p.x, p.y);
    } else {
        blit(0, 0);
    }
}

inline int64_t ContentPixels(int content)
{
    const Picture& p = Content(content);
    return static_cast<int64_t>(p.width) * p.height * (content == 2 ? 200 : 1);
}

inline std::unique_ptr<Tandry::MemoryImage> MakeImage(const Picture& p)
{
    auto image = std::make_unique<Tandry::MemoryImage>(nullptr);
    image->SetBits(p.px.data(), p.width, p.height, true);
    return image;
}

inline std::vector<uint32_t> Premultiplied(const Picture& p)
{
    std::vector<uint32_t> out(p.px.size());
    for (size_t i = 0; i < out.size(); ++i) {
        const uint32_t w = p.px[i], a = w >> 24;
        const auto ch = [&](int shift) { return (((w >> shift) & 255) * a + 127) / 255 << shift; };
        out[i] = a << 24 | ch(16) | ch(8) | ch(0);
    }
    return out;
}

// A pixman image over its own copy of the words.
class PixmanPicture {
public:
    PixmanPicture(pixman_format_code_t format, int width, int height, std::vector<uint32_t> words)
        : mWords(std::move(words)),
          mImage(pixman_image_create_bits(format, width, height, mWords.data(), width * 4))
    {
    }
    ~PixmanPicture() { pixman_image_unref(mImage); }
    PixmanPicture(const PixmanPicture&) = delete;
    PixmanPicture& operator=(const PixmanPicture&) = delete;
    pixman_image_t* Get() const { return mImage; }

private:
    std::vector<uint32_t> mWords;
    pixman_image_t* mImage;
};

// Samples source bilinearly, turned by angle about its centre, for a square
// destination box of the given side centred on it.
inline void TurnAboutCentre(pixman_image_t* source, int sourceSide, int boxSide, double angle)
{
    pixman_f_transform_t f;
    pixman_f_transform_init_translate(&f, -boxSide / 2.0, -boxSide / 2.0);
    pixman_f_transform_rotate(&f, nullptr, std::cos(angle), std::sin(angle));
    pixman_f_transform_translate(&f, nullptr, sourceSide / 2.0, sourceSide / 2.0);
    pixman_transform_t t;
    pixman_transform_from_pixman_f_transform(&t, &f);
    pixman_image_set_transform(source, &t);
    pixman_image_set_filter(source, PIXMAN_FILTER_BILINEAR, nullptr, 0);
}

// An SDL surface over its own copy of the words.
class SdlPicture {
public:
    SdlPicture(Uint32 format, int width, int height, std::vector<uint32_t> words)
        : mWords(std::move(words)),
          mSurface(SDL_CreateRGBSurfaceWithFormatFrom(mWords.data(), width, height, 32, width * 4, format))
    {
    }
    ~SdlPicture() { SDL_FreeSurface(mSurface); }
    SdlPicture(const SdlPicture&) = delete;
    SdlPicture& operator=(const SdlPicture&) = delete;
    SDL_Surface* Get() const { return mSurface; }

private:
    std::vector<uint32_t> mWords;
    SDL_Surface* mSurface;
};

// Pixels per second (read 1.2G/s as 1200 Mpixel/s) and the time in ms per
// frame (the benchmarks report in ms).
inline void CountPixels(benchmark::State& state, int64_t pixelsPerIteration)
{
    state.counters["pixels/s"] = benchmark::Counter(static_cast<double>(pixelsPerIteration),
                                                    benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace DrawBench
