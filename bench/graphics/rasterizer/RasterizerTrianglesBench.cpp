// Small triangles in triangles per second: 100,000 seeded random triangles of
// mean area 8 and 64 square pixels on a 1024 x 768 0x8888 screen, textured
// (an opaque 256 x 256 texture, the plain point-sampled routine) and vertex
// coloured, inside the clip and each crossing a corner of it, beside
// pixman_composite_triangles (which antialiases into a mask and has no
// vertex colour) and SDL's software renderer drawing untextured geometry.
// The textured rows are also timed beside references that draw textured
// triangles: pixman's affine composite of the same texture (nearest, and
// bilinear beside our bilinear routine) clipped to each triangle's covered
// spans as one region, and SDL's software geometry with the texture. The
// rasteriser's picture is checked once against the reference model.
#include "bench/graphics/rasterizer/RasterizerBench.h"

#include "graphics/rasterizer/ReferenceFrontEnds.h"
#include "graphics/rasterizer/rasterizer.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
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

void Draw(const TriangleSet& s, bool textured, Screen& screen, FrontEnd list, bool linear = false)
{
    MemoryImage* texture = textured ? &TextureOf(256, Content::Opaque, false) : nullptr;
    const auto& triangles = textured ? PlainTrianglesOf(s) : TrianglesOf(s);
    list(texture, triangles.data(), kTriangles, &ClipOf(s), &Color::White, screen.Origin(), screen.pitch, 0x8888, 0,
         0, linear);
}

// One textured triangle for pixman: the pixels whose centres it covers
// (inside the clip), one box per row, and the affine map from destination
// pixel centres to texel space.
struct PixmanTexturedTriangle {
    std::vector<pixman_box32_t> spans;
    pixman_transform_t transform;
    pixman_box32_t bounds;
};

bool MakePixmanTriangle(const TriVertex* v, const Rect& clip, PixmanTexturedTriangle& out)
{
    const double x0 = v[0].x, y0 = v[0].y, x1 = v[1].x, y1 = v[1].y, x2 = v[2].x, y2 = v[2].y;
    const double det = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0);
    if (std::fabs(det) < 1e-9)
        return false;
    // Texel coordinates as an affine function of the position; pixman asks
    // at pixel centres, half a pixel right and down of ours.
    double row[2][3];
    for (int k = 0; k < 2; ++k) {
        const double t0 = 256.0 * (k == 0 ? v[0].u : v[0].v);
        const double t1 = 256.0 * (k == 0 ? v[1].u : v[1].v);
        const double t2 = 256.0 * (k == 0 ? v[2].u : v[2].v);
        const double a = ((t1 - t0) * (y2 - y0) - (t2 - t0) * (y1 - y0)) / det;
        const double b = ((x1 - x0) * (t2 - t0) - (x2 - x0) * (t1 - t0)) / det;
        row[k][0] = a;
        row[k][1] = b;
        row[k][2] = t0 - a * x0 - b * y0 - 0.5 * a - 0.5 * b;
    }
    pixman_transform_init_identity(&out.transform);
    for (int k = 0; k < 2; ++k)
        for (int c = 0; c < 3; ++c)
            out.transform.matrix[k][c] = pixman_double_to_fixed(row[k][c]);
    const double top = std::max<double>(std::min({y0, y1, y2}), clip.y);
    const double bottom = std::min<double>(std::max({y0, y1, y2}), clip.y + clip.height);
    const double xs[3] = {x0, x1, x2}, ys[3] = {y0, y1, y2};
    out.bounds = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int y = static_cast<int>(std::ceil(top)); y < bottom; ++y) {
        double left = 1e9, right = -1e9;
        for (int e = 0; e < 3; ++e) {
            const double ya = ys[e], yb = ys[(e + 1) % 3];
            if ((y < ya) == (y < yb))
                continue;
            const double x = xs[e] + (y - ya) * (xs[(e + 1) % 3] - xs[e]) / (yb - ya);
            left = std::min(left, x);
            right = std::max(right, x);
        }
        const int from = std::max(static_cast<int>(std::ceil(left)), clip.x);
        const int to = std::min(static_cast<int>(std::ceil(right)), clip.x + clip.width);
        if (from >= to)
            continue;
        out.spans.push_back({from, y, to, y + 1});
        out.bounds = {std::min(out.bounds.x1, from), std::min(out.bounds.y1, y), std::max(out.bounds.x2, to),
                      std::max(out.bounds.y2, y + 1)};
    }
    return !out.spans.empty();
}

