#include "graphics/display/DDImage.h"

#include "graphics/display/DDInterface.h"
#include "graphics/display/SurfaceTestSupport.h"
#include "graphics/image/ClipStretchRects.h"
#include "graphics/rasterizer/rasterizer.h"
#include "graphics/types/Color.h"
#include "graphics/types/DoubleRect.h"
#include "graphics/types/Matrix3x3.h"
#include "graphics/types/Point.h"
#include "graphics/types/TriVertex.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace Platform;
using DisplayTest::CallsOf;
using DisplayTest::ReadSurface;
using DisplayTest::StoredWords;
using Tandry::Color;
using Tandry::DDImage;
using Tandry::MemoryImage;
using Tandry::Rect;

// A surface image that notes which surface routine each route reached.
class RecordingDDImage : public DDImage {
public:
    explicit RecordingDDImage(Tandry::DDInterface* display) : DDImage(display) {}

    std::vector<std::string> calls;
    Rect lastRect;

    void SurfaceFillRect(const Rect& rect, const Color& color) override
    {
        Note("SurfaceFillRect", rect);
        DDImage::SurfaceFillRect(rect, color);
    }
    void SurfaceFillRectAdditive(const Rect& rect, const Color& color) override
    {
        Note("SurfaceFillRectAdditive", rect);
        DDImage::SurfaceFillRectAdditive(rect, color);
    }
    void SurfaceDrawLine(double x1, double y1, double x2, double y2, const Color& color) override
    {
        Note("SurfaceDrawLine", Rect());
        DDImage::SurfaceDrawLine(x1, y1, x2, y2, color);
    }
    void SurfaceBlt(Image* src, int x, int y, const Rect& srcRect, const Color& color) override
    {
        Note("SurfaceBlt", srcRect);
        DDImage::SurfaceBlt(src, x, y, srcRect, color);
    }
    void SurfaceBltMirror(Image* src, int x, int y, const Rect& srcRect, const Color& color) override
    {
        Note("SurfaceBltMirror", srcRect);
        DDImage::SurfaceBltMirror(src, x, y, srcRect, color);
    }
    void SurfaceStretchBlt(Image* src, const Rect& clipped, const Tandry::DoubleRect& srcF, const Color& color,
                           int drawMode, bool mirrored) override
    {
        Note("SurfaceStretchBlt", clipped);
        DDImage::SurfaceStretchBlt(src, clipped, srcF, color, drawMode, mirrored);
    }

private:
    void Note(const char* name, const Rect& rect)
    {
        calls.emplace_back(name);
        lastRect = rect;
    }
};

constexpr int kSize = 16;

// An ARGB pixel stored on a BGR565 surface: each channel's top bits at its
// place (blue 11..15, green 5..10, red 0..4), alpha dropped.
uint32_t Bgr565Word(uint32_t argb)
{
    return ((argb >> 19) & 0x1Fu) | (((argb >> 10) & 0x3Fu) << 5) | (((argb >> 3) & 0x1Fu) << 11);
}

std::vector<uint32_t> Opaque()
{
    std::vector<uint32_t> pixels(kSize * kSize);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x9E3779B1u >> 8);
    return pixels;
}

class DDImageRoutes : public DisplayTest::SurfaceFixture {
protected:
    void SetUp() override
    {
        SurfaceFixture::SetUp();
        Up(DDrawFormat::X8R8G8B8);
    }

    // An opaque image whose only form is its surface.
    std::unique_ptr<RecordingDDImage> SurfaceImage()
    {
        auto image = std::make_unique<RecordingDDImage>(mDisplay);
        image->SetBits(Opaque().data(), kSize, kSize, true);
        EXPECT_TRUE(image->CreateSurface());
        image->FreeMemoryCopies();
        return image;
    }

    // The last change wins: after a surface route only the surface holds the picture.
    static void ExpectSurfaceOnly(const DDImage& image)
    {
        EXPECT_NE(image.mSurface, nullptr);
        EXPECT_FALSE(image.mBits);
        EXPECT_FALSE(image.mNativeAlpha);
        EXPECT_FALSE(image.mRLAlpha);
        EXPECT_FALSE(image.mRLAdditive);
        EXPECT_FALSE(image.mColorTable);
        EXPECT_EQ(image.mLockCount, 0);
    }
};

