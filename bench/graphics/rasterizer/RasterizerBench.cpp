// Set-up shared by the rasteriser benchmarks and their outside references
// (pixman's transformed composite and SDL's software renderer).
#include "bench/graphics/rasterizer/RasterizerBench.h"

#include "bench/BenchHash.h"
#include "graphics/rasterizer/rasterizer.h"

#include <SDL.h>
#include <pixman.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <tuple>

namespace Tandry::RasterBench {

namespace {

using Bench::Hash;

bool Wide(int32_t format) { return format != 0x565 && format != 0x555; }

uint32_t PixelAt(const Screen& s, int x, int y)
{
    const uint8_t* at = s.bytes.data() + static_cast<size_t>(y) * static_cast<size_t>(s.pitch);
    if (Wide(s.format)) {
        uint32_t v;
        std::memcpy(&v, at + 4 * x, 4);
        return v;
    }
    uint16_t v;
    std::memcpy(&v, at + 2 * x, 2);
    return v;
}

// Red, green and blue of a pixel of any format, widened to 8 bits.
void Channels(int32_t format, uint32_t p, int c[3])
{
    switch (format) {
    case 0x565:
        c[0] = static_cast<int>((p >> 11) & 31) * 255 / 31;
        c[1] = static_cast<int>((p >> 5) & 63) * 255 / 63;
        c[2] = static_cast<int>(p & 31) * 255 / 31;
        break;
    case 0x555:
        c[0] = static_cast<int>((p >> 10) & 31) * 255 / 31;
        c[1] = static_cast<int>((p >> 5) & 31) * 255 / 31;
        c[2] = static_cast<int>(p & 31) * 255 / 31;
        break;
    default:
        c[0] = static_cast<int>((p >> 16) & 255);
        c[1] = static_cast<int>((p >> 8) & 255);
        c[2] = static_cast<int>(p & 255);
    }
}

// Texels of one content: sprite is round blobs on a 32-texel grid, about
// 60 % opaque, 30 % transparent and 10 % soft edge.
std::vector<uint32_t> Texels(int size, Content content)
{
    std::vector<uint32_t> texels(static_cast<size_t>(size) * static_cast<size_t>(size));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const uint32_t colour = Hash(static_cast<uint32_t>(y * size + x)) & 0xFFFFFF;
            uint32_t alpha = 255;
            switch (content) {
            case Content::Opaque: break;
            case Content::Alpha128: alpha = 128; break;
            case Content::Alpha0: alpha = 0; break;
            case Content::Sprite: {
                const double dx = (x % 32) - 15.5;
                const double dy = (y % 32) - 15.5;
                const double r = std::sqrt(dx * dx + dy * dy);
                alpha = r < 14.1 ? 255 : r < 15.9 ? static_cast<uint32_t>((15.9 - r) / 1.8 * 254) : 0;
                break;
            }
            }
            texels[static_cast<size_t>(y * size + x)] = alpha << 24 | colour;
        }
    return texels;
}

// The corners of the placement's quad, as the front end makes them.
void Corners(const Placement& p, float (&x)[4], float (&y)[4])
{
    const float hw = static_cast<float>(p.source.width) * 0.5f;
    const float hh = static_cast<float>(p.source.height) * 0.5f;
    for (int i = 0; i < 4; ++i) {
        const float cx = (i & 1) != 0 ? hw : -hw;
        const float cy = (i & 2) != 0 ? hh : -hh;
        x[i] = p.matrix.m[0][0] * cx + p.matrix.m[0][1] * cy + p.matrix.m[0][2] + p.x - 0.5f;
        y[i] = p.matrix.m[1][0] * cx + p.matrix.m[1][1] * cy + p.matrix.m[1][2] + p.y - 0.5f;
    }
}

constexpr uint32_t kCornerColours[4] = {0xFFFF8060, 0xFF60FF80, 0xFF8060FF, 0xFFF0F0F0};

} // namespace

std::string FormatName(int32_t format)
{
    switch (format) {
    case 0x888: return "888";
    case 0x565: return "565";
    case 0x555: return "555";
    default: return "8888";
    }
}

Screen::Screen(int32_t f) : format(f), pitch(kScreenWidth * (Wide(f) ? 4 : 2))
{
    bytes.resize(static_cast<size_t>(pitch) * kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            const uint32_t argb = 0xFF000000 | static_cast<uint32_t>(x / 4) << 16 | static_cast<uint32_t>(y / 3) << 8 |
                                  static_cast<uint32_t>((x + y) / 8 & 0xFF);
            uint8_t* at = bytes.data() + static_cast<size_t>(y) * static_cast<size_t>(pitch);
            if (Wide(format)) {
                std::memcpy(at + 4 * x, &argb, 4);
            } else {
                const uint32_t r = (argb >> 19) & 31;
                const uint32_t g = format == 0x565 ? (argb >> 10) & 63 : (argb >> 11) & 31;
                const uint32_t b = (argb >> 3) & 31;
                const auto v = static_cast<uint16_t>(format == 0x565 ? r << 11 | g << 5 | b : r << 10 | g << 5 | b);
                std::memcpy(at + 2 * x, &v, 2);
            }
        }
}

