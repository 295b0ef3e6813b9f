#include "graphics/display/D3DTestSupport.h"
#include "graphics/types/Color.h"
#include "graphics/types/Matrix3x3.h"
#include "graphics/types/Point.h"
#include "graphics/types/Rect.h"
#include "graphics/types/TriVertex.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <tuple>

namespace {

using namespace Platform;
using namespace Tandry;
using DisplayTest::CallsOf;
using DisplayTest::MakeImage;
using DisplayTest::VerticesOf;

// A device state change: render state (stage -1) or texture-stage state.
using StateSet = std::tuple<int, uint32_t, uint32_t>;

std::vector<StateSet> StatesOf(const std::vector<DDrawCall>& log)
{
    std::vector<StateSet> states;
    for (const DDrawCall& call : log) {
        if (call.op == DDrawOp::SetRenderState)
            states.emplace_back(-1, *call.state, *call.value);
        else if (call.op == DDrawOp::SetTextureStageState)
            states.emplace_back(static_cast<int>(*call.stage), *call.state, *call.value);
    }
    return states;
}

class D3DDrawing : public DisplayTest::D3DFixture {
protected:
    // A 300 x 100 image cut into 256 x 128 and 64 x 128 pieces.
    std::unique_ptr<MemoryImage> TwoPieceImage()
    {
        Restart();
        DDrawSettings settings = Settings();
        settings.maxTextureWidth = settings.maxTextureHeight = 256;
        SetSettings(settings);
        MakeDisplay();
        mDisplay->mIs3D = true;
        EXPECT_EQ(InitWindowed(), 0);
        auto image = MakeImage(300, 100, std::vector<uint32_t>(300 * 100, 0xFF808080u));
        EXPECT_TRUE(D3D().PrepareTextures(image.get()));
        return image;
    }
};

TEST_F(D3DDrawing, BltTexturesWalksThePieces)
{
    auto image = TwoPieceImage();
    ASSERT_TRUE(D3D().PreDraw());
    ClearLog();
    D3D().BltTextures(image->mTextureData, 10.0f, 20.0f, Rect(0, 0, 300, 100), Color(255, 255, 255, 128));
    const auto log = CallLog();
    const auto draws = CallsOf(log, DDrawOp::DrawPrimitive);
    ASSERT_EQ(draws.size(), 2u);
    const auto textures = CallsOf(log, DDrawOp::SetTexture);
    ASSERT_EQ(textures.size(), 2u);
    EXPECT_NE(textures[0].surface, nullptr);
    EXPECT_NE(textures[1].surface, nullptr);
    EXPECT_NE(textures[0].surface, textures[1].surface);
    struct Strip {
        float left, right, uEnd;
    };
    const Strip strips[] = {{9.5f, 265.5f, 1.0f}, {265.5f, 309.5f, 0.6875f}};
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(*draws[i].primitiveType, D3DPT_TRIANGLESTRIP);
        EXPECT_EQ(*draws[i].vertexFormat, 0x1C4u);
        const auto v = VerticesOf(draws[i]);
        ASSERT_EQ(v.size(), 4u);
        const float xs[] = {strips[i].left, strips[i].left, strips[i].right, strips[i].right};
        const float ys[] = {19.5f, 119.5f, 19.5f, 119.5f};
        const float us[] = {0.0f, 0.0f, strips[i].uEnd, strips[i].uEnd};
        const float vs[] = {0.0f, 0.78125f, 0.0f, 0.78125f};
        for (size_t k = 0; k < 4; ++k) {
            EXPECT_EQ(v[k].x, xs[k]) << i << "," << k;
            EXPECT_EQ(v[k].y, ys[k]) << i << "," << k;
            EXPECT_EQ(v[k].u, us[k]) << i << "," << k;
            EXPECT_EQ(v[k].v, vs[k]) << i << "," << k;
            EXPECT_EQ(v[k].color, 0x80FFFFFFu);
            EXPECT_EQ(v[k].z, 0.0f);
            EXPECT_EQ(v[k].rhw, 1.0f);
            EXPECT_EQ(v[k].specular, 0u);
        }
    }
}

