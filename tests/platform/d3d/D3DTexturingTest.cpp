// Texture reads of the device: the quad that maps pixels one to one onto
// texels under both filters, texture formats and palettes, addressing, the
// bilinear weights and the choice between the two filters.
#include "platform/d3d/D3DTestSupport.h"

namespace {

using namespace D3DTest;

class D3DTexturingTest : public D3DFixture {
protected:
    // Shows the texture's colour as it is (stage 0 selects the texture).
    static void ShowTexture(DeviceOn& scene)
    {
        scene.SetStates({{D3DRENDERSTATE_CULLMODE, D3DCULL_NONE}});
        scene.SetStageStates(0, {{D3DTSS_COLOROP, D3DTOP_SELECTARG1}, {D3DTSS_COLORARG1, D3DTA_TEXTURE}});
    }
    // Shows the texture's alpha in every channel.
    static void ShowTextureAlpha(DeviceOn& scene)
    {
        scene.SetStageStates(0, {{D3DTSS_COLORARG1, D3DTA_TEXTURE | D3DTA_ALPHAREPLICATE}});
    }
};

uint32_t TexelValue(uint32_t x, uint32_t y) { return 0xFF000000u | (x * 16u + 3u) << 16 | (y * 20u + 5u) << 8 | (x ^ y); }

TEST_F(D3DTexturingTest, AQuadOnThePixelGridPutsEachTexelOnOnePixelUnderBothFilters)
{
    const uint32_t W = 16, H = 8;
    std::vector<uint32_t> texels;
    for (uint32_t y = 0; y < H; ++y)
        for (uint32_t x = 0; x < W; ++x)
            texels.push_back(TexelValue(x, y));
    // Source texels [3, 11) x [2, 6) to pixels from (5, 4).
    const int s = 3, e = 11, t = 2, b = 6, px = 5, py = 4;
    for (const uint32_t filter : {D3DTFG_POINT, D3DTFG_LINEAR}) {
        SCOPED_TRACE(filter);
        DeviceOn scene(20, 12);
        IDirectDrawSurface7* texture = MakeTexture(scene.dd.dd, W, H, DDrawFormat::A8R8G8B8);
        WritePixels(texture, texels);
        ShowTexture(scene);
        scene.SetStageStates(0, {{D3DTSS_MAGFILTER, filter}, {D3DTSS_MINFILTER, filter},
                                 {D3DTSS_ADDRESS, D3DTADDRESS_CLAMP}});
        ASSERT_EQ(scene->SetTexture(0, texture), DD_OK);
        ASSERT_EQ(scene.DrawScene(D3DPT_TRIANGLESTRIP,
                                  Quad(px - 0.5f, py - 0.5f, px + (e - s) - 0.5f, py + (b - t) - 0.5f, 0xFFFFFFFF,
                                       float(s) / W, float(t) / H, float(e) / W, float(b) / H)),
                  DD_OK);
        const std::vector<uint32_t> pixels = scene.Pixels();
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 20; ++x) {
                const bool inside = x >= px && x < px + (e - s) && y >= py && y < py + (b - t);
                const uint32_t expected = inside ? (TexelValue(s + x - px, t + y - py) & 0xFFFFFF) : 0u;
                EXPECT_EQ(pixels[y * 20 + x], expected) << x << "," << y;
            }
        }
        texture->Release();
    }
}

TEST_F(D3DTexturingTest, NoTextureModulatedWithDiffuseGivesTheDiffuseColour)
{
    DeviceOn scene(8, 8);
    scene.SetStates({{D3DRENDERSTATE_CULLMODE, D3DCULL_NONE}});
    scene.SetStageStates(0, {{D3DTSS_COLOROP, D3DTOP_MODULATE}, {D3DTSS_COLORARG1, D3DTA_TEXTURE},
                             {D3DTSS_COLORARG2, D3DTA_DIFFUSE}});
    ASSERT_EQ(scene.DrawScene(D3DPT_TRIANGLESTRIP, Quad(-0.5f, -0.5f, 7.5f, 7.5f, 0x80A1B2C3)), DD_OK);
    EXPECT_EQ(scene.Pixels(), std::vector<uint32_t>(64, 0xA1B2C3u));
}

