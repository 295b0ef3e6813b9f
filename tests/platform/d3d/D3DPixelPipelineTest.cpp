// The device's colour arithmetic: the frame-buffer blends on 16- and 32-bit
// targets against the formula, the texture stages of the display's mode 4,
// the specular sum, and the refusal of operations and factors it lacks.
#include "platform/d3d/D3DTestSupport.h"

namespace {

using namespace D3DTest;

class D3DPixelPipelineTest : public D3DFixture {
protected:
    // The display's untextured draw: diffuse colour and alpha.
    static void DiffuseOnly(DeviceOn& scene)
    {
        scene.SetStates({{D3DRENDERSTATE_CULLMODE, D3DCULL_NONE}});
        scene.SetStageStates(0, {{D3DTSS_COLOROP, D3DTOP_SELECTARG1}, {D3DTSS_COLORARG1, D3DTA_DIFFUSE},
                                 {D3DTSS_ALPHAOP, D3DTOP_SELECTARG1}, {D3DTSS_ALPHAARG1, D3DTA_DIFFUSE}});
    }
    // One pixel: clear to `background`, draw `colour` over it.
    static uint32_t DrawOver(DeviceOn& scene, uint32_t background, uint32_t colour)
    {
        EXPECT_EQ(scene.DrawScene(D3DPT_POINTLIST, {{0, 0, 0, 1, colour}}, background), DD_OK);
        return scene.Pixel(0, 0);
    }
};

// Widening by bit repetition and narrowing to the top bits, per field width.
uint32_t Widen(uint32_t value, int bits)
{
    return bits == 5 ? (value << 3) | (value >> 2) : bits == 6 ? (value << 2) | (value >> 4) : value;
}

struct TargetCase {
    DDrawFormat format;
    int redBits, greenBits, blueBits;
    int redShift, greenShift, blueShift;
};

uint32_t Store(const TargetCase& t, uint32_t r, uint32_t g, uint32_t b)
{
    return ((r >> (8 - t.redBits)) << t.redShift) | ((g >> (8 - t.greenBits)) << t.greenShift) |
           ((b >> (8 - t.blueBits)) << t.blueShift);
}

TEST_F(D3DPixelPipelineTest, BlendsFollowTheFormulaOn16And32BitTargets)
{
    const TargetCase targets[] = {{DDrawFormat::X8R8G8B8, 8, 8, 8, 16, 8, 0}, {DDrawFormat::R5G6B5, 5, 6, 5, 11, 5, 0}};
    struct BlendCase {
        const char* name;
        bool enabled;
        uint32_t source, dest;
    };
    const BlendCase blends[] = {{"SRCALPHA, INVSRCALPHA", true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
                                {"ONE, ONE", true, D3DBLEND_ONE, D3DBLEND_ONE},
                                {"SRCALPHA, ONE", true, D3DBLEND_SRCALPHA, D3DBLEND_ONE},
                                {"off", false, D3DBLEND_SRCALPHA, D3DBLEND_ONE}};
    const std::pair<uint32_t, uint32_t> colours[] = {
        {0xFF336699, 0x80FF0000}, {0xFFFFFFFF, 0xFFFFFFFF}, {0xFF808080, 0x40C0C0C0}, {0xFF0A141E, 0x01F0E0D0}};
    for (const TargetCase& t : targets) {
        for (const BlendCase& b : blends) {
            for (const auto& [background, colour] : colours) {
                SCOPED_TRACE(std::string(b.name) + " on format " + std::to_string(int(t.format)) + " colour " +
                             std::to_string(colour));
                DeviceOn scene(1, 1, t.format);
                DiffuseOnly(scene);
                scene.SetStates({{D3DRENDERSTATE_ALPHABLENDENABLE, b.enabled ? 1u : 0u},
                                 {D3DRENDERSTATE_SRCBLEND, b.source},
                                 {D3DRENDERSTATE_DESTBLEND, b.dest}});
                const uint32_t seen = DrawOver(scene, background, colour);
                const uint32_t alpha = colour >> 24;
                const int bits[3] = {t.blueBits, t.greenBits, t.redBits};
                uint32_t channels[3];
                for (int i = 0; i < 3; ++i) {
                    const uint32_t s = (colour >> (8 * i)) & 0xFF;
                    // The target keeps the cleared colour's top bits and reads them back widened.
                    const uint32_t d = Widen(((background >> (8 * i)) & 0xFF) >> (8 - bits[i]), bits[i]);
                    const uint32_t fs = b.source == D3DBLEND_ONE ? 255 : alpha;
                    const uint32_t fd = b.dest == D3DBLEND_ONE ? 255 : 255 - alpha;
                    channels[i] = b.enabled ? std::min<uint32_t>(255, (s * fs + d * fd + 127) / 255) : s;
                }
                EXPECT_EQ(seen, Store(t, channels[2], channels[1], channels[0]));
            }
        }
    }
}

TEST_F(D3DPixelPipelineTest, TheDotProductAndTheComplementOfTheDisplaysModeFour)
{
    DeviceOn scene(1, 1);
    scene.SetStates({{D3DRENDERSTATE_TEXTUREFACTOR, 0xFFFF8080}});
    // Stage 0: (255, 128, 128) . (255, 128, 128) = (255^2 + 1 + 1) / 255, which is 255 in every channel.
    scene.SetStageStates(0, {{D3DTSS_COLOROP, D3DTOP_DOTPRODUCT3}, {D3DTSS_COLORARG1, D3DTA_TFACTOR},
                             {D3DTSS_COLORARG2, D3DTA_DIFFUSE}});
    EXPECT_EQ(DrawOver(scene, 0, 0xFFFF8080), 0xFFFFFFu);
    // Opposite vectors clamp to 0.
    EXPECT_EQ(DrawOver(scene, 0xFF123456, 0xFF000000 | 0x01FFFF), 0u);
    // (200, 100, 50) . (255, 128, 128): (145 * 255 + (-55) * 1 + (-155) * 1) / 255 = 144.
    EXPECT_EQ(DrawOver(scene, 0, 0xFFC86432), 144u * 0x010101u);

    // Stage 1 takes the complement of what stage 0 made.
    scene.SetStageStates(0, {{D3DTSS_COLOROP, D3DTOP_SELECTARG1}, {D3DTSS_COLORARG1, D3DTA_DIFFUSE}});
    scene.SetStageStates(1, {{D3DTSS_COLOROP, D3DTOP_SELECTARG1}, {D3DTSS_COLORARG1, D3DTA_CURRENT | D3DTA_COMPLEMENT}});
    EXPECT_EQ(DrawOver(scene, 0, 0xFF102030), 0xEFDFCFu);
    // The display's stage 1: MODULATE of (1 - current) and diffuse.
    scene.SetStageStates(1, {{D3DTSS_COLOROP, D3DTOP_MODULATE}, {D3DTSS_COLORARG2, D3DTA_DIFFUSE}});
    const uint32_t c = 0xFF4080C0;
    const auto modulate = [](uint32_t a, uint32_t b) { return (a * b + 127) / 255; };
    EXPECT_EQ(DrawOver(scene, 0, c), (modulate(255 - 0x40, 0x40) << 16) | (modulate(255 - 0x80, 0x80) << 8) |
                                         modulate(255 - 0xC0, 0xC0));
    // Stage 2 off again ends the stages: a DISABLE on stage 1 leaves stage 0's colour.
    scene.SetStageStates(1, {{D3DTSS_COLOROP, D3DTOP_DISABLE}});
    EXPECT_EQ(DrawOver(scene, 0, c), 0x4080C0u);
}

TEST_F(D3DPixelPipelineTest, SpecularIsAddedAfterTheStagesSaturating)
{
    DeviceOn scene(1, 1);
    scene.SetStageStates(0, {{D3DTSS_COLOROP, D3DTOP_SELECTARG1}, {D3DTSS_COLORARG1, D3DTA_DIFFUSE}});
    const std::vector<TLVertex> point = {{0, 0, 0, 1, 0xFF80C010, 0x00A0A0A0}};
    ASSERT_EQ(scene.DrawScene(D3DPT_POINTLIST, point), DD_OK);
    EXPECT_EQ(scene.Pixel(0, 0), 0x80C010u);
    scene.SetStates({{D3DRENDERSTATE_SPECULARENABLE, 1}});
    ASSERT_EQ(scene.DrawScene(D3DPT_POINTLIST, point), DD_OK);
    EXPECT_EQ(scene.Pixel(0, 0), 0xFFFFB0u);
}

TEST_F(D3DPixelPipelineTest, OperationsArgumentsAndFactorsItLacksFailTheDraw)
{
    struct Case {
        const char* name;
        uint32_t stage, state, value;
        bool renderState;
        HRESULT expected;
    };
    const Case cases[] = {
        {"colour ADD", 0, D3DTSS_COLOROP, D3DTOP_ADD, false, D3DERR_UNSUPPORTEDCOLOROPERATION},
        {"alpha ADD", 0, D3DTSS_ALPHAOP, D3DTOP_ADD, false, D3DERR_UNSUPPORTEDALPHAOPERATION},
        {"colour op 0", 0, D3DTSS_COLOROP, 0, false, D3DERR_UNSUPPORTEDCOLOROPERATION},
        {"argument 5", 0, D3DTSS_COLORARG1, 5, false, D3DERR_UNSUPPORTEDCOLORARG},
        {"alpha argument 0x40", 0, D3DTSS_ALPHAARG1, 0x40 | D3DTA_TEXTURE, false, D3DERR_UNSUPPORTEDALPHAARG},
        {"stage 2 after a disabled stage 1", 2, D3DTSS_COLOROP, D3DTOP_ADD, false, DD_OK},
        {"source factor 11", 0, D3DRENDERSTATE_SRCBLEND, 11, true, D3DERR_UNSUPPORTEDFACTORVALUE},
        {"destination factor 0", 0, D3DRENDERSTATE_DESTBLEND, 0, true, D3DERR_UNSUPPORTEDFACTORVALUE},
        {"cull mode 4", 0, D3DRENDERSTATE_CULLMODE, 4, true, DDERR_INVALIDPARAMS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceOn scene(2, 2);
        scene.SetStates({{D3DRENDERSTATE_ALPHABLENDENABLE, 1}, {D3DRENDERSTATE_CULLMODE, D3DCULL_NONE}});
        if (c.renderState)
            scene.SetStates({{c.state, c.value}});
        else
            scene.SetStageStates(c.stage, {{c.state, c.value}});
        EXPECT_EQ(scene.DrawScene(D3DPT_TRIANGLESTRIP, Quad(-0.5f, -0.5f, 1.5f, 1.5f)), c.expected);
        EXPECT_EQ(scene.Pixel(0, 0), c.expected == DD_OK ? 0xFFFFFFu : 0u);
    }
    // Without blending the factors are not looked at.
    DeviceOn scene(2, 2);
    scene.SetStates({{D3DRENDERSTATE_SRCBLEND, 11}, {D3DRENDERSTATE_CULLMODE, D3DCULL_NONE}});
    EXPECT_EQ(scene.DrawScene(D3DPT_TRIANGLESTRIP, Quad(-0.5f, -0.5f, 1.5f, 1.5f)), DD_OK);
}

} // namespace