TEST_F(D3DDrawing, CentredMatrixHasNoHalfPixelShift)
{
    auto image = MakeImage(50, 50, std::vector<uint32_t>(2500, 0xFF808080u));
    ASSERT_TRUE(D3D().PreDraw());
    ASSERT_TRUE(D3D().PrepareTextures(image.get()));
    ClearLog();
    Matrix3x3 identity;
    identity.LoadIdentity();
    D3D().DrawTexturesMatrix(identity, Color::White, image->mTextureData, Rect(0, 0, 50, 50), nullptr, 100.0f, 100.0f,
                             true);
    const auto draws = Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(*draws[0].primitiveType, D3DPT_TRIANGLESTRIP);
    const auto v = VerticesOf(draws[0]);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(std::make_pair(v[0].x, v[0].y), std::make_pair(75.0f, 75.0f));
    EXPECT_EQ(std::make_pair(v[3].x, v[3].y), std::make_pair(125.0f, 125.0f));
}

TEST_F(D3DDrawing, ClippedQuads)
{
    auto image = MakeImage(20, 20, std::vector<uint32_t>(400, 0xFF808080u));
    ASSERT_TRUE(D3D().PreDraw());
    ASSERT_TRUE(D3D().PrepareTextures(image.get()));
    const Rect clip(100, 100, 50, 50);
    struct Case {
        const char* name;
        float x, y;
        size_t draws;
        uint32_t type;
    };
    const Case cases[] = {
        {"inside", 110.0f, 110.0f, 1, D3DPT_TRIANGLESTRIP},
        {"across the left edge", 90.0f, 110.0f, 1, D3DPT_TRIANGLEFAN},
        {"across the bottom right corner", 140.0f, 140.0f, 1, D3DPT_TRIANGLEFAN},
        {"outside", 300.0f, 110.0f, 0, 0},
    };
    for (const Case& c : cases) {
        ClearLog();
        D3D().DrawTexturesMatrix(Matrix3x3::Translation(c.x, c.y), Color::White, image->mTextureData,
                                 Rect(0, 0, 20, 20), &clip, 0.0f, 0.0f, false);
        const auto draws = Draws();
        ASSERT_EQ(draws.size(), c.draws) << c.name;
        if (c.draws == 0)
            continue;
        EXPECT_EQ(*draws[0].primitiveType, c.type) << c.name;
        for (const D3DVertex& v : VerticesOf(draws[0])) {
            EXPECT_GE(v.x, 100.0f) << c.name;
            EXPECT_LE(v.x, 150.0f) << c.name;
            EXPECT_GE(v.y, 100.0f) << c.name;
            EXPECT_LE(v.y, 150.0f) << c.name;
        }
    }
}

std::vector<TriVertex> Triangles(int count, float x, float y, uint32_t color)
{
    std::vector<TriVertex> vertices;
    for (int i = 0; i < count; ++i) {
        vertices.push_back(TriVertex{x, y, 0.0f, 0.0f, color});
        vertices.push_back(TriVertex{x + 10.0f, y, 1.0f, 0.0f, color});
        vertices.push_back(TriVertex{x, y + 10.0f, 0.0f, 1.0f, color});
    }
    return vertices;
}