TEST_F(DDImageRoutes, FillRectPicksTheRoutineByMode)
{
    auto image = SurfaceImage();
    image->FillRect(Rect(1, 2, 3, 4), Color(10, 20, 30), 0);
    image->FillRect(Rect(1, 2, 3, 4), Color(10, 20, 30), 1);
    EXPECT_EQ(image->calls, (std::vector<std::string>{"SurfaceFillRect", "SurfaceFillRectAdditive"}));
    ExpectSurfaceOnly(*image);

    // Mode 2 draws nothing; the memory copies go since the surface holds the picture.
    image->GetBits();
    const int changes = image->mChangeCount;
    image->FillRect(Rect(0, 0, 4, 4), Color(255, 0, 0), 2);
    EXPECT_EQ(image->calls.size(), 2u);
    ExpectSurfaceOnly(*image);
    EXPECT_EQ(image->mChangeCount, changes);
}

TEST_F(DDImageRoutes, StraightLinesBecomeFillsAndDiagonalsGoToTheLine)
{
    auto image = SurfaceImage();
    image->DrawLine(10.7, 5.2, 3.1, 5.2, Color(255, 255, 255), 0);
    ASSERT_EQ(image->calls, (std::vector<std::string>{"SurfaceFillRect"}));
    EXPECT_EQ(image->lastRect, Rect(3, 5, 8, 1));

    image->calls.clear();
    image->DrawLine(1.0, 1.0, 6.0, 3.0, Color(255, 255, 255), 2);
    EXPECT_EQ(image->calls, (std::vector<std::string>{"SurfaceDrawLine"}));

    // A horizontal mode-2 line is a mode-2 fill: nothing.
    image->calls.clear();
    const std::vector<uint32_t> before = StoredWords(image->mSurface);
    image->DrawLine(1.0, 1.0, 6.0, 1.0, Color(255, 255, 255), 2);
    EXPECT_TRUE(image->calls.empty());
    EXPECT_EQ(StoredWords(image->mSurface), before);
}

TEST_F(DDImageRoutes, MemoryRouteOfTheAntiAliasedLineDrawsThePlainLine)
{
    std::vector<uint32_t> pixels = Opaque();
    pixels[0] = 0x80000000u;
    DDImage plain(mDisplay), smooth(mDisplay);
    plain.SetBits(pixels.data(), kSize, kSize, true);
    smooth.SetBits(pixels.data(), kSize, kSize, true);
    plain.DrawLine(0.5, 0.5, 13.25, 7.75, Color(200, 50, 10, 200), 0);
    smooth.DrawLineAA(0.5, 0.5, 13.25, 7.75, Color(200, 50, 10, 200), 0);
    EXPECT_EQ(std::vector<uint32_t>(plain.GetBits(), plain.GetBits() + kSize * kSize),
              std::vector<uint32_t>(smooth.GetBits(), smooth.GetBits() + kSize * kSize));
}

TEST_F(DDImageRoutes, ImagesWithAlphaAreDrawnInMemoryAndLoseTheirSurface)
{
    std::vector<uint32_t> pixels = Opaque();
    pixels[3] = 0x40FFFFFFu;
    RecordingDDImage image(mDisplay);
    image.SetBits(pixels.data(), kSize, kSize, true);
    ASSERT_TRUE(image.CreateSurface());
    image.FillRect(Rect(0, 0, 2, 2), Color(0, 255, 0), 0);
    EXPECT_TRUE(image.calls.empty());
    EXPECT_EQ(image.mSurface, nullptr);
    EXPECT_EQ(image.mBits[0], 0xFF00FF00u);
    EXPECT_EQ(image.mBits[3], 0x40FFFFFFu);
}

// In 3D mode a blit into an off-screen image goes to its memory form, into a
// cursor save area to its surface.
TEST_F(DDImageRoutes, ThreeDModeSendsBlitsToMemoryExceptForCursorAreas)
{
    auto source = DisplayTest::MakeImage(2, 2, {0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu});
    auto image = SurfaceImage();
    DDImage* cursorArea = mDisplay->mOldCursorAreaImage;
    ASSERT_NE(cursorArea, nullptr);
    mDisplay->mIs3D = true;
    image->Blt(source.get(), 0, 0, Rect(0, 0, 2, 2), Color(255, 255, 255), 0);
    EXPECT_TRUE(image->calls.empty());
    EXPECT_EQ(image->mSurface, nullptr);
    EXPECT_EQ(image->mBits[0], 0xFF0000FFu);

    cursorArea->Blt(source.get(), 0, 0, Rect(0, 0, 2, 2), Color(255, 255, 255), 0);
    EXPECT_NE(cursorArea->mSurface, nullptr);
    EXPECT_EQ(ReadSurface(cursorArea->mSurface)[0], 0xFF0000FFu);
    mDisplay->mIs3D = false;
}

