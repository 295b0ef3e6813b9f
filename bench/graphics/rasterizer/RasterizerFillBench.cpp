// Fill rate of the software rasteriser in covered pixels per second, for
// each routine family and kind, in the four destination formats, on three
// shots of a quad on a 1024 x 768 screen, beside pixman's transformed
// composite and SDL's software renderer on the same pixels, a memcpy of the
// frame as the ceiling. Each routine's picture is checked once against the
// reference model before it is timed.
// Goal: in shot b, every point-sampled kind, with and without texel alpha,
// runs at least as fast as pixman's nearest-filter composite (vs_pixman >= 1).
#include "bench/graphics/rasterizer/RasterizerBench.h"

#include "graphics/rasterizer/ReferenceFrontEnds.h"
#include "graphics/rasterizer/rasterizer.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace Tandry::RasterBench {

namespace {

enum class Family { VertexColoured, PointSampled, PointSampledAlpha, Bilinear, BilinearVc };
enum class Kind { Plain, Colour, VertexColour, Combined };

const Color kColours[] = {Color::White, Color(200, 180, 160, 255), Color(200, 180, 160, 200)};

struct FillCase {
    Family family;
    Kind kind;
    Shot shot;
    int32_t format;
    Color color;
    Content content;
};

bool WithVertexColours(Kind kind) { return kind == Kind::VertexColour || kind == Kind::Combined; }
bool Linear(Family family) { return family == Family::Bilinear || family == Family::BilinearVc; }
// An opaque texture reports alpha when it is to be drawn by the alpha routines.
bool AlphaFlags(const FillCase& c) { return c.family == Family::PointSampledAlpha && c.content == Content::Opaque; }

std::string FamilyName(Family family)
{
    switch (family) {
    case Family::VertexColoured: return "vertex_coloured";
    case Family::PointSampled: return "point";
    case Family::PointSampledAlpha: return "point_alpha";
    case Family::Bilinear: return "bilinear";
    default: return "bilinear_vc";
    }
}

std::string KindName(Kind kind)
{
    switch (kind) {
    case Kind::Plain: return "plain";
    case Kind::Colour: return "colour";
    case Kind::VertexColour: return "vertex";
    default: return "combined";
    }
}

std::string ColourName(const Color& c)
{
    if (c == Color::White)
        return "white";
    return std::to_string(c.red) + "_" + std::to_string(c.green) + "_" + std::to_string(c.blue) + "_" +
           std::to_string(c.alpha);
}

std::vector<Kind> KindsOf(Family family)
{
    switch (family) {
    case Family::VertexColoured:
    case Family::BilinearVc: return {Kind::VertexColour, Kind::Combined};
    case Family::Bilinear: return {Kind::Plain, Kind::Colour};
    default: return {Kind::Plain, Kind::Colour, Kind::VertexColour, Kind::Combined};
    }
}

std::vector<Content> ContentsOf(Family family)
{
    if (family == Family::VertexColoured || family == Family::PointSampled)
        return {Content::Opaque};
    return {Content::Opaque, Content::Alpha128, Content::Alpha0, Content::Sprite};
}

Screen& ScreenOf(int32_t format)
{
    static std::map<int32_t, Screen> screens;
    return screens.try_emplace(format, format).first->second;
}

using FrontEnd = void (*)(Image*, const TriVertex*, int, const Rect*, const Color*, void*, int32_t, int32_t, float,
                          float, bool);
using QuadFrontEnd = void (*)(Image*, float, float, const Matrix3x3*, const Rect*, const Color*, const Rect*, void*,
                              int32_t, int32_t, bool);

// Draws the case's shot once, through the given pair of front ends.
void Draw(const FillCase& c, Screen& screen, FrontEnd list, QuadFrontEnd quad)
{
    const Placement p = PlacementOf(c.shot);
    MemoryImage* texture =
        c.family == Family::VertexColoured ? nullptr : &TextureOf(p.textureSize, c.content, AlphaFlags(c));
    const Rect clip{0, 0, kScreenWidth, kScreenHeight};
    if (WithVertexColours(c.kind)) {
        static std::map<Shot, std::vector<TriVertex>> lists;
        auto& triangles = lists[c.shot];
        if (triangles.empty())
            triangles = QuadTriangles(p, true);
        list(texture, triangles.data(), 2, &clip, &c.color, screen.Origin(), screen.pitch, c.format, 0, 0,
             Linear(c.family));
    } else {
        quad(texture, p.x, p.y, &p.matrix, &clip, &c.color, &p.source, screen.Origin(), screen.pitch, c.format,
             Linear(c.family));
    }
}

bool HasPixman(const FillCase& c) { return c.family != Family::VertexColoured; }

PixmanCase PixmanOf(const FillCase& c)
{
    // pixman has no vertex colours: those kinds meet their colour sibling's case.
    const bool masked = c.kind != Kind::Plain;
    const Color mask = c.color == Color::White ? kColours[1] : c.color;
    return {c.shot,   c.format,   c.family != Family::PointSampled, Linear(c.family), masked, c.content,
            masked ? mask : Color::White};
}

bool HasSdl(const FillCase& c) { return !Linear(c.family); }

SdlCase SdlOf(const FillCase& c)
{
    std::vector<uint32_t> colours(4, c.color.Packed());
    if (WithVertexColours(c.kind))
        colours = {0xFFFF8060, 0xFF60FF80, 0xFF8060FF, 0xFFF0F0F0};
    const bool textured = c.family != Family::VertexColoured;
    return {c.shot, c.format, textured, !textured || c.family == Family::PointSampledAlpha, c.content,
            AlphaFlags(c), colours};
}

void RunFill(benchmark::State& state, FillCase c, std::string name)
{
    // Checked once; a failed check skips every repetition, so none is timed.
    static std::map<std::string, bool> matches;
    auto found = matches.find(name);
    if (found == matches.end()) {
        Screen ours(c.format);
        Screen model(c.format);
        Draw(c, ours, &RasterizeTriangleList, &RasterizeTransformedQuad);
        Draw(c, model, &Testing::ReferenceTriangleList, &Testing::ReferenceTransformedQuad);
        found = matches.emplace(name, ours.bytes == model.bytes).first;
    }
    if (!found->second) {
        state.SkipWithError("the picture differs from the reference model");
        return;
    }
    Screen& screen = ScreenOf(c.format);
    const auto covered = static_cast<double>(CoveredPixels(c.shot));
    // The references' rates are measured before the loop, in this repetition.
    double pixman = 0;
    double sdl = 0;
    Screen target(c.format);
    if (HasPixman(c))
        pixman = ReferenceRate(PixmanKey(PixmanOf(c)), PixmanQuad(PixmanOf(c), target), covered);
    if (HasSdl(c))
        sdl = ReferenceRate(SdlKey(SdlOf(c)), SdlQuad(SdlOf(c), target), covered);
    const LoopTimer timer;
    for (auto _ : state) {
        Draw(c, screen, &RasterizeTriangleList, &RasterizeTransformedQuad);
        benchmark::ClobberMemory();
    }
    ReportRate(state, covered);
    timer.ReportRatio(state, covered, "vs_pixman", pixman);
    timer.ReportRatio(state, covered, "vs_sdl", sdl);
}

// A reference draws the shot's covered pixels; once, its picture is checked
// to have changed them as a draw of that content should.
template <class Case>
void RunReference(benchmark::State& state, Case reference, std::function<void()> (*make)(const Case&, Screen&))
{
    Screen screen(reference.format);
    const Screen before = screen;
    auto draw = make(reference, screen);
    draw();
    // Only the bits the format keeps: 0x888 has no alpha, 0x555 no top bit.
    const uint32_t kept = reference.format == 0x888 ? 0xFFFFFF : reference.format == 0x555 ? 0x7FFF : 0xFFFFFFFF;
    const size_t size = reference.format == 0x565 || reference.format == 0x555 ? 2 : 4;
    const auto& mask = CoverageMask(reference.shot);
    int64_t changed = 0;
    for (size_t i = 0; i < mask.size(); ++i) {
        uint32_t now = 0;
        uint32_t was = 0;
        std::memcpy(&now, &screen.bytes[i * size], size);
        std::memcpy(&was, &before.bytes[i * size], size);
        if (mask[i] && ((now ^ was) & kept) != 0)
            ++changed;
    }
    const double covered = static_cast<double>(CoveredPixels(reference.shot));
    const double share = static_cast<double>(changed) / covered;
    if (reference.content == Content::Alpha0 ? share > 0.01 : share < 0.5) {
        state.SkipWithError("the reference's picture is not plausible");
        return;
    }
    for (auto _ : state) {
        draw();
        benchmark::ClobberMemory();
    }
    ReportRate(state, covered);
}

void RunMemcpy(benchmark::State& state)
{
    std::vector<uint32_t> from(static_cast<size_t>(kScreenWidth) * kScreenHeight, 0xFF102030);
    std::vector<uint32_t> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * 4);
        benchmark::ClobberMemory();
    }
    ReportRate(state, static_cast<double>(from.size()));
}