std::string ShotName(Shot shot)
{
    switch (shot) {
    case Shot::Identity512: return "a_identity512";
    case Shot::Rotated256: return "b_turned256";
    default: return "c_turned2048";
    }
}

std::string ContentName(Content content)
{
    switch (content) {
    case Content::Opaque: return "alpha255";
    case Content::Alpha128: return "alpha128";
    case Content::Alpha0: return "alpha0";
    default: return "sprite";
    }
}

Placement PlacementOf(Shot shot)
{
    Placement p{};
    p.x = 512;
    p.y = 384;
    double scale = 1.0;
    double degrees = 0.0;
    switch (shot) {
    case Shot::Identity512: p.textureSize = 512; break;
    case Shot::Rotated256:
        p.textureSize = 256;
        scale = 1.3;
        degrees = 30;
        break;
    case Shot::Rotated2048:
        p.textureSize = 2048;
        scale = 1.3 * 256 / 2048;
        degrees = 30;
        break;
    }
    const double radians = degrees * 3.14159265358979323846 / 180;
    p.matrix.m[0][0] = static_cast<float>(scale * std::cos(radians));
    p.matrix.m[0][1] = static_cast<float>(-scale * std::sin(radians));
    p.matrix.m[1][0] = static_cast<float>(scale * std::sin(radians));
    p.matrix.m[1][1] = static_cast<float>(scale * std::cos(radians));
    p.matrix.m[2][2] = 1;
    p.source = {0, 0, p.textureSize, p.textureSize};
    return p;
}

MemoryImage& TextureOf(int size, Content content, bool alphaFlags)
{
    static std::map<std::tuple<int, Content, bool>, std::unique_ptr<MemoryImage>> textures;
    auto& slot = textures[{size, content, alphaFlags}];
    if (!slot) {
        slot = std::make_unique<MemoryImage>(nullptr);
        const std::vector<uint32_t> texels = Texels(size, content);
        slot->SetBits(texels.data(), size, size, true);
        if (alphaFlags)
            slot->ForceAlphaFlags(false, true);
    }
    return *slot;
}

std::vector<TriVertex> QuadTriangles(const Placement& p, bool vertexColours)
{
    float x[4];
    float y[4];
    Corners(p, x, y);
    TriVertex c[4];
    for (int i = 0; i < 4; ++i)
        c[i] = {x[i], y[i], (i & 1) != 0 ? 1.0f : 0.0f, (i & 2) != 0 ? 1.0f : 0.0f,
                vertexColours ? kCornerColours[i] : 0};
    // The strip order of the transformed quad.
    return {c[0], c[1], c[2], c[1], c[3], c[2]};
}

const std::vector<bool>& CoverageMask(Shot shot)
{
    static std::map<Shot, std::vector<bool>> masks;
    auto& mask = masks[shot];
    if (mask.empty()) {
        const Placement p = PlacementOf(shot);
        MemoryImage opaque(nullptr);
        const std::vector<uint32_t> white(static_cast<size_t>(p.textureSize) * static_cast<size_t>(p.textureSize),
                                          0xFFFFFFFF);
        opaque.SetBits(white.data(), p.textureSize, p.textureSize, true);
        std::vector<uint32_t> screen(static_cast<size_t>(kScreenWidth) * kScreenHeight, 0);
        const Rect clip{0, 0, kScreenWidth, kScreenHeight};
        RasterizeTransformedQuad(&opaque, p.x, p.y, &p.matrix, &clip, &Color::White, &p.source, screen.data(),
                                 kScreenWidth * 4, 0x8888, false);
        mask.resize(screen.size());
        for (size_t i = 0; i < screen.size(); ++i)
            mask[i] = screen[i] != 0;
    }
    return mask;
}

int64_t CoveredPixels(Shot shot)
{
    const auto& mask = CoverageMask(shot);
    return std::count(mask.begin(), mask.end(), true);
}

double ReferenceRate(const std::string&, const std::function<void()>& op, double pixelsPerOp)
{
    using Clock = std::chrono::steady_clock;
    op();
    // Enough calls for a batch of about 10 ms, then the median of three batches.
    int calls = 1;
    for (;;) {
        const auto start = Clock::now();
        for (int i = 0; i < calls; ++i)
            op();
        if (std::chrono::duration<double>(Clock::now() - start).count() > 0.01 || calls > (1 << 20))
            break;
        calls *= 2;
    }
    std::vector<double> batches;
    for (int b = 0; b < 3; ++b) {
        const auto start = Clock::now();
        for (int i = 0; i < calls; ++i)
            op();
        batches.push_back(std::chrono::duration<double>(Clock::now() - start).count() / calls);
    }
    std::sort(batches.begin(), batches.end());
    return pixelsPerOp / batches[1];
}

