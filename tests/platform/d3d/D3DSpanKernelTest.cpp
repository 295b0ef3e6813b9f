// The specialised span loops against the general per-pixel loop: the same
// triangles, states, textures and target contents through a drawer with and
// without them must leave the very same bytes. Each sweep covers one axis of
// the choice (blend pair, stage roles, texture format and filter, addressing,
// target format) over geometry that reaches every kind of span set-up.
#include "platform/d3d/D3DConstants.h"
#include "platform/d3d/D3DPrimitiveDrawer.h"
#include "platform/ddraw/DDrawPixelFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace Platform;

struct Vertex {
    float x, y, z, rhw;
    uint32_t diffuse, specular;
    float u, v;
};
const D3DVertexLayout kLayout = D3DVertexLayout::Of(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1);

// A small deterministic generator, so that a failure repeats.
struct Noise {
    uint32_t state;
    uint32_t Next()
    {
        state = state * 1664525u + 1013904223u;
        return state ^ (state >> 15);
    }
};

struct Memory {
    std::vector<uint8_t> bytes;
    int32_t pitch = 0;
    DDPIXELFORMAT format{};
};

// Rows padded by 12 bytes, every byte noise.
Memory MakeMemory(uint32_t width, uint32_t height, DDrawFormat format, uint32_t seed)
{
    Memory memory;
    memory.format = MakePixelFormat(format);
    memory.pitch = static_cast<int32_t>(width * BytesPerPixel(memory.format) + 12);
    memory.bytes.resize(size_t(memory.pitch) * height);
    Noise noise{seed};
    for (uint8_t& byte : memory.bytes)
        byte = static_cast<uint8_t>(noise.Next() >> 8);
    return memory;
}

// The strip of a w x h rectangle turned by `angle` about (cx, cy), u and v over [u0, u1] x [v0, v1].
std::vector<Vertex> TurnedQuad(double cx, double cy, double w, double h, double angle, float u0, float v0, float u1,
                               float v1, const uint32_t (&diffuse)[4])
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double corners[4][2] = {{-w / 2, -h / 2}, {-w / 2, h / 2}, {w / 2, -h / 2}, {w / 2, h / 2}};
    const float uv[4][2] = {{u0, v0}, {u0, v1}, {u1, v0}, {u1, v1}};
    std::vector<Vertex> quad;
    for (int k = 0; k < 4; ++k)
        quad.push_back({float(cx + corners[k][0] * c - corners[k][1] * s),
                        float(cy + corners[k][0] * s + corners[k][1] * c), 0, 1, diffuse[k], 0, uv[k][0], uv[k][1]});
    return quad;
}

// Geometry on a 40 x 30 target: 1:1 texel quads (whole and cut by the
// viewport), turned, magnified and minified quads, coordinates past [0, 1],
// flat and Gouraud colours, slivers.
std::vector<std::vector<Vertex>> Scenes(uint32_t textureWidth, uint32_t textureHeight)
{
    const uint32_t white[4] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
    const uint32_t flat[4] = {0x80C04020u, 0x80C04020u, 0x80C04020u, 0x80C04020u};
    const uint32_t gouraud[4] = {0xFFFF0000u, 0x8000FF00u, 0x400000FFu, 0xC0808080u};
    const float tw = float(textureWidth);
    const float th = float(textureHeight);
    std::vector<std::vector<Vertex>> scenes;
    // Texel (s + i, t + j) at pixel (x + i, y + j).
    scenes.push_back(TurnedQuad(3 + 8 - 0.5, 2 + 6 - 0.5, 16, 12, 0.0, 1 / tw, 2 / th, 17 / tw, 14 / th, white));
    scenes.push_back(TurnedQuad(21 + 8 - 0.5, 17 + 6 - 0.5, 16, 12, 0.0, 0, 3 / th, 16 / tw, 15 / th, white));
    scenes.push_back(TurnedQuad(5 + 7 - 0.5, 16 + 6 - 0.5, 14, 12, 0.0, 1 / tw, 2 / th, 15 / tw, 14 / th, flat));
    // One texel per pixel, but a quarter texel off in one direction: the linear filter weighs two.
    scenes.push_back(TurnedQuad(21 + 7 - 0.5, 1 + 6 - 0.5, 14, 12, 0.0, 0, 2.25f / th, 14 / tw, 14.25f / th, white));
    scenes.push_back(TurnedQuad(2 + 7 - 0.5, 16 + 6 - 0.5, 14, 12, 0.0, 0.75f / tw, 0, 14.75f / tw, 12 / th, white));
    scenes.push_back(TurnedQuad(20 - 0.5, 15 - 0.5, 48, 40, 0.0, -0.5f, -0.25f, 1.5f, 1.25f, white));
    scenes.push_back(TurnedQuad(20, 14, 26, 18, 0.5236, 0, 0, 1, 1, flat));
    scenes.push_back(TurnedQuad(17.3, 12.7, 30, 22, -1.1, -0.3f, 0.2f, 1.7f, 1.9f, gouraud));
    scenes.push_back(TurnedQuad(20, 15, 36, 26, 0.0, 0, 0, 4, 3, gouraud)); // minified
    scenes.push_back(TurnedQuad(12.25, 9.75, 21, 13, 0.0, 0.1f, 0.1f, 0.3f, 0.25f, flat)); // magnified
    scenes.push_back(TurnedQuad(20, 15, 70, 0.7, 0.05, 0, 0, 1, 1, white));            // sliver
    return scenes;
}