TEST_F(DDImageRoutes, FastStretchRoutes)
{
    // Surface to surface, white, mode 0: DirectDraw stretches the truncated source rectangle.
    DDImage source(mDisplay);
    source.SetBits(Opaque().data(), kSize, kSize, true);
    ASSERT_TRUE(source.CreateSurface());
    auto image = SurfaceImage();
    const size_t before = CallsOf(CallLog(), DDrawOp::Blt).size();
    image->StretchBlt(&source, Rect(0, 0, 12, 9), Rect(0, 0, 8, 6), Rect(0, 0, 10, 9), Color(255, 255, 255), 0,
                      true);
    const auto blts = CallsOf(CallLog(), DDrawOp::Blt);
    ASSERT_EQ(blts.size(), before + 1);
    // 10 of 12 destination columns take 8 * 10 / 12 = 6.67 source columns.
    EXPECT_EQ(*blts.back().sourceRect, (RECT{0, 0, 6, 6}));
    EXPECT_EQ(*blts.back().destRect, (RECT{0, 0, 10, 9}));
    EXPECT_TRUE(image->calls.empty());
    ExpectSurfaceOnly(*image);

    // With alpha the destination is still drawn in its surface.
    std::vector<uint32_t> pixels = Opaque();
    pixels[0] = 0x80FFFFFFu;
    RecordingDDImage withAlpha(mDisplay);
    withAlpha.SetBits(pixels.data(), kSize, kSize, true);
    ASSERT_TRUE(withAlpha.CreateSurface());
    withAlpha.StretchBlt(&source, Rect(0, 0, 4, 4), Rect(0, 0, 8, 8), Rect(0, 0, 16, 16), Color(255, 255, 255), 0,
                         true);
    EXPECT_NE(withAlpha.mSurface, nullptr);
    EXPECT_FALSE(withAlpha.mBits);

    // A plain memory image goes to the nearest stretch into the surface.
    auto memory = DisplayTest::MakeImage(2, 2, {0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u, 0xFFFFFFFFu});
    image->StretchBlt(memory.get(), Rect(0, 0, 4, 4), Rect(0, 0, 2, 2), Rect(0, 0, 16, 16), Color(255, 255, 255), 0,
                      true);
    EXPECT_EQ(image->calls, (std::vector<std::string>{"SurfaceStretchBlt"}));
    EXPECT_EQ(image->lastRect, Rect(0, 0, 4, 4));
}

// Without fast the filtered stretch goes through a temporary image drawn with the image's own Blt.
TEST_F(DDImageRoutes, FilteredStretchIsATemporaryDrawnWithBlt)
{
    auto memory = DisplayTest::MakeImage(2, 2, {0xFF0000FFu, 0x8000FF00u, 0xFFFF0000u, 0x00FFFFFFu});
    auto image = SurfaceImage();
    auto reference = SurfaceImage();
    const Rect dest(1, 2, 9, 7), src(0, 0, 2, 2), clip(0, 0, 8, 8);
    image->StretchBlt(memory.get(), dest, src, clip, Color(200, 100, 50, 200), 0, false);

    Rect clipped;
    Tandry::DoubleRect srcF;
    ASSERT_TRUE(Tandry::ClipStretchRects(dest, src, clip, clipped, srcF));
    MemoryImage stretched;
    stretched.Create(clipped.width, clipped.height);
    stretched.StretchBltFiltered(memory.get(), Rect(0, 0, clipped.width, clipped.height), srcF);
    reference->SurfaceBlt(&stretched, clipped.x, clipped.y, Rect(0, 0, clipped.width, clipped.height),
                          Color(200, 100, 50, 200));
    EXPECT_EQ(StoredWords(image->mSurface), StoredWords(reference->mSurface));
    ExpectSurfaceOnly(*image);
}