std::function<void()> PixmanTexturedTriangles(const TriangleSet& s, Screen& screen, bool bilinear)
{
    std::shared_ptr<pixman_image_t> destination(
        pixman_image_create_bits(PIXMAN_a8r8g8b8, kScreenWidth, kScreenHeight,
                                 reinterpret_cast<uint32_t*>(screen.Origin()), screen.pitch),
        pixman_image_unref);
    MemoryImage& texture = TextureOf(256, Content::Opaque, false);
    std::shared_ptr<pixman_image_t> source(
        pixman_image_create_bits(PIXMAN_a8r8g8b8, 256, 256, texture.GetBits(), 256 * 4), pixman_image_unref);
    pixman_image_set_filter(source.get(), bilinear ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
    auto triangles = std::make_shared<std::vector<PixmanTexturedTriangle>>();
    const auto& vertices = PlainTrianglesOf(s);
    for (size_t i = 0; i < vertices.size(); i += 3) {
        PixmanTexturedTriangle t;
        if (MakePixmanTriangle(&vertices[i], ClipOf(s), t))
            triangles->push_back(std::move(t));
    }
    return [destination, source, triangles] {
        for (const PixmanTexturedTriangle& t : *triangles) {
            pixman_region32_t region;
            pixman_region32_init_rects(&region, t.spans.data(), static_cast<int>(t.spans.size()));
            pixman_image_set_clip_region32(destination.get(), &region);
            pixman_region32_fini(&region);
            pixman_image_set_transform(source.get(), &t.transform);
            pixman_image_composite32(PIXMAN_OP_SRC, source.get(), nullptr, destination.get(), t.bounds.x1,
                                     t.bounds.y1, 0, 0, t.bounds.x1, t.bounds.y1, t.bounds.x2 - t.bounds.x1,
                                     t.bounds.y2 - t.bounds.y1);
        }
        pixman_image_set_clip_region32(destination.get(), nullptr);
    };
}

std::function<void()> SdlTexturedTriangles(const TriangleSet& s, Screen& screen)
{
    std::shared_ptr<SDL_Surface> surface(
        SDL_CreateRGBSurfaceWithFormatFrom(screen.Origin(), kScreenWidth, kScreenHeight, 32, screen.pitch,
                                           SDL_PIXELFORMAT_ARGB8888),
        SDL_FreeSurface);
    std::shared_ptr<SDL_Renderer> renderer(SDL_CreateSoftwareRenderer(surface.get()), SDL_DestroyRenderer);
    MemoryImage& image = TextureOf(256, Content::Opaque, false);
    std::shared_ptr<SDL_Surface> texels(
        SDL_CreateRGBSurfaceWithFormatFrom(image.GetBits(), 256, 256, 32, 256 * 4, SDL_PIXELFORMAT_ARGB8888),
        SDL_FreeSurface);
    std::shared_ptr<SDL_Texture> texture(SDL_CreateTextureFromSurface(renderer.get(), texels.get()),
                                         SDL_DestroyTexture);
    SDL_SetTextureBlendMode(texture.get(), SDL_BLENDMODE_NONE);
    const Rect& clip = ClipOf(s);
    const SDL_Rect sdlClip{clip.x, clip.y, clip.width, clip.height};
    SDL_RenderSetClipRect(renderer.get(), &sdlClip);
    auto vertices = std::make_shared<std::vector<SDL_Vertex>>();
    for (const TriVertex& v : PlainTrianglesOf(s))
        vertices->push_back({{v.x + 0.5f, v.y + 0.5f}, {255, 255, 255, 255}, {v.u, v.v}});
    return [surface, renderer, texels, texture, vertices] {
        SDL_RenderGeometry(renderer.get(), texture.get(), vertices->data(), static_cast<int>(vertices->size()),
                           nullptr, 0);
        SDL_RenderFlush(renderer.get());
    };
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

void RunOurs(benchmark::State& state, TriangleSet s, bool textured, bool linear)
{
    // Checked once; a failed check skips every repetition.
    static std::map<std::tuple<int, bool, bool, bool>, bool> matches;
    const auto key = std::make_tuple(s.area, s.corners, textured, linear);
    auto found = matches.find(key);
    if (found == matches.end()) {
        Screen ours(0x8888);
        Screen model(0x8888);
        Draw(s, textured, ours, &RasterizeTriangleList, linear);
        Draw(s, textured, model, &Testing::ReferenceTriangleList, linear);
        found = matches.emplace(key, ours.bytes == model.bytes).first;
    }
    if (!found->second) {
        state.SkipWithError("the picture differs from the reference model");
        return;
    }
    Screen target(0x8888);
    // Textured rows beside references that draw the same texture; the
    // others beside the untextured ones.
    const double pixman = textured
        ? ReferenceRate("pixman/textured/" + SetName(s), PixmanTexturedTriangles(s, target, linear), kTriangles)
        : ReferenceRate("pixman/triangles/" + SetName(s), PixmanTriangles(s, target), kTriangles);
    const double sdl = textured
        ? ReferenceRate("sdl/textured/" + SetName(s), SdlTexturedTriangles(s, target), kTriangles)
        : ReferenceRate("sdl/triangles/" + SetName(s), SdlTriangles(s, target), kTriangles);
    Screen screen(0x8888);
    const LoopTimer timer;
    for (auto _ : state) {
        Draw(s, textured, screen, &RasterizeTriangleList, linear);
        benchmark::ClobberMemory();
    }
    state.counters["triangles"] =
        benchmark::Counter(kTriangles * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    timer.ReportRatio(state, kTriangles, "vs_pixman", pixman);
    timer.ReportRatio(state, kTriangles, "vs_sdl", sdl);
}

// Checked once: the reference changed pixels, about as many as the triangles cover.
enum class Reference { Pixman, Sdl, PixmanTexturedNearest, PixmanTexturedBilinear, SdlTextured };

void RunReference(benchmark::State& state, TriangleSet s, Reference reference)
{
    Screen screen(0x8888);
    const Screen before = screen;
    std::function<void()> draw;
    switch (reference) {
    case Reference::Pixman: draw = PixmanTriangles(s, screen); break;
    case Reference::Sdl: draw = SdlTriangles(s, screen); break;
    case Reference::PixmanTexturedNearest: draw = PixmanTexturedTriangles(s, screen, false); break;
    case Reference::PixmanTexturedBilinear: draw = PixmanTexturedTriangles(s, screen, true); break;
    case Reference::SdlTextured: draw = SdlTexturedTriangles(s, screen); break;
    }
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
            const struct {
                const char* name;
                bool textured;
                bool linear;
            } ours[] = {{"TexTri8888/", true, false}, {"TexTri8888Bilinear/", true, true}, {"Tri8888Vc/", false, false}};
            for (const auto& o : ours)
                benchmark::RegisterBenchmark(("Rasterizer/triangles/" + std::string(o.name) + set).c_str(), &RunOurs,
                                             s, o.textured, o.linear)
                    ->Unit(benchmark::kMillisecond)
                    ->Repetitions(5)
                    ->ReportAggregatesOnly(true);
            const std::pair<Reference, const char*> references[] = {
                {Reference::Pixman, "pixman"},
                {Reference::Sdl, "sdl"},
                {Reference::PixmanTexturedNearest, "pixman_textured_nearest"},
                {Reference::PixmanTexturedBilinear, "pixman_textured_bilinear"},
                {Reference::SdlTextured, "sdl_textured"}};
            for (const auto& [reference, name] : references)
                benchmark::RegisterBenchmark(
                    ("Rasterizer/reference/" + std::string(name) + "/triangles/" + set).c_str(), &RunReference, s,
                    reference)
                    ->Unit(benchmark::kMillisecond)
                    ->Repetitions(5)
                    ->ReportAggregatesOnly(true);
        }
    return true;
}();

} // namespace

} // namespace Tandry::RasterBench
