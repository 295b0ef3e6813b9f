#include "graphics/display/D3DTestSupport.h"
#include "graphics/display/DisplayResult.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

#include <gtest/gtest.h>

namespace {

using namespace Platform;
using DisplayTest::CallsOf;
using Tandry::gD3DErrorText;

class D3DSetUp : public DisplayTest::DisplayFixture {
protected:
    int Init3D()
    {
        MakeDisplay();
        mDisplay->mIs3D = true;
        return InitWindowed();
    }
};

TEST_F(D3DSetUp, WindowedInitBindsTheDeviceToTheDrawSurface)
{
    ASSERT_EQ(Init3D(), 0) << mDisplay->mErrorText;
    const Tandry::D3DInterface& d3d = *mDisplay->mD3DInterface;
    ASSERT_NE(d3d.mDevice, nullptr);
    EXPECT_TRUE(gD3DErrorText.empty());
    EXPECT_EQ(d3d.mWidth, 1024);
    EXPECT_EQ(d3d.mHeight, 768);
    EXPECT_TRUE(d3d.mIsWindowed);
    EXPECT_FALSE(Tandry::gLinearFilterOn);
    EXPECT_EQ(Tandry::gTextureFormats, 15);

    const auto log = CallLog();
    const auto devices = CallsOf(log, DDrawOp::CreateDevice);
    ASSERT_EQ(devices.size(), 1u);
    const auto viewports = CallsOf(log, DDrawOp::SetViewport);
    ASSERT_EQ(viewports.size(), 1u);
    EXPECT_EQ(*viewports[0].viewport, (RECT{0, 0, 1024, 768}));
    EXPECT_EQ(viewports[0].minZ, 0.0f);
    EXPECT_EQ(viewports[0].maxZ, 1.0f);
    const auto clears = CallsOf(log, DDrawOp::Clear);
    ASSERT_EQ(clears.size(), 1u);
    EXPECT_EQ(clears[0].flags, D3DCLEAR_TARGET);
    EXPECT_EQ(*clears[0].colour, 0xFF000000u);
    IDirectDrawSurface7* target = nullptr;
    ASSERT_EQ(d3d.mDevice->GetRenderTarget(&target), DD_OK);
    EXPECT_EQ(target, d3d.mDrawSurface7);
    target->Release();
    for (uint32_t pixel : DisplayTest::ReadSurface(mDisplay->mDrawSurface))
        ASSERT_EQ(pixel, 0xFF000000u);
}

TEST_F(D3DSetUp, CapabilityPatches)
{
    struct Case {
        const char* name;
        uint32_t minW, minH, maxW, maxH, aspect;
        bool alphaPalette;
        int wantMinW, wantMinH, wantMaxW, wantMaxH, wantAspect, wantFormats;
    };
    const Case cases[] = {
        {"as reported", 2, 4, 512, 256, 8, true, 2, 4, 512, 256, 8, 15},
        {"no maximum width: 64 x 64 and aspect 1", 2, 2, 0, 4096, 8, true, 64, 64, 64, 64, 1, 15},
        {"minima of 0", 0, 0, 1024, 1024, 8, true, 1, 1, 1024, 1024, 8, 15},
        {"maxima above 1024", 1, 1, 2048, 4096, 8, true, 1, 1, 1024, 1024, 8, 15},
        {"aspect 0", 1, 1, 1024, 1024, 0, true, 1, 1, 1024, 1024, 65536, 15},
        {"no alpha palette", 1, 1, 1024, 1024, 8, false, 1, 1, 1024, 1024, 8, 7},
        {"minimum above the maximum", 512, 512, 256, 256, 8, true, 256, 256, 256, 256, 8, 15},
    };
    for (const Case& c : cases) {
        Restart();
        DDrawSettings settings = Settings();
        settings.minTextureWidth = c.minW;
        settings.minTextureHeight = c.minH;
        settings.maxTextureWidth = c.maxW;
        settings.maxTextureHeight = c.maxH;
        settings.maxTextureAspectRatio = c.aspect;
        settings.alphaPaletteCap = c.alphaPalette;
        SetSettings(settings);
        ASSERT_EQ(Init3D(), 0) << c.name << ": " << mDisplay->mErrorText;
        EXPECT_EQ(Tandry::gMinTextureWidth, c.wantMinW) << c.name;
        EXPECT_EQ(Tandry::gMinTextureHeight, c.wantMinH) << c.name;
        EXPECT_EQ(Tandry::gMaxTextureWidth, c.wantMaxW) << c.name;
        EXPECT_EQ(Tandry::gMaxTextureHeight, c.wantMaxH) << c.name;
        EXPECT_EQ(Tandry::gMaxTextureAspect, c.wantAspect) << c.name;
        EXPECT_EQ(Tandry::gTextureFormats, c.wantFormats) << c.name;
    }
}

TEST_F(D3DSetUp, EachFailureGivesResult7WithItsText)
{
    struct Case {
        const char* name;
        DDrawFault fault;
        bool absent;
        const char* text;
    };
    const Case cases[] = {
        {"query of the draw surface", DDrawFault::OfInterface(IID_IDirectDrawSurface7, E_NOINTERFACE), false,
         "3D init error: Query DrawSurface: DSERR_NOINTERFACE"},
        {"Direct3D absent", DDrawFault(DDrawOp::Flip, DD_OK, 0), true,
         "3D init error: QueryInterface IID_IDirect3D7: DSERR_NOINTERFACE"},
        {"device", DDrawFault(DDrawOp::CreateDevice, DDERR_OUTOFVIDEOMEMORY), false,
         "3D init error: CreateDevice IID_IDirect3DHALDevice: "
         "DDERR_OUTOFVIDEOMEMORY"},
        {"caps", DDrawFault(DDrawOp::GetCaps, DSERR_GENERIC), false, "3D init error: : DSERR_GENERIC"},
    };
    for (const Case& c : cases) {
        Restart();
        mHost.registryWrites.clear();
        DDrawSettings settings = Settings();
        settings.hasDirect3D = !c.absent;
        SetSettings(settings);
        if (!c.absent)
            Inject(c.fault);
        EXPECT_EQ(Init3D(), Tandry::RESULT_D3D_INIT_FAIL) << c.name;
        EXPECT_EQ(mDisplay->mErrorText, c.text) << c.name;
        ASSERT_EQ(mHost.registryWrites.size(), 1u) << c.name;
        EXPECT_EQ(mHost.registryWrites[0].first, "Test3D\\RuntimeError");
        EXPECT_EQ("3D init error: " + mHost.registryWrites[0].second, c.text);
    }
}

// With no other surface image alive, the display's clean-up leaves no object
// of either stand-in behind, textures and palettes included.
TEST_F(D3DSetUp, CleanupReleasesEveryTextureAndTheDevice)
{
    ASSERT_EQ(Init3D(), 0);
    auto opaque = DisplayTest::MakeImage(300, 100, std::vector<uint32_t>(30000, 0xFF102030u));
    auto indexed = DisplayTest::MakeImage(4, 4, std::vector<uint32_t>(16, 0xFF405060u));
    ASSERT_TRUE(indexed->Palletize());
    Tandry::D3DInterface& d3d = *mDisplay->mD3DInterface;
    ASSERT_TRUE(d3d.PrepareTextures(opaque.get()));
    ASSERT_TRUE(d3d.PrepareTextures(indexed.get()));
    EXPECT_EQ(indexed->mTextureData->mFormat, Tandry::kTexturePalette8);
    EXPECT_EQ(d3d.mTextureImages.size(), 2u);
    EXPECT_EQ(Live(DDrawObjectKind::Palette), 1u);

    mDisplay->Cleanup();
    EXPECT_EQ(opaque->mTextureData, nullptr);
    EXPECT_EQ(indexed->mTextureData, nullptr);
    EXPECT_TRUE(d3d.mTextureImages.empty());
    EXPECT_EQ(d3d.mDevice, nullptr);
    for (DDrawObjectKind kind : {DDrawObjectKind::DirectDraw, DDrawObjectKind::Surface, DDrawObjectKind::Clipper,
                                 DDrawObjectKind::Palette, DDrawObjectKind::Direct3D, DDrawObjectKind::Device})
        EXPECT_EQ(Live(kind), 0u) << static_cast<int>(kind);
}

// An image whose pixel array went once its textures held the picture keeps
// the picture when a display re-initialisation drops the textures.
TEST_F(D3DSetUp, CleanupKeepsPicturesThatOnlyTexturesHeld)
{
    ASSERT_EQ(Init3D(), 0);
    const std::vector<uint32_t> pixels{0xFF112233u, 0xFF445566u, 0xFF778899u, 0xFFAABBCCu};
    auto image = DisplayTest::MakeImage(2, 2, pixels);
    image->mTextureFlags = Tandry::kTextureFlagNo565;
    image->mWantDiscard = true;
    ASSERT_TRUE(mDisplay->mD3DInterface->PrepareTextures(image.get()));
    ASSERT_EQ(image->mBits, nullptr);

    ASSERT_EQ(InitWindowed(), 0);
    EXPECT_EQ(image->mTextureData, nullptr);
    ASSERT_NE(image->mBits, nullptr);
    EXPECT_EQ(std::vector<uint32_t>(image->mBits.get(), image->mBits.get() + 4), pixels);
}

} // namespace
