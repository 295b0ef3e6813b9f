// The five render scenes of the display's Direct3D capability test, driven on
// the device exactly as that test sets them up, on every target format the
// display may run in and with both texture formats the test may choose.
#include "platform/d3d/D3DTestSupport.h"

#include <string>

namespace {

using namespace D3DTest;

struct SceneCase {
    const char* name;
    uint32_t sourceBlend;
    uint32_t destBlend;
    bool modulateAlpha;
    uint32_t firstFill, firstColour;
    uint32_t secondFill, secondColour;
    uint32_t expected;
};

const SceneCase kScenes[] = {
    {"alpha", D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, false, 0xFF0000FF, 0xFFFFFFFF, 0x80FF0000, 0xFFFFFFFF,
     0x7F007F},
    {"additive", D3DBLEND_ONE, D3DBLEND_ONE, false, 0xFF404040, 0xFFFFFFFF, 0xFF404040, 0xFFFFFFFF, 0x808080},
    {"alpha add", D3DBLEND_SRCALPHA, D3DBLEND_ONE, false, 0xFF404040, 0xFFFFFFFF, 0x80808080, 0xFFFFFFFF, 0x808080},
    {"alpha modulated", D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, true, 0xFF0000FF, 0xFFFFFFFF, 0xFFFF0000,
     0x80FFFFFF, 0x7F007F},
};

const DDrawFormat kTargets[] = {DDrawFormat::X8R8G8B8, DDrawFormat::R5G6B5, DDrawFormat::X1R5G5B5,
                                DDrawFormat::BGR565};

// The test's upload: words as they are, or each channel's top four bits.
std::vector<uint32_t> Upload(const std::vector<uint32_t>& argb, DDrawFormat texture)
{
    if (texture == DDrawFormat::A8R8G8B8)
        return argb;
    std::vector<uint32_t> packed;
    for (uint32_t c : argb)
        packed.push_back(((c >> 28) << 12) | (((c >> 20) & 0xF) << 8) | (((c >> 12) & 0xF) << 4) | ((c >> 4) & 0xF));
    return packed;
}

class CapabilityScene : public D3DFixture {
protected:
    // The test's preparation: a 100 x 100 render surface cleared to opaque
    // black in a scene, with blending on and culling off.
    void Prepare(DeviceOn& scene, uint32_t sourceBlend, uint32_t destBlend)
    {
        ASSERT_EQ(scene->BeginScene(), DD_OK);
        ASSERT_EQ(scene->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), DD_OK);
        scene.SetStates({{D3DRENDERSTATE_ALPHABLENDENABLE, 1},
                         {D3DRENDERSTATE_SRCBLEND, sourceBlend},
                         {D3DRENDERSTATE_DESTBLEND, destBlend},
                         {D3DRENDERSTATE_CULLMODE, D3DCULL_NONE}});
    }
    // The test's tile: the texture filled, a strip of four vertices at
    // (x - 0.5, y - 0.5) .. (x + 63.5, y + 63.5), the texture unset again.
    void DrawTile(DeviceOn& scene, IDirectDrawSurface7* texture, DDrawFormat format,
                  const std::vector<uint32_t>& argb, float x, float y, uint32_t colour)
    {
        WritePixels(texture, Upload(argb, format));
        ASSERT_EQ(scene->SetTexture(0, texture), DD_OK);
        ASSERT_EQ(scene.Draw(D3DPT_TRIANGLESTRIP, Quad(x - 0.5f, y - 0.5f, x + 63.5f, y + 63.5f, colour)), DD_OK);
        ASSERT_EQ(scene->SetTexture(0, nullptr), DD_OK);
    }
};