TEST_F(D3DDrawing, TrianglesOnOnePieceGoInBatchesOf100)
{
    auto image = MakeImage(100, 100, std::vector<uint32_t>(10000, 0xFF808080u));
    std::vector<TriVertex> triangles = Triangles(250, 10.0f, 10.0f, 0);
    triangles[3].color = triangles[4].color = triangles[5].color = 0x80112233u;
    ClearLog();
    D3D().BltTriangles(triangles.data(), 250, Color(1, 2, 3, 4), 0, image.get(), 5.0f, 6.0f, false, nullptr);
    const auto draws = Draws();
    ASSERT_EQ(draws.size(), 3u);
    const uint32_t counts[] = {300, 300, 150};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(*draws[i].primitiveType, D3DPT_TRIANGLELIST);
        EXPECT_EQ(*draws[i].count, counts[i]);
    }
    const auto v = VerticesOf(draws[0]);
    EXPECT_EQ(v[0].color, 0x04010203u);
    EXPECT_EQ(v[3].color, 0x80112233u);
    // Moved by (tx, ty) without a half-pixel shift; u and v scaled to the piece.
    EXPECT_EQ(v[1].x, 25.0f);
    EXPECT_EQ(v[1].y, 16.0f);
    EXPECT_EQ(v[1].u, 0.78125f);
    EXPECT_EQ(v[2].v, 0.78125f);
}

// Triangles crossing the clip arrive as fans inside it, in their order;
// those inside stay in their batch; the screen outside the clip is untouched.
TEST_F(D3DDrawing, TrianglesKeepInsideTheClip)
{
    for (bool onePiece : {true, false}) {
        if (!onePiece) {
            Restart();
            DDrawSettings settings = Settings();
            settings.maxTextureWidth = settings.maxTextureHeight = 16;
            SetSettings(settings);
            MakeDisplay();
            mDisplay->mIs3D = true;
            ASSERT_EQ(InitWindowed(), 0);
        }
        auto image = MakeImage(40, 40, std::vector<uint32_t>(1600, 0xFFFFFFFFu));
        const Rect clip(100, 100, 50, 50);
        std::vector<TriVertex> triangles = Triangles(1, 110.0f, 110.0f, 0); // inside
        for (const TriVertex& v : Triangles(1, 145.0f, 120.0f, 0))          // across the right edge
            triangles.push_back(v);
        for (const TriVertex& v : Triangles(1, 120.0f, 120.0f, 0)) // inside
            triangles.push_back(v);
        for (const TriVertex& v : Triangles(1, 300.0f, 300.0f, 0)) // outside
            triangles.push_back(v);
        const std::vector<uint32_t> before = ScreenPixels();
        ClearLog();
        D3D().BltTriangles(triangles.data(), 4, Color::White, 0, image.get(), 0.0f, 0.0f, false, &clip);
        const auto draws = Draws();
        if (onePiece) {
            ASSERT_EQ(draws.size(), 3u);
            EXPECT_EQ(*draws[0].primitiveType, D3DPT_TRIANGLELIST);
            EXPECT_EQ(*draws[0].count, 3u);
            EXPECT_EQ(*draws[1].primitiveType, D3DPT_TRIANGLEFAN);
            EXPECT_EQ(*draws[2].primitiveType, D3DPT_TRIANGLELIST);
            EXPECT_EQ(*draws[2].count, 3u);
        } else {
            ASSERT_GE(draws.size(), 3u);
        }
        for (const DDrawCall& draw : draws) {
            for (const D3DVertex& v : VerticesOf(draw)) {
                EXPECT_GE(v.x, 100.0f);
                EXPECT_LE(v.x, 150.0f);
                EXPECT_GE(v.y, 100.0f);
                EXPECT_LE(v.y, 150.0f);
                if (!onePiece) {
                    EXPECT_GE(v.u, 0.0f);
                    EXPECT_LE(v.u, 1.0f);
                }
            }
        }
        D3D().Flush();
        const std::vector<uint32_t> after = ScreenPixels();
        ASSERT_EQ(after.size(), before.size());
        int changedInside = 0;
        for (int y = 0; y < 768; ++y) {
            for (int x = 0; x < 1024; ++x) {
                const size_t i = static_cast<size_t>(y) * 1024 + static_cast<size_t>(x);
                if (clip.Contains(x, y))
                    changedInside += after[i] != before[i];
                else
                    ASSERT_EQ(after[i], before[i]) << x << "," << y;
            }
        }
        EXPECT_GT(changedInside, 0);
        image.reset();
    }
}