struct Draw {
    DDrawFormat targetFormat = DDrawFormat::X8R8G8B8;
    uint32_t targetWidth = 40;
    uint32_t targetHeight = 30;
    RECT viewport{0, 0, 40, 30};
    bool textured = true;
    DDrawFormat textureFormat = DDrawFormat::A8R8G8B8;
    uint32_t textureWidth = 16;
    uint32_t textureHeight = 16;
    bool linearMagnify = false;
    bool linearMinify = false;
    uint32_t addressU = D3DTADDRESS_WRAP;
    uint32_t addressV = D3DTADDRESS_WRAP;
    D3DStageOps stage{D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE};
    bool blend = true;
    uint32_t sourceBlend = D3DBLEND_SRCALPHA;
    uint32_t destBlend = D3DBLEND_INVSRCALPHA;
    bool extremeTexels = false; // every texture byte 0 or 255 instead of noise

    std::string Name() const
    {
        return "target " + std::to_string(int(targetFormat)) + " texture " +
               (textured ? std::to_string(int(textureFormat)) : std::string("none")) + " filters " +
               std::to_string(linearMagnify) + std::to_string(linearMinify) + " address " +
               std::to_string(addressU) + "/" + std::to_string(addressV) + " ops " + std::to_string(stage.colourOp) +
               "(" + std::to_string(stage.colourArg1) + "," + std::to_string(stage.colourArg2) + ") " +
               std::to_string(stage.alphaOp) + "(" + std::to_string(stage.alphaArg1) + "," +
               std::to_string(stage.alphaArg2) + ") blend " + std::to_string(blend) + " " +
               std::to_string(sourceBlend) + "/" + std::to_string(destBlend);
    }
};

