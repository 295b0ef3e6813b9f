// Small triangles in triangles per second: 100,000 seeded random triangles of
// mean area 8 and 64 square pixels on a 1024 x 768 0x8888 screen, textured
// (an opaque 256 x 256 texture, the plain point-sampled routine) and vertex
// coloured, inside the clip and each crossing a corner of it, beside
// pixman_composite_triangles (which antialiases into a mask and has no
// vertex colour) and SDL's software renderer drawing untextured geometry.
// The rasteriser's picture is checked once against the reference model.
#include "bench/graphics/rasterizer/RasterizerBench.h"

#include "graphics/rasterizer/ReferenceFrontEnds.h"
#include "graphics/rasterizer/rasterizer.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace Tandry::RasterBench {

namespace {

constexpr int kTriangles = 100000;
constexpr Rect kScreenClip{0, 0, kScreenWidth, kScreenHeight};
constexpr Rect kInnerClip{128, 96, 768, 576};

struct TriangleSet {
    int area;
    bool corners;
};

std::string SetName(const TriangleSet& s)
{
    return "area" + std::to_string(s.area) + (s.corners ? "/clip_corners" : "/inside");
}

const Rect& ClipOf(const TriangleSet& s) { return s.corners ? kInnerClip : kScreenClip; }

// Three corners around a centre, a third of a turn apart give or take, so the
// centre lies inside; then scaled to an area spread evenly around the mean.
// With `corners` every centre is a corner of the inner clip.
const std::vector<TriVertex>& TrianglesOf(const TriangleSet& s)
{
    static std::map<std::pair<int, bool>, std::vector<TriVertex>> sets;
    auto& triangles = sets[{s.area, s.corners}];
    if (!triangles.empty())
        return triangles;
    std::mt19937 random(static_cast<uint32_t>(s.area * 2 + s.corners));
    std::uniform_real_distribution<double> unit(0, 1);
    const double turn = 2 * 3.14159265358979323846;
    for (int t = 0; t < kTriangles; ++t) {
        double cx = 16 + unit(random) * (kScreenWidth - 32);
        double cy = 16 + unit(random) * (kScreenHeight - 32);
        if (s.corners) {
            const int corner = static_cast<int>(unit(random) * 4) & 3;
            cx = kInnerClip.x + ((corner & 1) != 0 ? kInnerClip.width - 1 : 0);
            cy = kInnerClip.y + ((corner & 2) != 0 ? kInnerClip.height - 1 : 0);
        }
        double angle[3];
        double radius[3];
        const double start = unit(random) * turn;
        for (int i = 0; i < 3; ++i) {
            angle[i] = start + i * turn / 3 + (unit(random) - 0.5) * 0.6;
            radius[i] = 0.5 + unit(random);
        }
        double area = 0;
        for (int i = 0; i < 3; ++i)
            area += 0.5 * radius[i] * radius[(i + 1) % 3] * std::sin(angle[(i + 1) % 3] - angle[i]);
        const double scale = std::sqrt(s.area * (0.5 + unit(random)) / area);
        const double u0 = unit(random) * 0.8;
        const double v0 = unit(random) * 0.8;
        for (int i = 0; i < 3; ++i) {
            const double x = radius[i] * scale * std::cos(angle[i]);
            const double y = radius[i] * scale * std::sin(angle[i]);
            const uint32_t colour = 0xFF000000 | static_cast<uint32_t>(random() & 0xFFFFFF);
            triangles.push_back({static_cast<float>(cx + x), static_cast<float>(cy + y),
                                 static_cast<float>(u0 + (x + 16) / 256), static_cast<float>(v0 + (y + 16) / 256),
                                 colour});
        }
    }
    return triangles;
}

// The same positions without vertex colours, for the textured draw.
const std::vector<TriVertex>& PlainTrianglesOf(const TriangleSet& s)
{
    static std::map<std::pair<int, bool>, std::vector<TriVertex>> sets;
    auto& triangles = sets[{s.area, s.corners}];
    if (triangles.empty()) {
        triangles = TrianglesOf(s);
        for (TriVertex& v : triangles)
            v.color = 0;
    }
    return triangles;
}

using FrontEnd = void (*)(Image*, const TriVertex*, int, const Rect*, const Color*, void*, int32_t, int32_t, float,
                          float, bool);

void Draw(const TriangleSet& s, bool textured, Screen& screen, FrontEnd list)
{
    MemoryImage* texture = textured ? &TextureOf(256, Content::Opaque, false) : nullptr;
    const auto& triangles = textured ? PlainTrianglesOf(s) : TrianglesOf(s);
    list(texture, triangles.data(), kTriangles, &ClipOf(s), &Color::White, screen.Origin(), screen.pitch, 0x8888, 0,
         0, false);
}

std::function<void()> PixmanTriangles(const TriangleSet& s, Screen& screen)
{
    std::shared_ptr<pixman_image_t> destination(
        pixman_image_create_bits(PIXMAN_a8r8g8b8, kScreenWidth, kScreenHeight,
                                 reinterpret_cast<uint32_t*>(screen.Origin()), screen.pitch),
        pixman_image_unref);
    const Rect& clip = ClipOf(s);
    pixman_region32_t region;
    pixman_region32_init_rect(&region, clip.x, clip.y, static_cast<unsigned>(clip.width),
                              static_cast<unsigned>(clip.height));
    pixman_image_set_clip_region32(destination.get(), &region);
    pixman_region32_fini(&region);
    const pixman_color_t white{0xFFFF, 0xC000, 0x8000, 0xFFFF};
    std::shared_ptr<pixman_image_t> solid(pixman_image_create_solid_fill(&white), pixman_image_unref);
    auto triangles = std::make_shared<std::vector<pixman_triangle_t>>();
    const auto& source = TrianglesOf(s);
    for (size_t i = 0; i < source.size(); i += 3) {
        pixman_triangle_t t;
        pixman_point_fixed_t* points[3] = {&t.p1, &t.p2, &t.p3};
        for (int k = 0; k < 3; ++k)
            *points[k] = {pixman_double_to_fixed(source[i + k].x + 0.5),
                          pixman_double_to_fixed(source[i + k].y + 0.5)};
        triangles->push_back(t);
    }
    return [destination, solid, triangles] {
        pixman_composite_triangles(PIXMAN_OP_OVER, solid.get(), destination.get(), PIXMAN_a8, 0, 0, 0, 0,
                                   static_cast<int>(triangles->size()), triangles->data());
    };
}

std::function<void()> SdlTriangles(const TriangleSet& s, Screen& screen)
{
    std::shared_ptr<SDL_Surface> surface(
        SDL_CreateRGBSurfaceWithFormatFrom(screen.Origin(), kScreenWidth, kScreenHeight, 32, screen.pitch,
                                           SDL_PIXELFORMAT_ARGB8888),
        SDL_FreeSurface);
    std::shared_ptr<SDL_Renderer> renderer(SDL_CreateSoftwareRenderer(surface.get()), SDL_DestroyRenderer);
    const Rect& clip = ClipOf(s);
    const SDL_Rect sdlClip{clip.x, clip.y, clip.width, clip.height};
    SDL_RenderSetClipRect(renderer.get(), &sdlClip);
    SDL_SetRenderDrawBlendMode(renderer.get(), SDL_BLENDMODE_NONE);
    auto vertices = std::make_shared<std::vector<SDL_Vertex>>();
    for (const TriVertex& v : TrianglesOf(s))
        vertices->push_back({{v.x + 0.5f, v.y + 0.5f},
                             {static_cast<Uint8>(v.color >> 16), static_cast<Uint8>(v.color >> 8),
                              static_cast<Uint8>(v.color), 255},
                             {0, 0}});
    return [surface, renderer, vertices] {
        SDL_RenderGeometry(renderer.get(), nullptr, vertices->data(), static_cast<int>(vertices->size()), nullptr, 0);
        SDL_RenderFlush(renderer.get());
    };
}

void RunOurs(benchmark::State& state, TriangleSet s, bool textured)
{
    // Checked once; a failed check skips every repetition.
    static std::map<std::tuple<int, bool, bool>, bool> matches;
    const auto key = std::make_tuple(s.area, s.corners, textured);
    auto found = matches.find(key);
    if (found == matches.end()) {
        Screen ours(0x8888);
        Screen model(0x8888);
        Draw(s, textured, ours, &RasterizeTriangleList);
        Draw(s, textured, model, &Testing::ReferenceTriangleList);
        found = matches.emplace(key, ours.bytes == model.bytes).first;
    }
    if (!found->second) {
        state.SkipWithError("the picture differs from the reference model");
        return;
    }
    Screen target(0x8888);
    const double pixman = ReferenceRate("pixman/triangles/" + SetName(s), PixmanTriangles(s, target), kTriangles);
    const double sdl = ReferenceRate("sdl/triangles/" + SetName(s), SdlTriangles(s, target), kTriangles);
    Screen screen(0x8888);
    const LoopTimer timer;
    for (auto _ : state) {
        Draw(s, textured, screen, &RasterizeTriangleList);
        benchmark::ClobberMemory();
    }
    state.counters["triangles"] =
        benchmark::Counter(kTriangles * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    timer.ReportRatio(state, kTriangles, "vs_pixman", pixman);
    timer.ReportRatio(state, kTriangles, "vs_sdl", sdl);
}

// Checked once: the reference changed pixels, about as many as the triangles cover.
void RunReference(benchmark::State& state, TriangleSet s, bool pixman)
{
    Screen screen(0x8888);
    const Screen before = screen;
    auto draw = pixman ? PixmanTriangles(s, screen) : SdlTriangles(s, screen);
    draw();
    Screen ours(0x8888);
    Draw(s, false, ours, &RasterizeTriangleList);
    int64_t changed = 0;
    int64_t drawn = 0;
    for (size_t i = 0; i < screen.bytes.size(); i += 4) {
        changed += std::memcmp(&screen.bytes[i], &before.bytes[i], 4) != 0;
        drawn += std::memcmp(&ours.bytes[i], &before.bytes[i], 4) != 0;
    }
    if (changed < drawn / 2 || changed > drawn * 2) {
        state.SkipWithError("the reference's picture is not plausible");
        return;
    }
    for (auto _ : state) {
        draw();
        benchmark::ClobberMemory();
    }
    state.counters["triangles"] =
        benchmark::Counter(kTriangles * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

const bool kRegistered = [] {
    for (int area : {8, 64})
        for (bool corners : {false, true}) {
            const TriangleSet s{area, corners};
            const std::string set = SetName(s);
            for (bool textured : {true, false})
                benchmark::RegisterBenchmark(
                    ("Rasterizer/triangles/" + std::string(textured ? "TexTri8888/" : "Tri8888Vc/") + set).c_str(),
                    &RunOurs, s, textured)
                    ->Unit(benchmark::kMillisecond)
                    ->Repetitions(5)
                    ->ReportAggregatesOnly(true);
            for (bool pixman : {true, false})
                benchmark::RegisterBenchmark(
                    ("Rasterizer/reference/" + std::string(pixman ? "pixman" : "sdl") + "/triangles/" + set).c_str(),
                    &RunReference, s, pixman)
                    ->Unit(benchmark::kMillisecond)
                    ->Repetitions(5)
                    ->ReportAggregatesOnly(true);
        }
    return true;
}();

} // namespace

} // namespace Tandry::RasterBench