TEST_F(D3DDrawing, NonFiniteTrianglesDrawNothing)
{
    auto image = TwoPieceImage();
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        for (int field = 0; field < 4; ++field) {
            std::vector<TriVertex> triangle = Triangles(1, 10.0f, 10.0f, 0);
            float* fields[] = {&triangle[1].x, &triangle[1].y, &triangle[1].u, &triangle[1].v};
            *fields[field] = bad;
            ClearLog();
            D3D().BltTriangles(triangle.data(), 1, Color::White, 0, image.get(), 0.0f, 0.0f, false, nullptr);
            EXPECT_TRUE(Draws().empty()) << field;
        }
    }
}

TEST_F(D3DDrawing, PreDrawOpensTheSceneOncePerFrame)
{
    ClearLog();
    ASSERT_TRUE(D3D().PreDraw());
    const auto log = CallLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0].op, DDrawOp::SetRenderTarget);
    EXPECT_EQ(log[1].op, DDrawOp::BeginScene);
    const std::vector<StateSet> want{
        {-1, D3DRENDERSTATE_ALPHABLENDENABLE, 1},
        {-1, D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA},
        {-1, D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA},
        {-1, D3DRENDERSTATE_LIGHTING, 0},
        {0, D3DTSS_MINFILTER, 1},
        {0, D3DTSS_MAGFILTER, 1},
        {0, D3DTSS_MIPFILTER, 1},
        {0, D3DTSS_ALPHAOP, D3DTOP_MODULATE},
        {0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP},
        {0, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP},
        {-1, D3DRENDERSTATE_DITHERENABLE, 0},
        {-1, D3DRENDERSTATE_SPECULARENABLE, 0},
        {-1, D3DRENDERSTATE_ZWRITEENABLE, 0},
        {-1, D3DRENDERSTATE_ZENABLE, 0},
        {-1, D3DRENDERSTATE_CULLMODE, D3DCULL_NONE},
    };
    EXPECT_EQ(StatesOf(log), want);
    EXPECT_EQ(log.size(), 2 + want.size());
    EXPECT_FALSE(gLinearFilterOn);

    ClearLog();
    ASSERT_TRUE(D3D().PreDraw());
    EXPECT_TRUE(CallLog().empty());

    // Presenting closes the scene; the next frame opens another.
    ASSERT_TRUE(mDisplay->Redraw(nullptr));
    EXPECT_FALSE(D3D().mSceneBegun);
    ClearLog();
    ASSERT_TRUE(D3D().PreDraw());
    EXPECT_EQ(StatesOf(CallLog()), want);
}

TEST_F(D3DDrawing, PreDrawRefusals)
{
    mHost.minimized = true;
    ClearLog();
    EXPECT_FALSE(D3D().PreDraw());
    EXPECT_TRUE(CallLog().empty());
    mHost.minimized = false;

    Inject(DDrawFault(DDrawOp::SetRenderTarget, DDERR_SURFACELOST));
    EXPECT_FALSE(D3D().PreDraw());
    EXPECT_TRUE(gD3DSceneFailed);
    EXPECT_TRUE(gD3DErrorText.empty());
    EXPECT_TRUE(mHost.registryWrites.empty());
    EXPECT_FALSE(D3D().mSceneBegun);

    EXPECT_TRUE(D3D().PreDraw());
    EXPECT_FALSE(gD3DSceneFailed);
}