TEST_F(D3DTexturingTest, TextureFormatsDecodeByTheirFields)
{
    struct Case {
        const char* name;
        DDrawFormat format;
        uint32_t stored;
        uint32_t colour; // 0xRRGGBB seen
        uint32_t alpha;
    };
    const Case cases[] = {
        {"A4R4G4B4", DDrawFormat::A4R4G4B4, 0x8F40, 0xFF4400, 136},
        {"R5G6B5", DDrawFormat::R5G6B5, 0xF81F, 0xFF00FF, 255},
        {"R5G6B5 mid", DDrawFormat::R5G6B5, (0x10u << 11) | (0x21u << 5) | 0x03u, 0x848618u, 255},
        {"A1R5G5B5 clear", DDrawFormat::A1R5G5B5, 0x7C00, 0xFF0000, 0},
        {"X1R5G5B5", DDrawFormat::X1R5G5B5, 0x83E0, 0x00FF00, 255},
        {"A8R8G8B8", DDrawFormat::A8R8G8B8, 0x12345678, 0x345678, 0x12},
        {"24-bit", DDrawFormat::R8G8B8, 0xABCDEF, 0xABCDEF, 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceOn scene(2, 2);
        IDirectDrawSurface7* texture = MakeTexture(scene.dd.dd, 1, 1, c.format);
        WritePixels(texture, {c.stored});
        ShowTexture(scene);
        ASSERT_EQ(scene->SetTexture(0, texture), DD_OK);
        ASSERT_EQ(scene.DrawScene(D3DPT_POINTLIST, {{0, 0, 0, 1, 0xFFFFFFFF, 0, 0.5f, 0.5f}}), DD_OK);
        EXPECT_EQ(scene.Pixel(0, 0), c.colour);
        ShowTextureAlpha(scene);
        ASSERT_EQ(scene.DrawScene(D3DPT_POINTLIST, {{0, 0, 0, 1, 0xFFFFFFFF, 0, 0.5f, 0.5f}}), DD_OK);
        EXPECT_EQ(scene.Pixel(0, 0), c.alpha * 0x010101u);
        texture->Release();
    }
}

TEST_F(D3DTexturingTest, PalettisedTexturesReadTheirPaletteAndNeedOne)
{
    struct Case {
        const char* name;
        bool alphaPalette; // made with DDPCAPS_ALPHA
        bool cap;          // the device reports D3DPTEXTURECAPS_ALPHAPALETTE
        uint32_t alpha;
    };
    for (const Case c : {Case{"alpha palette", true, true, 128}, Case{"no alpha flag", false, true, 255},
                         Case{"no cap", true, false, 255}}) {
        SCOPED_TRACE(c.name);
        if (c.cap)
            ChangeSettings([](DDrawSettings& s) { s.alphaPaletteCap = true; });
        else
            ChangeSettings([](DDrawSettings& s) { s.alphaPaletteCap = false; });
        DeviceOn scene(2, 2);
        IDirectDrawSurface7* texture = MakeTexture(scene.dd.dd, 2, 1, DDrawFormat::P8);
        WritePixels(texture, {0, 1}); // ReadPixels and WritePixels move single bytes here
        ShowTexture(scene);
        ASSERT_EQ(scene->SetTexture(0, texture), DD_OK);
        const std::vector<TLVertex> point = {{1, 0, 0, 1, 0xFFFFFFFF, 0, 0.75f, 0.5f}};
        EXPECT_EQ(scene.DrawScene(D3DPT_POINTLIST, point), DDERR_NOPALETTEATTACHED);
        EXPECT_EQ(scene.Pixel(1, 0), 0u);

        // Entry 1 as the display passes it: 0x80FF0000, red in the low byte, so blue is full.
        PALETTEENTRY entries[256] = {};
        const uint32_t word = 0x80FF0000u;
        entries[1] = {uint8_t(word), uint8_t(word >> 8), uint8_t(word >> 16), uint8_t(word >> 24)};
        IDirectDrawPalette* palette = nullptr;
        const uint32_t flags = DDPCAPS_8BIT | DDPCAPS_ALLOW256 | (c.alphaPalette ? DDPCAPS_ALPHA : 0u);
        ASSERT_EQ(scene.dd->CreatePalette(flags, entries, &palette, nullptr), DD_OK);
        ASSERT_EQ(texture->SetPalette(palette), DD_OK);
        ASSERT_EQ(scene.DrawScene(D3DPT_POINTLIST, point), DD_OK);
        EXPECT_EQ(scene.Pixel(1, 0), 0x0000FFu);
        ShowTextureAlpha(scene);
        ASSERT_EQ(scene.DrawScene(D3DPT_POINTLIST, point), DD_OK);
        EXPECT_EQ(scene.Pixel(1, 0), c.alpha * 0x010101u);
        palette->Release();
        texture->Release();
    }
}

TEST_F(D3DTexturingTest, AddressingWrapsMirrorsClampsOrTakesTheBorder)
{
    const std::vector<uint32_t> texels = {0xFF000010, 0xFF000020, 0xFF000030, 0xFF000040};
    struct Case {
        uint32_t mode;
        uint32_t before; // u = -0.25: texel -1
        uint32_t after;  // u = 1.25: texel 5
    };
    for (const Case c : {Case{D3DTADDRESS_WRAP, 0x40, 0x20}, Case{D3DTADDRESS_MIRROR, 0x10, 0x30},
                         Case{D3DTADDRESS_CLAMP, 0x10, 0x40}, Case{D3DTADDRESS_BORDER, 0x123456, 0x123456}}) {
        SCOPED_TRACE(c.mode);
        DeviceOn scene(2, 1);
        IDirectDrawSurface7* texture = MakeTexture(scene.dd.dd, 4, 1, DDrawFormat::A8R8G8B8);
        WritePixels(texture, texels);
        ShowTexture(scene);
        scene.SetStageStates(0, {{D3DTSS_ADDRESSU, c.mode}, {D3DTSS_BORDERCOLOR, 0xFF123456}});
        ASSERT_EQ(scene->SetTexture(0, texture), DD_OK);
        ASSERT_EQ(scene.DrawScene(D3DPT_POINTLIST, {{0, 0, 0, 1, 0xFFFFFFFF, 0, -0.25f, 0.5f},
                                                    {1, 0, 0, 1, 0xFFFFFFFF, 0, 1.25f, 0.5f}}),
                  DD_OK);
        EXPECT_EQ(scene.Pixel(0, 0), c.before);
        EXPECT_EQ(scene.Pixel(1, 0), c.after);
        texture->Release();
    }
}

TEST_F(D3DTexturingTest, LinearSamplingWeighsFourTexelsInFixedPoint)
{
    // A 2 x 2 texture; the sample lies at (u W - 1/2, v H - 1/2) = (0.3, 0.6),
    // which is (77/256, 154/256) after rounding.
    const uint32_t c00 = 0xFF102030, c10 = 0xFFF0E0D0, c01 = 0xFF00FF00, c11 = 0xFF805020;
    DeviceOn scene(1, 1);
    IDirectDrawSurface7* texture = MakeTexture(scene.dd.dd, 2, 2, DDrawFormat::A8R8G8B8);
    WritePixels(texture, {c00, c10, c01, c11});
    ShowTexture(scene);
    scene.SetStageStates(0, {{D3DTSS_MAGFILTER, D3DTFG_LINEAR}, {D3DTSS_ADDRESS, D3DTADDRESS_CLAMP}});
    ASSERT_EQ(scene->SetTexture(0, texture), DD_OK);
    ASSERT_EQ(scene.DrawScene(D3DPT_POINTLIST, {{0, 0, 0, 1, 0xFFFFFFFF, 0, 0.4f, 0.55f}}), DD_OK);
    const uint32_t fx = 77, fy = 154;
    uint32_t expected = 0;
    for (int shift : {0, 8, 16}) {
        const auto ch = [&](uint32_t c) { return (c >> shift) & 0xFF; };
        const uint32_t sum = ch(c00) * (256 - fx) * (256 - fy) + ch(c10) * fx * (256 - fy) +
                             ch(c01) * (256 - fx) * fy + ch(c11) * fx * fy;
        expected |= ((sum + 32768) >> 16) << shift;
    }
    EXPECT_EQ(scene.Pixel(0, 0), expected);
    texture->Release();
}

TEST_F(D3DTexturingTest, TheMinificationFilterActsWhenAPixelCoversSeveralTexels)
{
    // Eight texels of alternating black and blue squeezed onto four pixels.
    std::vector<uint32_t> texels;
    for (int i = 0; i < 8; ++i)
        texels.push_back(i % 2 ? 0xFF0000FFu : 0xFF000000u);
    for (const bool linearMinify : {false, true}) {
        SCOPED_TRACE(linearMinify);
        DeviceOn scene(4, 1);
        IDirectDrawSurface7* texture = MakeTexture(scene.dd.dd, 8, 1, DDrawFormat::A8R8G8B8);
        WritePixels(texture, texels);
        ShowTexture(scene);
        scene.SetStageStates(0, {{D3DTSS_MAGFILTER, D3DTFG_POINT},
                                 {D3DTSS_MINFILTER, linearMinify ? D3DTFN_LINEAR : D3DTFN_POINT},
                                 {D3DTSS_MIPFILTER, D3DTFP_LINEAR}});
        ASSERT_EQ(scene->SetTexture(0, texture), DD_OK);
        ASSERT_EQ(scene.DrawScene(D3DPT_TRIANGLESTRIP, Quad(-0.5f, -0.5f, 3.5f, 0.5f)), DD_OK);
        for (uint32_t x = 0; x < 4; ++x) {
            // Pixel x samples at texel position 2x + 1: point takes blue, linear the mean of texels 2x, 2x + 1.
            EXPECT_EQ(scene.Pixel(x, 0), linearMinify ? 0x80u : 0xFFu) << x;
        }
        texture->Release();
    }
}

TEST_F(D3DTexturingTest, UnknownFiltersAndAddressModesFailTheDraw)
{
    struct Case {
        uint32_t state;
        uint32_t value;
        HRESULT expected;
    };
    for (const Case c : {Case{D3DTSS_MAGFILTER, 3, D3DERR_UNSUPPORTEDTEXTUREFILTER},
                         Case{D3DTSS_MINFILTER, 0, D3DERR_UNSUPPORTEDTEXTUREFILTER},
                         Case{D3DTSS_MIPFILTER, 4, D3DERR_UNSUPPORTEDTEXTUREFILTER},
                         Case{D3DTSS_ADDRESSU, 5, DDERR_INVALIDPARAMS}, Case{D3DTSS_MIPFILTER, D3DTFP_POINT, DD_OK}}) {
        SCOPED_TRACE(c.state);
        DeviceOn scene(2, 2);
        IDirectDrawSurface7* texture = MakeTexture(scene.dd.dd, 2, 2, DDrawFormat::A8R8G8B8);
        WritePixels(texture, std::vector<uint32_t>(4, 0xFFFFFFFF));
        ShowTexture(scene);
        ASSERT_EQ(scene->SetTexture(0, texture), DD_OK);
        scene.SetStageStates(0, {{c.state, c.value}});
        EXPECT_EQ(scene.DrawScene(D3DPT_TRIANGLESTRIP, Quad(-0.5f, -0.5f, 1.5f, 1.5f)), c.expected);
        EXPECT_EQ(scene.Pixel(1, 1), c.expected == DD_OK ? 0xFFFFFFu : 0u);
        texture->Release();
    }
}

} // namespace