void Configure(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMicrosecond)->MinTime(0.05)->Repetitions(5)->ReportAggregatesOnly(true);
}

const bool kRegistered = [] {
    std::set<std::string> pixman;
    std::set<std::string> sdl;
    Configure(benchmark::RegisterBenchmark("Rasterizer/reference/memcpy_frame", &RunMemcpy));
    for (Family family : {Family::VertexColoured, Family::PointSampled, Family::PointSampledAlpha, Family::Bilinear,
                          Family::BilinearVc})
        for (Kind kind : KindsOf(family))
            for (const Color& color : kColours) {
                // White selects the unmodulated kinds, any other colour the modulated ones.
                const bool modulated = kind == Kind::Colour || kind == Kind::Combined;
                if (modulated == (color == Color::White))
                    continue;
                for (Shot shot : {Shot::Identity512, Shot::Rotated256, Shot::Rotated2048})
                    for (int32_t format : kFormats)
                        for (Content content : ContentsOf(family)) {
                            const FillCase c{family, kind, shot, format, color, content};
                            std::string name = "Rasterizer/fill/" + FamilyName(family) + "/" + KindName(kind) + "/" +
                                               FormatName(format) + "/" + ShotName(shot) + "/" + ColourName(color);
                            if (ContentsOf(family).size() > 1)
                                name += "/" + ContentName(content);
                            Configure(benchmark::RegisterBenchmark(name.c_str(), &RunFill, c, name));
                            if (HasPixman(c) && pixman.insert(PixmanKey(PixmanOf(c))).second)
                                Configure(benchmark::RegisterBenchmark(("Rasterizer/reference/" +
                                                                        PixmanKey(PixmanOf(c))).c_str(),
                                                                       &RunReference<PixmanCase>, PixmanOf(c),
                                                                       &PixmanQuad));
                            if (HasSdl(c) && sdl.insert(SdlKey(SdlOf(c))).second)
                                Configure(benchmark::RegisterBenchmark(("Rasterizer/reference/" +
                                                                        SdlKey(SdlOf(c))).c_str(),
                                                                       &RunReference<SdlCase>, SdlOf(c), &SdlQuad));
                        }
            }
    return true;
}();

} // namespace

} // namespace Tandry::RasterBench