TEST_F(D3DDrawing, DrawModesSetExactlyTheirStates)
{
    const auto common = [](uint32_t dest, uint32_t arg1) {
        return std::vector<StateSet>{{-1, D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA},
                                     {-1, D3DRENDERSTATE_DESTBLEND, dest},
                                     {0, D3DTSS_COLOROP, D3DTOP_MODULATE},
                                     {0, D3DTSS_COLORARG1, arg1},
                                     {0, D3DTSS_COLORARG2, D3DTA_DIFFUSE},
                                     {1, D3DTSS_COLOROP, D3DTOP_DISABLE},
                                     {1, D3DTSS_ALPHAOP, D3DTOP_DISABLE}};
    };
    const std::vector<StateSet> mode4{{-1, D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA},
                                      {-1, D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA},
                                      {-1, D3DRENDERSTATE_TEXTUREFACTOR, 0x55167C},
                                      {0, D3DTSS_COLOROP, D3DTOP_DOTPRODUCT3},
                                      {0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
                                      {0, D3DTSS_COLORARG2, D3DTA_TFACTOR},
                                      {1, D3DTSS_COLOROP, D3DTOP_MODULATE},
                                      {1, D3DTSS_COLORARG1, D3DTA_CURRENT | D3DTA_COMPLEMENT},
                                      {1, D3DTSS_COLORARG2, D3DTA_DIFFUSE},
                                      {1, D3DTSS_ALPHAOP, D3DTOP_MODULATE},
                                      {1, D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
                                      {1, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE}};
    const std::pair<int, std::vector<StateSet>> cases[] = {
        {0, common(D3DBLEND_INVSRCALPHA, D3DTA_TEXTURE)},
        {1, common(D3DBLEND_ONE, D3DTA_TEXTURE)},
        {2, common(D3DBLEND_INVSRCALPHA, D3DTA_DIFFUSE)},
        {3, common(D3DBLEND_ONE, D3DTA_DIFFUSE)},
        {7, common(D3DBLEND_ONE, D3DTA_DIFFUSE)},
        {-1, common(D3DBLEND_ONE, D3DTA_DIFFUSE)},
        {4, mode4},
    };
    for (const auto& [mode, want] : cases) {
        ClearLog();
        D3D().SetDrawMode(mode);
        EXPECT_EQ(StatesOf(CallLog()), want) << "mode " << mode;
        EXPECT_EQ(CallLog().size(), want.size()) << "mode " << mode;
    }
}

TEST_F(D3DDrawing, LinearFilterSkipsRedundantChanges)
{
    ASSERT_TRUE(D3D().PreDraw());
    ClearLog();
    D3D().SetLinearFilter(false);
    EXPECT_TRUE(CallLog().empty());
    D3D().SetLinearFilter(true);
    EXPECT_EQ(StatesOf(CallLog()),
              (std::vector<StateSet>{{0, D3DTSS_MINFILTER, 2}, {0, D3DTSS_MAGFILTER, 2}, {0, D3DTSS_MIPFILTER, 2}}));
    EXPECT_TRUE(gLinearFilterOn);
    ClearLog();
    D3D().SetLinearFilter(true);
    EXPECT_TRUE(CallLog().empty());
    D3D().SetLinearFilter(false);
    EXPECT_EQ(StatesOf(CallLog()),
              (std::vector<StateSet>{{0, D3DTSS_MINFILTER, 1}, {0, D3DTSS_MAGFILTER, 1}, {0, D3DTSS_MIPFILTER, 1}}));

    Inject(DDrawFault(DDrawOp::SetTextureStageState, DDERR_INVALIDPARAMS));
    D3D().SetLinearFilter(true);
    EXPECT_EQ(gD3DErrorText, "SetTextureStageState LINEAR: DDERR_INVALIDPARAMS");
}

TEST_F(D3DDrawing, AFailedDrawLeaves3DAtTheNextRedraw)
{
    auto image = MakeImage(10, 10, std::vector<uint32_t>(100, 0xFF808080u));
    Inject(DDrawFault(DDrawOp::DrawPrimitive, DDERR_SURFACELOST));
    Screen().Blt(image.get(), 5, 5, Rect(0, 0, 10, 10), Color(255, 255, 255, 128), 0);
    EXPECT_EQ(gD3DErrorText, "DrawPrimitive (Tri) 1: DDERR_SURFACELOST");
    ASSERT_EQ(mHost.registryWrites.size(), 1u);
    EXPECT_EQ(mHost.registryWrites[0], std::make_pair(std::string("Test3D\\RuntimeError"),
                                                      std::string("DrawPrimitive (Tri) 1: DDERR_SURFACELOST")));
    EXPECT_FALSE(mDisplay->Redraw(nullptr));
    EXPECT_FALSE(mDisplay->mIs3D);
}

TEST_F(D3DDrawing, UntexturedPrimitives)
{
    const Point two[] = {{0, 0}, {10, 10}};
    ClearLog();
    D3D().FillPoly(two, 2, nullptr, Color::White, 0, 0, 0);
    EXPECT_TRUE(Draws().empty());

    const Point triangle[] = {{0, 0}, {40, 0}, {0, 40}};
    const Rect clip(10, 0, 100, 100);
    struct Case {
        const char* name;
        std::function<void()> draw;
        uint32_t type;
        std::vector<std::pair<float, float>> vertices;
    };
    const Case cases[] = {
        {"FillRect",
         [&] { D3D().FillRect(Rect(10, 20, 30, 40), Color(255, 0, 0, 255), 0); },
         D3DPT_TRIANGLESTRIP,
         {{9.5f, 19.5f}, {9.5f, 59.5f}, {39.5f, 19.5f}, {39.5f, 59.5f}}},
        {"DrawLine",
         [&] { D3D().DrawLine(Color(255, 0, 0, 255), 0, 1.0, 2.0, 30.0, 40.0); },
         D3DPT_LINESTRIP,
         {{1.0f, 2.0f}, {30.0f, 40.0f}, {30.5f, 40.5f}}},
        {"FillPoly",
         [&] { D3D().FillPoly(triangle, 3, nullptr, Color(255, 0, 0, 255), 0, 5, 6); },
         D3DPT_TRIANGLEFAN,
         {{5.0f, 6.0f}, {45.0f, 6.0f}, {5.0f, 46.0f}}},
        {"FillPoly clipped",
         [&] { D3D().FillPoly(triangle, 3, &clip, Color(255, 0, 0, 255), 0, 0, 0); },
         D3DPT_TRIANGLEFAN,
         {{10.0f, 0.0f}, {40.0f, 0.0f}, {10.0f, 30.0f}}},
    };
    for (const Case& c : cases) {
        ClearLog();
        c.draw();
        const auto log = CallLog();
        const auto textures = CallsOf(log, DDrawOp::SetTexture);
        ASSERT_EQ(textures.size(), 1u) << c.name;
        EXPECT_EQ(textures[0].surface, nullptr) << c.name;
        const auto draws = CallsOf(log, DDrawOp::DrawPrimitive);
        ASSERT_EQ(draws.size(), 1u) << c.name;
        EXPECT_EQ(*draws[0].primitiveType, c.type) << c.name;
        const auto v = VerticesOf(draws[0]);
        ASSERT_EQ(v.size(), c.vertices.size()) << c.name;
        for (size_t i = 0; i < v.size(); ++i) {
            EXPECT_EQ(std::make_pair(v[i].x, v[i].y), c.vertices[i]) << c.name << " " << i;
            EXPECT_EQ(v[i].color, 0xFFFF0000u) << c.name;
            EXPECT_EQ(v[i].u, 0.0f) << c.name;
        }
    }
}

TEST_F(D3DDrawing, ColoursAreClampedBeforePacking)
{
    ClearLog();
    D3D().FillRect(Rect(0, 0, 2, 2), Color(300, -5, 128, 1000), 0);
    const auto draws = Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(VerticesOf(draws[0])[0].color, 0xFFFF0080u);
}

} // namespace