// Draws every scene into a copy of the same noise with the specialised loops
// allowed and with the general loop only, and compares the bytes.
void ExpectSameAsGeneral(const Draw& draw, bool expectSpecialised = true,
                         std::vector<std::vector<Vertex>> scenes = {})
{
    if (scenes.empty())
        scenes = Scenes(draw.textureWidth, draw.textureHeight);
    SCOPED_TRACE(draw.Name());
    Memory texture = MakeMemory(draw.textureWidth, draw.textureHeight, draw.textureFormat, 7);
    if (draw.extremeTexels)
        for (uint8_t& byte : texture.bytes)
            byte = byte & 0x10 ? 0xFF : 0x00;
    std::array<uint32_t, 256> palette;
    Noise noise{11};
    for (uint32_t& entry : palette)
        entry = noise.Next();
    std::array<D3DStageOps, D3DPixelPipeline::kStages> stages{};
    for (D3DStageOps& stage : stages)
        stage.colourOp = stage.alphaOp = D3DTOP_DISABLE;
    stages[0] = draw.stage;
    D3DPixelPipeline pipeline;
    ASSERT_EQ(pipeline.Set(stages, 0, false, draw.blend, draw.sourceBlend, draw.destBlend), DD_OK);

    const auto run = [&](bool specialised, bool wide, Memory& target, const std::vector<Vertex>& vertices) {
        std::vector<std::optional<D3DTextureSampler>> samplers(size_t(pipeline.StageCount()));
        if (!samplers.empty() && draw.textured) {
            if (draw.textureFormat == DDrawFormat::P8Texture)
                samplers[0].emplace(texture.bytes.data(), texture.pitch, draw.textureWidth, draw.textureHeight,
                                    palette);
            else
                samplers[0].emplace(texture.bytes.data(), texture.pitch, draw.textureWidth, draw.textureHeight,
                                    D3DPixelLayout::FromFormat(texture.format));
            samplers[0]->SetAddressing(draw.addressU, draw.addressV, 0x80FF8040u);
            samplers[0]->SetFilters(draw.linearMagnify, draw.linearMinify);
        }
        D3DRenderTarget renderTarget;
        renderTarget.pixels = target.bytes.data();
        renderTarget.pitch = target.pitch;
        renderTarget.layout = D3DPixelLayout::FromFormat(target.format);
        renderTarget.viewport = draw.viewport;
        D3DPrimitiveDrawer drawer(renderTarget, pipeline, std::move(samplers), D3DCULL_NONE, specialised, wide);
        EXPECT_EQ(drawer.Specialised(), specialised && expectSpecialised);
        drawer.Draw(D3DPT_TRIANGLESTRIP, kLayout, reinterpret_cast<const uint8_t*>(vertices.data()),
                    static_cast<uint32_t>(vertices.size()));
        return drawer.Changed();
    };
    int scene = 0;
    for (const std::vector<Vertex>& vertices : scenes) {
        SCOPED_TRACE("scene " + std::to_string(scene++));
        const Memory before = MakeMemory(draw.targetWidth, draw.targetHeight, draw.targetFormat, 3 + uint32_t(scene));
        Memory general = before;
        const RECT changed = run(false, false, general, vertices);
        ASSERT_LT(changed.left, changed.right); // the scene covers pixels
        // The widest vector code this processor has, and the baseline's.
        for (const bool wide : {true, false}) {
            Memory fast = before;
            run(true, wide, fast, vertices);
            for (size_t i = 0; i < fast.bytes.size(); ++i)
                ASSERT_EQ(fast.bytes[i], general.bytes[i])
                    << "byte " << i << " (row " << i / size_t(fast.pitch) << ", wide " << wide << ")";
        }
    }
}

// Flat diffuse colours of turned quads: white leaves the texture as it is, the tint shades it.
constexpr uint32_t kWhite[4] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
constexpr uint32_t kTint[4] = {0xC080FF40u, 0xC080FF40u, 0xC080FF40u, 0xC080FF40u};

constexpr DDrawFormat kTargets[] = {DDrawFormat::X8R8G8B8, DDrawFormat::A8R8G8B8, DDrawFormat::R5G6B5,
                                    DDrawFormat::X1R5G5B5, DDrawFormat::BGR565,  DDrawFormat::R8G8B8};

TEST(D3DSpanKernelTest, EveryBlendPairOnEveryTargetMatchesTheGeneralLoop)
{
    for (const DDrawFormat target : kTargets) {
        Draw draw;
        draw.targetFormat = target;
        draw.blend = false;
        ExpectSameAsGeneral(draw);
        draw.blend = true;
        for (uint32_t source = D3DBLEND_ZERO; source <= D3DBLEND_INVDESTCOLOR; ++source)
            for (uint32_t dest = D3DBLEND_ZERO; dest <= D3DBLEND_INVDESTCOLOR; ++dest) {
                draw.sourceBlend = source;
                draw.destBlend = dest;
                ExpectSameAsGeneral(draw);
            }
    }
}