void ReportRate(benchmark::State& state, double pixels)
{
    state.counters["pixels"] =
        benchmark::Counter(pixels * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

LoopTimer::LoopTimer() : mStart(std::chrono::steady_clock::now()) {}

void LoopTimer::ReportRatio(benchmark::State& state, double pixels, const char* name, double referenceRate) const
{
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - mStart).count();
    if (seconds > 0 && referenceRate > 0)
        state.counters[name] = pixels * static_cast<double>(state.iterations()) / seconds / referenceRate;
}

double MeanDifference(const Screen& a, const Screen& b, const std::vector<bool>& mask)
{
    double sum = 0;
    int64_t count = 0;
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            if (!mask[static_cast<size_t>(y * kScreenWidth + x)])
                continue;
            int ca[3];
            int cb[3];
            Channels(a.format, PixelAt(a, x, y), ca);
            Channels(b.format, PixelAt(b, x, y), cb);
            for (int c = 0; c < 3; ++c)
                sum += std::abs(ca[c] - cb[c]);
            count += 3;
        }
    return count == 0 ? 0 : sum / static_cast<double>(count);
}

// pixman ----------------------------------------------------------------

namespace {

std::string MaskName(const Color& c)
{
    char name[16];
    std::snprintf(name, sizeof name, "%08x", c.Packed());
    return name;
}

} // namespace

std::string PixmanKey(const PixmanCase& c)
{
    return "pixman/" + ShotName(c.shot) + "/" + FormatName(c.format) + (c.over ? "/over" : "/src") +
           (c.bilinear ? "/bilinear" : "/nearest") + (c.solidMask ? "/mask_" + MaskName(c.mask) : "") +
           "/" + ContentName(c.content);
}

std::function<void()> PixmanQuad(const PixmanCase& c, Screen& screen)
{
    const Placement p = PlacementOf(c.shot);
    // pixman reads premultiplied texels.
    MemoryImage& texture = TextureOf(p.textureSize, c.content, false);
    auto texels = std::make_shared<std::vector<uint32_t>>(texture.GetBits(),
                                                          texture.GetBits() + p.textureSize * p.textureSize);
    for (uint32_t& t : *texels) {
        const uint32_t a = t >> 24;
        t = a << 24 | ((t >> 16 & 255) * a / 255) << 16 | ((t >> 8 & 255) * a / 255) << 8 | (t & 255) * a / 255;
    }
    const pixman_format_code_t format = c.format == 0x888   ? PIXMAN_x8r8g8b8
                                        : c.format == 0x565 ? PIXMAN_r5g6b5
                                        : c.format == 0x555 ? PIXMAN_x1r5g5b5
                                                            : PIXMAN_a8r8g8b8;
    std::shared_ptr<pixman_image_t> source(
        pixman_image_create_bits(PIXMAN_a8r8g8b8, p.textureSize, p.textureSize, texels->data(), p.textureSize * 4),
        pixman_image_unref);
    std::shared_ptr<pixman_image_t> destination(
        pixman_image_create_bits(format, kScreenWidth, kScreenHeight, reinterpret_cast<uint32_t*>(screen.Origin()),
                                 screen.pitch),
        pixman_image_unref);

    // pixman maps destination to source; its pixel centres sit at + 0.5,
    // where the rasteriser's whole-number centres are moved by - 0.5: so
    // source = inverse(A) (destination - position) + half the source size.
    const auto& m = p.matrix.m;
    const double det = double{m[0][0]} * m[1][1] - double{m[0][1]} * m[1][0];
    const double ia = m[1][1] / det;
    const double ib = -m[0][1] / det;
    const double ic = -m[1][0] / det;
    const double id = m[0][0] / det;
    pixman_f_transform f{};
    f.m[0][0] = ia;
    f.m[0][1] = ib;
    f.m[0][2] = -(ia * p.x + ib * p.y) + p.source.width / 2.0;
    f.m[1][0] = ic;
    f.m[1][1] = id;
    f.m[1][2] = -(ic * p.x + id * p.y) + p.source.height / 2.0;
    f.m[2][2] = 1;
    pixman_transform_t transform;
    pixman_transform_from_pixman_f_transform(&transform, &f);
    pixman_image_set_transform(source.get(), &transform);
    pixman_image_set_filter(source.get(), c.bilinear ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
    pixman_image_set_repeat(source.get(), PIXMAN_REPEAT_NONE);

    // The same pixels as the rasteriser's: the destination is clipped to the
    // shot's covered spans.
    const auto& mask = CoverageMask(c.shot);
    std::vector<pixman_box32_t> boxes;
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth;) {
            while (x < kScreenWidth && !mask[static_cast<size_t>(y * kScreenWidth + x)])
                ++x;
            const int start = x;
            while (x < kScreenWidth && mask[static_cast<size_t>(y * kScreenWidth + x)])
                ++x;
            if (x > start)
                boxes.push_back({start, y, x, y + 1});
        }
    pixman_region32_t region;
    pixman_region32_init_rects(&region, boxes.data(), static_cast<int>(boxes.size()));
    pixman_image_set_clip_region32(destination.get(), &region);
    pixman_region32_fini(&region);

    std::shared_ptr<pixman_image_t> solid;
    if (c.solidMask) {
        const pixman_color_t colour{static_cast<uint16_t>(c.mask.red * 257), static_cast<uint16_t>(c.mask.green * 257),
                                    static_cast<uint16_t>(c.mask.blue * 257),
                                    static_cast<uint16_t>(c.mask.alpha * 257)};
        solid.reset(pixman_image_create_solid_fill(&colour), pixman_image_unref);
    }
    const pixman_op_t op = c.over ? PIXMAN_OP_OVER : PIXMAN_OP_SRC;
    return [texels, source, destination, solid, op] {
        pixman_image_composite32(op, source.get(), solid.get(), destination.get(), 0, 0, 0, 0, 0, 0, kScreenWidth,
                                 kScreenHeight);
    };
}