// The rasteriser draws into the locked surface with the layout's code; a
// 16-bit layout it has no code for is drawn through a read-back copy.
TEST_F(DDImageRoutes, MatrixAndTriangleBlitsUseTheRasteriser)
{
    auto texture = DisplayTest::MakeImage(4, 4, std::vector<uint32_t>(16, 0xC0FF8040u));
    Tandry::Matrix3x3 matrix;
    matrix.LoadIdentity();
    matrix.m[0][1] = 0.3f;
    const Rect clip(0, 0, kSize, kSize);
    Tandry::TriVertex triangles[1][3] = {{{1.0f, 1.0f, 0.0f, 0.0f, 0}, {14.0f, 2.0f, 1.0f, 0.0f, 0},
                                          {3.0f, 13.0f, 0.0f, 1.0f, 0}}};
    for (DDrawFormat format : DisplayTest::kSurfaceFormats) {
        Up(format);
        SCOPED_TRACE(static_cast<int>(format));
        for (bool matrixBlit : {true, false}) {
            auto image = SurfaceImage();
            auto copy = SurfaceImage();
            const auto draw = [&](Tandry::Image& target) {
                if (matrixBlit)
                    target.BltMatrix(texture.get(), 8.0f, 8.0f, matrix, clip, Color(255, 255, 255), 0,
                                     Rect(0, 0, 4, 4), true);
                else
                    target.BltTrianglesTex(texture.get(), triangles, 1, clip, Color(255, 255, 255), 0, 0.5f, 0.0f,
                                           false);
            };
            draw(*image);
            ExpectSurfaceOnly(*image);
            const Color white(255, 255, 255);
            const Rect source(0, 0, 4, 4);
            // The front end on the given pixels with the given format code.
            const auto reference = [&](void* bits, int32_t pitch, int32_t code) {
                if (matrixBlit)
                    Tandry::RasterizeTransformedQuad(texture.get(), 8.0f, 8.0f, &matrix, &clip, &white, &source, bits,
                                                     pitch, code, true);
                else
                    Tandry::RasterizeTriangleList(texture.get(), triangles[0], 1, &clip, &white, bits, pitch, code,
                                                  0.5f, 0.0f, false);
            };
            if (format == DDrawFormat::BGR565) {
                // Through a read-back copy: the front end with 0x888 on the
                // picture as read back, stored by the conversion rule.
                std::vector<uint32_t> picture = ReadSurface(copy->mSurface);
                reference(picture.data(), kSize * 4, 0x888);
                std::vector<uint32_t> expected;
                for (uint32_t argb : picture)
                    expected.push_back(Bgr565Word(argb));
                EXPECT_NE(expected, StoredWords(copy->mSurface));
                EXPECT_EQ(StoredWords(image->mSurface), expected);
                continue;
            }
            // The same front end on a copy of the locked surface.
            ASSERT_TRUE(copy->LockSurface());
            const int32_t code = format == DDrawFormat::X8R8G8B8 ? 0x888 : format == DDrawFormat::R5G6B5 ? 0x565 : 0x555;
            reference(copy->mLockDesc.lpSurface, copy->mLockDesc.lPitch, code);
            copy->UnlockSurface();
            EXPECT_EQ(StoredWords(image->mSurface), StoredWords(copy->mSurface));
        }
    }
}

TEST_F(DDImageRoutes, AFailedLockDrawsNothingAndKeepsTheMemoryCopies)
{
    auto texture = DisplayTest::MakeImage(2, 2, std::vector<uint32_t>(4, 0xFFFF0000u));
    auto image = SurfaceImage();
    image->GetBits();
    const int changes = image->mChangeCount;
    const std::vector<uint32_t> before = ReadSurface(image->mSurface);
    Tandry::Matrix3x3 matrix;
    matrix.LoadIdentity();
    Inject({DDrawOp::Lock, DDERR_SURFACEBUSY});
    image->BltMatrix(texture.get(), 4.0f, 4.0f, matrix, Rect(0, 0, kSize, kSize), Color(255, 255, 255), 0,
                     Rect(0, 0, 2, 2), false);
    EXPECT_TRUE(image->mBits);
    EXPECT_EQ(image->mChangeCount, changes);
    EXPECT_EQ(ReadSurface(image->mSurface), before);
}

TEST_F(DDImageRoutes, MirrorBltOnAlphaImageDrawsIntoTheSurface)
{
    std::vector<uint32_t> pixels = Opaque();
    pixels[0] = 0x80FFFFFFu;
    RecordingDDImage image(mDisplay);
    image.SetBits(pixels.data(), kSize, kSize, true);
    ASSERT_TRUE(image.CreateSurface());
    auto source = DisplayTest::MakeImage(2, 1, {0xFF0000FFu, 0xFF00FF00u});
    image.BltMirror(source.get(), 4, 4, Rect(0, 0, 2, 1), Color(255, 255, 255), 0);
    EXPECT_EQ(image.calls, (std::vector<std::string>{"SurfaceBltMirror"}));
    EXPECT_FALSE(image.mBits);
    const std::vector<uint32_t> shown = ReadSurface(image.mSurface);
    EXPECT_EQ(shown[4 * kSize + 4], 0xFF00FF00u);
    EXPECT_EQ(shown[4 * kSize + 5], 0xFF0000FFu);
}