TEST_F(CapabilityScene, EveryBlendSceneGivesItsColourUniformlyOnEveryTarget)
{
    for (const DDrawFormat textureFormat : {DDrawFormat::A8R8G8B8, DDrawFormat::A4R4G4B4}) {
        for (const DDrawFormat targetFormat : kTargets) {
            for (const SceneCase& c : kScenes) {
                SCOPED_TRACE(std::string(c.name) + " target " + std::to_string(int(targetFormat)) + " texture " +
                             std::to_string(int(textureFormat)));
                DeviceOn scene(100, 100, targetFormat);
                IDirectDrawSurface7* texture = MakeTexture(scene.dd.dd, 64, 64, textureFormat);
                Prepare(scene, c.sourceBlend, c.destBlend);
                if (c.modulateAlpha)
                    scene.SetStageStates(0, {{D3DTSS_ALPHAOP, D3DTOP_MODULATE}});
                DrawTile(scene, texture, textureFormat, std::vector<uint32_t>(64 * 64, c.firstFill), 0, 0,
                         c.firstColour);
                DrawTile(scene, texture, textureFormat, std::vector<uint32_t>(64 * 64, c.secondFill), 0, 0,
                         c.secondColour);
                ASSERT_EQ(scene->EndScene(), DD_OK);

                const std::vector<uint32_t> pixels = scene.Pixels();
                const uint32_t first = ReadBack(pixels[0], targetFormat);
                for (uint32_t y = 0; y < 10; ++y) {
                    for (uint32_t x = 0; x < 10; ++x) {
                        const uint32_t seen = ReadBack(pixels[y * 100 + x], targetFormat);
                        EXPECT_LE(Distance2(seen, c.expected), 768) << x << "," << y << " " << std::hex << seen;
                        EXPECT_EQ(seen, first) << x << "," << y;
                    }
                }
                // Exact on the 32-bit target with 32-bit textures.
                if (targetFormat == DDrawFormat::X8R8G8B8 && textureFormat == DDrawFormat::A8R8G8B8) {
                    if (std::string(c.name) == "alpha") {
                        EXPECT_EQ(pixels[0] & 0xFFFFFF, 0x80007Fu);
                    }
                    if (std::string(c.name) == "additive") {
                        EXPECT_EQ(pixels[0] & 0xFFFFFF, 0x808080u);
                    }
                }
                // The second tile ends at pixel 63: pixel 64 keeps the clear colour.
                EXPECT_EQ(ReadBack(pixels[64], targetFormat), 0xFF000000u);
                EXPECT_EQ(ReadBack(pixels[64 * 100], targetFormat), 0xFF000000u);
                texture->Release();
            }
        }
    }
}

TEST_F(CapabilityScene, StripesCutByTheTopAndLeftEdgesKeepTheirColumns)
{
    std::vector<uint32_t> stripes(64 * 64);
    for (uint32_t y = 0; y < 64; ++y)
        for (uint32_t x = 0; x < 64; ++x)
            stripes[y * 64 + x] = (x % 2 == 1) ? 0xFFFFFFFFu : 0xFF000000u;
    for (const DDrawFormat textureFormat : {DDrawFormat::A8R8G8B8, DDrawFormat::A4R4G4B4}) {
        for (const DDrawFormat targetFormat : kTargets) {
            SCOPED_TRACE("target " + std::to_string(int(targetFormat)) + " texture " +
                         std::to_string(int(textureFormat)));
            DeviceOn scene(100, 100, targetFormat);
            IDirectDrawSurface7* texture = MakeTexture(scene.dd.dd, 64, 64, textureFormat);
            Prepare(scene, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
            DrawTile(scene, texture, textureFormat, stripes, -2, -2, 0xFFFFFFFF);
            ASSERT_EQ(scene->EndScene(), DD_OK);
            const std::vector<uint32_t> pixels = scene.Pixels();
            int errors = 0;
            for (uint32_t y = 0; y < 62; ++y) {
                for (uint32_t x = 0; x < 62; ++x) {
                    const uint32_t expected = (x % 2 == 1) ? 0xFFFFFFFFu : 0xFF000000u;
                    const uint32_t seen = ReadBack(pixels[y * 100 + x], targetFormat);
                    if (targetFormat == DDrawFormat::X8R8G8B8)
                        errors += seen != expected;
                    else
                        errors += Distance2(seen, expected) > 768;
                }
            }
            EXPECT_EQ(errors, 0);
            // Nothing beyond the tile's last column and row.
            EXPECT_EQ(ReadBack(pixels[62], targetFormat), 0xFF000000u);
            EXPECT_EQ(ReadBack(pixels[62 * 100 + 1], targetFormat), 0xFF000000u);
            texture->Release();
        }
    }
}

} // namespace