TEST(D3DSpanKernelTest, EveryStageRoleWithEveryTextureFormatAndFilterMatchesTheGeneralLoop)
{
    struct Operation {
        uint32_t op, arg1, arg2;
    };
    const Operation colours[] = {{D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT},
                                 {D3DTOP_SELECTARG1, D3DTA_DIFFUSE, D3DTA_TEXTURE},
                                 {D3DTOP_SELECTARG2, D3DTA_DIFFUSE, D3DTA_TEXTURE},
                                 {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_CURRENT},
                                 {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT},
                                 {D3DTOP_MODULATE, D3DTA_DIFFUSE, D3DTA_TEXTURE}};
    const Operation alphas[] = {{D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_CURRENT},
                                {D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT},
                                {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE},
                                {D3DTOP_MODULATE, D3DTA_CURRENT, D3DTA_TEXTURE}};
    const DDrawFormat textures[] = {DDrawFormat::A8R8G8B8, DDrawFormat::X8R8G8B8, DDrawFormat::A4R4G4B4,
                                    DDrawFormat::R5G6B5,   DDrawFormat::A1R5G5B5, DDrawFormat::P8Texture};
    for (const DDrawFormat target : {DDrawFormat::X8R8G8B8, DDrawFormat::R5G6B5, DDrawFormat::X1R5G5B5})
        for (const Operation& colour : colours)
            for (const Operation& alpha : alphas)
                for (int texture = -1; texture < int(std::size(textures)); ++texture)
                    for (const bool linear : {false, true}) {
                        Draw draw;
                        draw.targetFormat = target;
                        draw.stage = {colour.op, colour.arg1, colour.arg2, alpha.op, alpha.arg1, alpha.arg2};
                        draw.textured = texture >= 0;
                        draw.textureFormat = texture >= 0 ? textures[texture] : DDrawFormat::A8R8G8B8;
                        draw.linearMagnify = linear;
                        draw.linearMinify = !linear;
                        ExpectSameAsGeneral(draw);
                    }
}

TEST(D3DSpanKernelTest, EveryAddressingWithOddTextureSizesAndACutViewportMatchesTheGeneralLoop)
{
    const uint32_t modes[] = {D3DTADDRESS_WRAP, D3DTADDRESS_MIRROR, D3DTADDRESS_CLAMP, D3DTADDRESS_BORDER};
    for (const uint32_t u : modes)
        for (const uint32_t v : modes)
            for (const DDrawFormat texture : {DDrawFormat::A8R8G8B8, DDrawFormat::R5G6B5})
                for (const bool linear : {false, true}) {
                    Draw draw;
                    draw.textureFormat = texture;
                    draw.textureWidth = 13;
                    draw.textureHeight = 7;
                    draw.viewport = RECT{5, 3, 33, 26};
                    draw.addressU = u;
                    draw.addressV = v;
                    draw.linearMagnify = draw.linearMinify = linear;
                    ExpectSameAsGeneral(draw);
                }
}

// Turned quads under a flat colour take their coordinates from runs of the
// repeated sums: every angle here makes steps with full mantissas, the ranges
// cross zero and binade edges both ways, and the texture sizes reach both the
// shifted indices (powers of two) and the double products (other sizes).
TEST(D3DSpanKernelTest, TurnedFlatQuadsAtManyAnglesMatchTheGeneralLoop)
{
    struct Range {
        float u0, v0, u1, v1;
    };
    const Range ranges[] = {{0, 0, 1, 1}, {-0.7f, 0.3f, 0.4f, -1.2f}, {0.999f, 0.5f, 1.001f, 0.51f}, {3, -5, -2, 7}};
    std::vector<std::vector<Vertex>> scenes;
    for (const double angle : {0.5236, -0.5236, 0.01, 1.3, 2.9, -2.2})
        for (const Range& range : ranges)
            for (const bool tinted : {false, true})
                scenes.push_back(TurnedQuad(19.7, 14.6, 37, 25, angle, range.u0, range.v0, range.u1, range.v1,
                                            tinted ? kTint : kWhite));
    struct Size {
        uint32_t width, height;
    };
    for (const Size size : {Size{16, 16}, Size{32, 8}, Size{13, 7}, Size{64, 48}, Size{1, 1}})
        for (const DDrawFormat target : {DDrawFormat::X8R8G8B8, DDrawFormat::R5G6B5, DDrawFormat::R8G8B8})
            for (const DDrawFormat texture : {DDrawFormat::A8R8G8B8, DDrawFormat::A4R4G4B4})
                for (const bool linear : {false, true})
                    for (const bool blend : {false, true}) {
                        Draw draw;
                        draw.targetFormat = target;
                        draw.textureFormat = texture;
                        draw.textureWidth = size.width;
                        draw.textureHeight = size.height;
                        draw.linearMagnify = draw.linearMinify = linear;
                        draw.blend = blend;
                        draw.addressU = D3DTADDRESS_MIRROR;
                        ExpectSameAsGeneral(draw, true, scenes);
                    }
}