TEST_F(DDImageRoutes, BltFIsARotatedBlitWithAngleZero)
{
    auto source = DisplayTest::MakeImage(3, 3, std::vector<uint32_t>(9, 0xA0FF0000u));
    auto a = SurfaceImage();
    auto b = SurfaceImage();
    const Rect clip(0, 0, kSize, kSize);
    a->BltF(source.get(), 2.5f, 3.25f, Rect(0, 0, 3, 3), clip, Color(255, 255, 255), 0);
    b->BltRotated(source.get(), 2.5f, 3.25f, Rect(0, 0, 3, 3), clip, Color(255, 255, 255), 0, 0.0, 0.0f, 0.0f);
    EXPECT_EQ(StoredWords(a->mSurface), StoredWords(b->mSurface));
    EXPECT_NE(StoredWords(a->mSurface), StoredWords(SurfaceImage()->mSurface));
}

TEST_F(DDImageRoutes, ClearRectWithoutAnArrayAndPolyFillOffThe3DScreen)
{
    auto image = SurfaceImage();
    image->mNoDraw = true;
    const std::vector<uint32_t> before = StoredWords(image->mSurface);
    image->ClearRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(StoredWords(image->mSurface), before);
    EXPECT_NE(image->mSurface, nullptr);

    const Tandry::Point points[] = {{0, 0}, {5, 0}, {0, 5}};
    const Rect clip(0, 0, kSize, kSize);
    EXPECT_FALSE(image->PolyFill3D(points, 3, &clip, Color(255, 0, 0), 0, 0, 0, true));
}

// Surface creation refused: the memory form is the only copy and must survive every route.
TEST_F(DDImageRoutes, AnImageWithoutASurfaceKeepsItsPicture)
{
    DDImage image(mDisplay);
    image.SetBits(Opaque().data(), kSize, kSize, true);
    auto source = DisplayTest::MakeImage(1, 1, {0xFF123456u});
    for (int i = 0; i < 8; ++i)
        Inject({DDrawOp::CreateSurface, DDERR_OUTOFVIDEOMEMORY});
    image.FillRect(Rect(0, 0, 2, 2), Color(255, 0, 0), 0);
    image.FillRect(Rect(0, 0, 2, 2), Color(255, 0, 0), 2);
    image.Blt(source.get(), 0, 0, Rect(0, 0, 1, 1), Color(255, 255, 255), 0);
    image.DrawLine(0.0, 0.0, 5.0, 3.0, Color(255, 0, 0), 0);
    image.BltMirror(source.get(), 0, 0, Rect(0, 0, 1, 1), Color(255, 255, 255), 0);
    ASSERT_TRUE(image.mBits);
    EXPECT_EQ(std::vector<uint32_t>(image.mBits.get(), image.mBits.get() + kSize * kSize), Opaque());
}

// The DirectDraw path into an image that holds only its memory form creates the surface.
TEST_F(DDImageRoutes, TheDirectDrawPathCreatesAMissingSurface)
{
    DDImage source(mDisplay);
    source.SetBits(std::vector<uint32_t>(4, 0xFF00FF00u).data(), 2, 2, true);
    ASSERT_TRUE(source.CreateSurface());
    DDImage image(mDisplay);
    image.SetBits(Opaque().data(), kSize, kSize, true);
    ASSERT_EQ(image.mSurface, nullptr);
    const int changes = image.mChangeCount;
    image.Blt(&source, 3, 3, Rect(0, 0, 2, 2), Color(255, 255, 255), 0);
    ASSERT_NE(image.mSurface, nullptr);
    ExpectSurfaceOnly(image);
    EXPECT_EQ(image.mChangeCount, changes + 1);
    const std::vector<uint32_t> shown = ReadSurface(image.mSurface);
    EXPECT_EQ(shown[3 * kSize + 3], 0xFF00FF00u);
    EXPECT_EQ(shown[0], Opaque()[0]);
}

} // namespace