// SDL ------------------------------------------------------------------

std::string SdlKey(const SdlCase& c)
{
    const bool uniform = std::all_of(c.vertexColours.begin(), c.vertexColours.end(),
                                     [&](uint32_t v) { return v == c.vertexColours[0]; });
    char colours[16];
    std::snprintf(colours, sizeof colours, "%08x", uniform ? c.vertexColours[0] : 0u);
    return "sdl/" + ShotName(c.shot) + "/" + FormatName(c.format) + (c.textured ? "/texture" : "/colour") +
           (c.blend ? "/blend" : "/none") + "/" + ContentName(c.content) + "/" +
           (uniform ? std::string(colours) : "corners");
}

std::function<void()> SdlQuad(const SdlCase& c, Screen& screen)
{
    const Uint32 format = c.format == 0x888   ? SDL_PIXELFORMAT_RGB888
                          : c.format == 0x565 ? SDL_PIXELFORMAT_RGB565
                          : c.format == 0x555 ? SDL_PIXELFORMAT_RGB555
                                              : SDL_PIXELFORMAT_ARGB8888;
    std::shared_ptr<SDL_Surface> surface(
        SDL_CreateRGBSurfaceWithFormatFrom(screen.Origin(), kScreenWidth, kScreenHeight, Wide(c.format) ? 32 : 16,
                                           screen.pitch, format),
        SDL_FreeSurface);
    if (!surface)
        throw std::runtime_error(SDL_GetError());
    std::shared_ptr<SDL_Renderer> renderer(SDL_CreateSoftwareRenderer(surface.get()), SDL_DestroyRenderer);
    if (!renderer)
        throw std::runtime_error(SDL_GetError());
    const Placement p = PlacementOf(c.shot);
    std::shared_ptr<SDL_Texture> texture;
    if (c.textured) {
        MemoryImage& image = TextureOf(p.textureSize, c.content, c.alphaFlags);
        texture.reset(SDL_CreateTexture(renderer.get(), SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                        p.textureSize, p.textureSize),
                      SDL_DestroyTexture);
        SDL_UpdateTexture(texture.get(), nullptr, image.GetBits(), p.textureSize * 4);
        SDL_SetTextureBlendMode(texture.get(), c.blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    }
    SDL_SetRenderDrawBlendMode(renderer.get(), c.blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    float x[4];
    float y[4];
    Corners(p, x, y);
    auto vertices = std::make_shared<std::vector<SDL_Vertex>>();
    for (int i : {0, 1, 2, 1, 3, 2}) {
        const uint32_t argb = c.vertexColours[static_cast<size_t>(i)];
        // SDL's pixel centres sit at + 0.5.
        vertices->push_back({{x[i] + 0.5f, y[i] + 0.5f},
                             {static_cast<Uint8>(argb >> 16), static_cast<Uint8>(argb >> 8), static_cast<Uint8>(argb),
                              static_cast<Uint8>(argb >> 24)},
                             {(i & 1) != 0 ? 1.0f : 0.0f, (i & 2) != 0 ? 1.0f : 0.0f}});
    }
    return [surface, renderer, texture, vertices] {
        SDL_RenderGeometry(renderer.get(), texture.get(), vertices->data(), static_cast<int>(vertices->size()),
                           nullptr, 0);
        SDL_RenderFlush(renderer.get());
    };
}

} // namespace Tandry::RasterBench