// Spans of hundreds of pixels: point spans cross the blocks their coordinates
// are written out in, long linear spans plan runs of sums, short ones do not.
TEST(D3DSpanKernelTest, LongAndShortTurnedSpansMatchTheGeneralLoop)
{
    std::vector<std::vector<Vertex>> scenes;
    for (const double angle : {0.03, -0.09, 3.1})
        for (const bool tinted : {false, true}) {
            scenes.push_back(TurnedQuad(160.3, 12.2, 290, 14, angle, -0.6f, 0.1f, 1.3f, 0.9f, tinted ? kTint : kWhite));
            scenes.push_back(TurnedQuad(150.4, 11.7, 240, 20, angle, 0, 0, 1, 1, tinted ? kTint : kWhite));
        }
    // Sprites of a few pixels a row, some partly off the target.
    for (int i = 0; i < 12; ++i)
        scenes.push_back(TurnedQuad(-3 + 27 * i, 3 + 2 * (i % 7), 9 + i % 5, 7 + i % 3, 0.5236 * (i + 1), 0, 0, 1, 1,
                                    i % 2 ? kTint : kWhite));
    // Upright quads whose pixel centres fall on texel edges: whether a chain
    // of rounded sums lands just below or on each edge picks the texel.
    for (const double width : {10.0, 30.0, 100.0, 300.0})
        for (const double left : {0.0, -0.5})
            scenes.push_back(TurnedQuad(left + width / 2, 12, width, 20, 0.0, 0, 0, 1, 1, kWhite));
    for (const DDrawFormat target : {DDrawFormat::X8R8G8B8, DDrawFormat::R5G6B5})
        for (const bool linear : {false, true})
            for (const uint32_t size : {32u, 13u, 20u, 60u}) {
                Draw draw;
                draw.targetFormat = target;
                draw.targetWidth = 320;
                draw.targetHeight = 24;
                draw.viewport = RECT{0, 0, 320, 24};
                draw.textureWidth = size;
                draw.textureHeight = size;
                draw.linearMagnify = draw.linearMinify = linear;
                draw.addressU = D3DTADDRESS_CLAMP;
                ExpectSameAsGeneral(draw, true, scenes);
            }
}

// Bilinear spans from 32-bit textures, which may be filtered four pixels at
// a time: texels at the ends of their range under every fraction a turn
// reaches, runs of every length modulo four, with and without the texture's
// alpha, written straight and shaded.
TEST(D3DSpanKernelTest, BilinearTurnedSpansOf32BitTexturesMatchTheGeneralLoop)
{
    std::vector<std::vector<Vertex>> scenes;
    for (const double angle : {0.5236, -0.2, 1.9})
        for (const bool tinted : {false, true}) {
            scenes.push_back(TurnedQuad(160.3, 12.2, 300, 9, angle, 0.02f, 0.05f, 0.97f, 0.93f, tinted ? kTint : kWhite));
            for (int width = 5; width <= 12; ++width)
                scenes.push_back(TurnedQuad(20.0 * width - 90.0, 12.5, width, 14, angle, 0.1f, 0.2f, 0.9f, 0.7f,
                                            tinted ? kTint : kWhite));
        }
    for (const DDrawFormat texture : {DDrawFormat::A8R8G8B8, DDrawFormat::X8R8G8B8})
        for (const bool extreme : {true, false})
            for (const bool blend : {false, true}) {
                Draw draw;
                draw.targetWidth = 320;
                draw.targetHeight = 24;
                draw.viewport = RECT{0, 0, 320, 24};
                draw.textureFormat = texture;
                draw.textureWidth = 37;
                draw.textureHeight = 29;
                draw.extremeTexels = extreme;
                draw.linearMagnify = draw.linearMinify = true;
                draw.blend = blend;
                ExpectSameAsGeneral(draw, true, scenes);
            }
}

TEST(D3DSpanKernelTest, NoStageDrawsTheDiffuseAsTheGeneralLoopDoes)
{
    Draw draw;
    draw.stage.colourOp = D3DTOP_DISABLE;
    ExpectSameAsGeneral(draw);
}

TEST(D3DSpanKernelTest, DrawsTheSpecialisedLoopsCannotShadeGoTheGeneralWay)
{
    Draw draw;
    draw.stage = {D3DTOP_DOTPRODUCT3, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE};
    ExpectSameAsGeneral(draw, false);
    draw.stage = {D3DTOP_MODULATE, D3DTA_TEXTURE | D3DTA_COMPLEMENT, D3DTA_DIFFUSE, D3DTOP_SELECTARG1, D3DTA_TEXTURE,
                  D3DTA_DIFFUSE};
    ExpectSameAsGeneral(draw, false);
    draw.stage = {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_TFACTOR, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE};
    ExpectSameAsGeneral(draw, false);
}

// Every source alpha over every R5G6B5 value, and over every red-green pair
// of X8R8G8B8: a 256 x 256 target holding each once, under a texture whose
// column is its alpha; the viewport leaves out the first column so that rows
// start unaligned and end with a remainder.
TEST(D3DSpanKernelTest, EveryTargetValueUnderEverySourceAlphaMatchesTheGeneralLoop)
{
    constexpr uint32_t kSide = 256;
    std::vector<uint8_t> texels(size_t(kSide) * kSide * 4);
    for (uint32_t y = 0; y < kSide; ++y)
        for (uint32_t x = 0; x < kSide; ++x) {
            const uint32_t texel = (x << 24) | ((y * 77 + x) & 0xFF) << 16 | ((y * 13) & 0xFF) << 8 | (y ^ x);
            std::memcpy(&texels[(size_t(y) * kSide + x) * 4], &texel, 4);
        }
    std::array<D3DStageOps, D3DPixelPipeline::kStages> stages{};
    for (D3DStageOps& stage : stages)
        stage.colourOp = stage.alphaOp = D3DTOP_DISABLE;
    stages[0] = {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT};
    const uint32_t white[4] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
    std::vector<Vertex> quad = TurnedQuad(kSide / 2.0 - 0.5, kSide / 2.0 - 0.5, kSide, kSide, 0.0, 0, 0, 1, 1, white);
    for (const DDrawFormat format : {DDrawFormat::R5G6B5, DDrawFormat::X8R8G8B8}) {
        const uint32_t bytes = format == DDrawFormat::R5G6B5 ? 2 : 4;
        std::vector<uint8_t> before(size_t(kSide) * kSide * bytes);
        for (uint32_t value = 0; value < kSide * kSide; ++value) {
            // A shuffle, so that each texel meets a different target value.
            const uint32_t shuffled = (value * 40503u) & 0xFFFF;
            const uint32_t stored = bytes == 2 ? shuffled : (shuffled << 8) | ((value * 7) & 0xFF) | 0xA5000000u;
            std::memcpy(&before[size_t(value) * bytes], &stored, bytes);
        }
        for (const auto& [source, dest] :
             {std::pair{D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA}, std::pair{D3DBLEND_SRCALPHA, D3DBLEND_ONE},
              std::pair{D3DBLEND_ONE, D3DBLEND_ONE}, std::pair{D3DBLEND_ONE, D3DBLEND_INVSRCALPHA},
              std::pair{D3DBLEND_DESTCOLOR, D3DBLEND_ZERO}}) {
            SCOPED_TRACE(std::to_string(int(format)) + " " + std::to_string(source) + "/" + std::to_string(dest));
            D3DPixelPipeline pipeline;
            ASSERT_EQ(pipeline.Set(stages, 0, false, true, source, dest), DD_OK);
            std::vector<uint8_t> results[3] = {before, before, before};
            for (const int path : {0, 1, 2}) { // general, specialised, specialised on the baseline's vector code
                std::vector<std::optional<D3DTextureSampler>> samplers(1);
                samplers[0].emplace(texels.data(), int32_t(kSide * 4), kSide, kSide,
                                    D3DPixelLayout::FromFormat(MakePixelFormat(DDrawFormat::A8R8G8B8)));
                D3DRenderTarget target;
                target.pixels = results[path].data();
                target.pitch = int32_t(kSide * bytes);
                target.layout = D3DPixelLayout::FromFormat(MakePixelFormat(format));
                target.viewport = RECT{1, 0, int32_t(kSide), int32_t(kSide)};
                D3DPrimitiveDrawer drawer(target, pipeline, std::move(samplers), D3DCULL_NONE, path != 0, path == 1);
                drawer.Draw(D3DPT_TRIANGLESTRIP, kLayout, reinterpret_cast<const uint8_t*>(quad.data()), 4);
            }
            ASSERT_TRUE(results[0] != before);
            EXPECT_TRUE(results[1] == results[0]);
            EXPECT_TRUE(results[2] == results[0]);
        }
    }
}

} // namespace
