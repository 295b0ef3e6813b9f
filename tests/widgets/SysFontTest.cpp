#include "widgets/SysFont.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>
#include <string>

#include "graphics/context/Graphics.h"
#include "graphics/context/RecordingImage.h"
#include "graphics/image/MemoryImage.h"
#include "platform/fonts/BoxTextService.h"

namespace Tandry {
namespace {

// 15 points are 20 pixels: box advance 10, ascent 15, height 20.
constexpr int kBoxPoints = 15;
constexpr int kAdvance = 10;
constexpr int kAscent = 15;
constexpr int kHeight = 20;
constexpr uint32_t kBackground = 0xFF204060u;
constexpr const char* kDejaVuFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// Every test starts and ends with a fresh service; the box tests install the box rasterizer.
class SysFontTest : public testing::Test {
protected:
    SysFontTest() { Platform::ResetTextService(); }
    ~SysFontTest() override { Platform::ResetTextService(); }
};

class BoxSysFontTest : public SysFontTest {
protected:
    BoxSysFontTest()
    {
        Platform::InstallTextService(std::make_unique<Platform::BoxTextService>());
        mImage.Create(120, 60);
        uint32_t* bits = mImage.GetBits();
        for (int i = 0; i < 120 * 60; ++i)
            bits[i] = kBackground;
    }

    // True where the box of character i of a text whose top left is (left, top) covers (x, y).
    static bool InBox(int x, int y, int left, int top, int count)
    {
        if (y < top + 1 || y >= top + kHeight - 1 || x < left)
            return false;
        const int i = (x - left) / kAdvance;
        const int inCell = (x - left) % kAdvance;
        return i < count && inCell >= 1 && inCell < kAdvance - 1;
    }

    // Every pixel is the colour inside the boxes and the background elsewhere.
    void ExpectBoxes(int left, int top, int count, uint32_t color)
    {
        for (int y = 0; y < mImage.mHeight; ++y)
            for (int x = 0; x < mImage.mWidth; ++x)
                ASSERT_EQ(mImage.GetPixel(x, y), InBox(x, y, left, top, count) ? color : kBackground)
                    << x << "," << y;
    }

    MemoryImage mImage;
};

TEST(SysFontSize, PointsToPixelsRoundToNearest)
{
    const struct {
        int points;
        int pixels;
    } cases[] = {{8, 11}, {10, 13}, {12, 16}, {14, 19}, {15, 20}, {0, 0}, {-10, -13}, {9, 12}, {1, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(SysFont::PixelSizeForPoints(c.points), c.pixels) << c.points;
}

TEST_F(SysFontTest, DejaVuSansMetrics)
{
    SysFont font("DejaVu Sans", 10, false, false, false);
    EXPECT_TRUE(font.IsLoaded());
    EXPECT_EQ(font.GetAscent(), 12);
    EXPECT_EQ(font.GetHeight(), 15);
    EXPECT_EQ(font.GetDescent(), 3);
    EXPECT_EQ(font.GetLineSpacingOffset(), 0);
    EXPECT_EQ(font.mFace, "DejaVu Sans");
    SysFont other("DejaVu Sans", 10, 0);
    EXPECT_EQ(other.GetHeight(), 15);
}

TEST_F(SysFontTest, FacesNotInstalledResolveToAnInstalledOne)
{
    for (const char* face : {"Arial Unicode MS", "Arial", "Tahoma", "no such face at all", "DejaVu Sans:bold"}) {
        SysFont font(face, 10, 0);
        EXPECT_GT(font.StringWidth(std::wstring(L"Hello"), 1, 1, 0), 0) << face;
        EXPECT_GT(font.GetHeight(), 0) << face;
    }
}

TEST_F(SysFontTest, MeasuringCountsLinesAndSkipsControls)
{
    SysFont font("DejaVu Sans", 10, 0);
    FloatRect r;
    font.MeasureText(r, std::wstring(), 0, 0, 1, 1, 0, 0, 0);
    EXPECT_EQ(r.width, 0);
    EXPECT_EQ(r.height, 15);

    const int ab = font.StringWidth(std::wstring(L"ab"), 1, 1, 0);
    const int wider = font.StringWidth(std::wstring(L"cdWW"), 1, 1, 0);
    ASSERT_GT(ab, 0);
    ASSERT_GT(wider, ab);
    for (const std::wstring text : {L"ab\r\ncdWW", L"ab\ncdWW", L"cdWW\rab"}) {
        font.MeasureText(r, text, 0, 0, 1, 1, 0, 0, 0);
        EXPECT_EQ(r.width, wider);
        EXPECT_EQ(r.height, 30);
    }
    font.MeasureText(r, std::wstring(L"a\n\r\nb\r"), 0, 0, 2, 0.5f, 0, 0, 0);
    EXPECT_EQ(r.height, 4 * 15 * 0.5f);

    for (const wchar_t c : {L'\x08', L'\t', L'\r', L'\x1B', L'\xD800', L'\xDFFF', L'\xFFFF'})
        EXPECT_EQ(font.CharWidth(c), 0) << static_cast<int>(c);
    // A surrogate pair is one character; lone halves take no room.
    EXPECT_EQ(font.StringWidth(std::wstring(L"a\xD83D"), 1, 1, 0), font.CharWidth(L'a'));
    EXPECT_EQ(font.StringWidth(std::wstring(L"\xDC00" L"a"), 1, 1, 0), font.CharWidth(L'a'));
}

TEST_F(SysFontTest, ACopyMeasuresAlikeAndHasNoFace)
{
    SysFont font("DejaVu Sans", 12, true, false, false);
    font.mLineSpacingOffset = 3;
    const std::unique_ptr<Font> copy(font.Duplicate());
    auto* sys = dynamic_cast<SysFont*>(copy.get());
    ASSERT_NE(sys, nullptr);
    EXPECT_TRUE(sys->IsLoaded());
    EXPECT_TRUE(sys->mFace.empty());
    EXPECT_EQ(sys->GetAscent(), font.GetAscent());
    EXPECT_EQ(sys->GetHeight(), font.GetHeight());
    EXPECT_EQ(sys->GetLineSpacingOffset(), 0);
    for (const std::wstring text : {L"Hello", L"W i d e", L"x"})
        EXPECT_EQ(sys->StringWidth(text, 1, 1, 0), font.StringWidth(text, 1, 1, 0));
}

TEST_F(SysFontTest, BoldIsNoNarrowerAndItalicIsSynthesised)
{
    SysFont regular("DejaVu Sans", 12, false, false, false);
    SysFont bold("DejaVu Sans", 12, true, false, false);
    const std::wstring text = L"Hello, world";
    EXPECT_GE(bold.StringWidth(text, 1, 1, 0), regular.StringWidth(text, 1, 1, 0));

    // A font file is used as it is: its upright face gets a made slant.
    const auto draw = [&](bool italic) {
        SysFont font(kDejaVuFile, 12, false, italic, false);
        MemoryImage image;
        image.Create(120, 30);
        Graphics g(&image);
        font.DrawString(&g, 2, 2, text, Color(255, 255, 255), g.mClipRect, 1, 1, 0, 0, 0);
        return std::vector<uint32_t>(image.GetBits(), image.GetBits() + 120 * 30);
    };
    EXPECT_NE(draw(true), draw(false));
    SysFont boldFile(kDejaVuFile, 12, true, false, false);
    SysFont regularFile(kDejaVuFile, 12, false, false, false);
    EXPECT_GT(boldFile.StringWidth(text, 1, 1, 0), regularFile.StringWidth(text, 1, 1, 0));
}

TEST_F(SysFontTest, DejaVuPixelsLieInsideTheMeasuredBoxAndSomeArePartlyCovered)
{
    SysFont font("DejaVu Sans", 10, 0);
    MemoryImage image;
    image.Create(100, 40);
    Graphics g(&image);
    g.Translate(3, 2);
    const std::wstring text = L"Sample";
    font.DrawString(&g, 10, 20, text, Color(255, 255, 255), g.mClipRect, 1, 1, 0, 0, kAlignBaseline);
    FloatRect box;
    font.MeasureText(box, text, 10, 20, 1, 1, 0, 0, kAlignBaseline);
    int drawn = 0;
    int partial = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 100; ++x) {
            const uint32_t alpha = image.GetPixel(x, y) >> 24;
            if (alpha == 0)
                continue;
            ++drawn;
            partial += alpha < 255 ? 1 : 0;
            EXPECT_GE(x, box.x + 3);
            EXPECT_LT(x, box.x + 3 + box.width);
            EXPECT_GE(y, box.y + 2);
            EXPECT_LT(y, box.y + 2 + box.height);
        }
    }
    EXPECT_GT(drawn, 20);
    EXPECT_GT(partial, 0);
}

TEST_F(BoxSysFontTest, AlignmentTable)
{
    SysFont font("any", kBoxPoints, 0);
    EXPECT_EQ(font.GetAscent(), kAscent);
    EXPECT_EQ(font.GetHeight(), kHeight);
    const std::wstring text = L"abcd";  // 40 pixels
    const struct {
        int hAlign;
        int vAlign;
        float x;
        float y;
    } cases[] = {
        {kAlignLeft, kAlignTop, 100, 50},          {kAlignCenter, kAlignTop, 80, 50},
        {kAlignRight, kAlignTop, 60, 50},          {kAlignLeft, kAlignMiddle, 100, 40},
        {kAlignLeft, kAlignBottom, 100, 30},       {kAlignLeft, kAlignBaseline, 100, 50 - kAscent},
        {kAlignCenter, kAlignBaseline, 80, 50 - kAscent},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hAlign << " " << c.vAlign);
        FloatRect r;
        font.MeasureText(r, text, 100, 50, 1, 1, 0, c.hAlign, c.vAlign);
        EXPECT_EQ(r.x, c.x);
        EXPECT_EQ(r.y, c.y);
        EXPECT_EQ(r.width, 40);
        EXPECT_EQ(r.height, kHeight);
    }
    FloatRect scaled;
    font.MeasureText(scaled, text, 100, 50, 2, 0.5f, 0, kAlignCenter, kAlignMiddle);
    EXPECT_EQ(scaled.width, 80);
    EXPECT_EQ(scaled.height, 10);
    EXPECT_EQ(scaled.x, 60);
    EXPECT_EQ(scaled.y, 45);
}

TEST_F(BoxSysFontTest, BoxesLandOnTheirPixels)
{
    const uint32_t red = 0xFFFF0000u;
    SysFont font("any", kBoxPoints, 0);
    {
        SCOPED_TRACE("baseline");
        Graphics g(&mImage);
        font.DrawString(&g, 10, 30, std::wstring(L"ab c"), Color(255, 0, 0), g.mClipRect, 1, 1, 0, 0,
                        kAlignBaseline);
        // The space advances without a box: boxes in cells 0, 1 and 3.
        for (int y = 0; y < mImage.mHeight; ++y) {
            for (int x = 0; x < mImage.mWidth; ++x) {
                const bool box = InBox(x, y, 10, 30 - kAscent, 4) && (x < 30 || x >= 40);
                ASSERT_EQ(mImage.GetPixel(x, y), box ? red : kBackground) << x << "," << y;
            }
        }
    }
    {
        SCOPED_TRACE("translated");
        uint32_t* bits = mImage.GetBits();
        std::fill(bits, bits + 120 * 60, kBackground);
        Graphics g(&mImage);
        g.Translate(7, 3);
        font.DrawString(&g, 10, 30, std::wstring(L"ab"), Color(255, 0, 0), g.mClipRect, 1, 1, 0, 0,
                        kAlignBaseline);
        ExpectBoxes(17, 33 - kAscent, 2, red);
    }
    {
        SCOPED_TRACE("centred");
        uint32_t* bits = mImage.GetBits();
        std::fill(bits, bits + 120 * 60, kBackground);
        Graphics g(&mImage);
        font.DrawString(&g, 60, 30, std::wstring(L"abc"), Color(255, 0, 0), g.mClipRect, 1, 1, 0, kAlignCenter,
                        kAlignBaseline);
        ExpectBoxes(45, 30 - kAscent, 3, red);
    }
}

TEST_F(BoxSysFontTest, TheClipKeepsEveryPixelOutsideIt)
{
    SysFont font("any", kBoxPoints, 0);
    Graphics g(&mImage);
    const Rect clip(14, 8, 17, 9);
    font.DrawString(&g, 10, 5, std::wstring(L"abc"), Color(0, 255, 0), clip, 1, 1, 0, 0, 0);
    for (int y = 0; y < mImage.mHeight; ++y) {
        for (int x = 0; x < mImage.mWidth; ++x) {
            const bool inside = x >= 14 && x < 31 && y >= 8 && y < 17;
            const uint32_t expected = inside && InBox(x, y, 10, 5, 3) ? 0xFF00FF00u : kBackground;
            ASSERT_EQ(mImage.GetPixel(x, y), expected) << x << "," << y;
        }
    }
    // A clip beyond the image, and text beyond every edge, touch only the image.
    font.DrawString(&g, -15, -12, std::wstring(L"abcdefghijklmnop"), Color(0, 255, 0), Rect(-50, -50, 500, 500),
                    3, 4, 0, 0, 0);
    // Scales that would make a giant mask, or none at all, draw nothing.
    const std::vector<uint32_t> before(mImage.GetBits(), mImage.GetBits() + 120 * 60);
    for (const float scale : {1e6f, 0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()})
        font.DrawString(&g, 0, 0, std::wstring(L"abc"), Color(0, 0, 255), g.mClipRect, scale, scale, 0, 0, 0);
    EXPECT_EQ(std::vector<uint32_t>(mImage.GetBits(), mImage.GetBits() + 120 * 60), before);
}

TEST_F(BoxSysFontTest, ColourAndAlpha)
{
    SysFont font("any", kBoxPoints, 0);
    Graphics g(&mImage);
    font.DrawString(&g, 0, 0, std::wstring(L"a"), Color(12, 34, 56), g.mClipRect, 1, 1, 0, 0, 0);
    EXPECT_EQ(mImage.GetPixel(1, 1), 0xFF0C2238u);

    // Alpha 128 over the opaque background: each channel (d * (256 - a) + c * a) >> 8 with a = 128.
    font.DrawString(&g, 20, 0, std::wstring(L"a"), Color(200, 100, 0, 128), g.mClipRect, 1, 1, 0, 0, 0);
    const auto mix = [](uint32_t d, uint32_t c) { return (d * (256 - 128) + c * 128) >> 8; };
    const uint32_t expected = 0xFF000000u | mix(0x20, 200) << 16 | mix(0x40, 100) << 8 | mix(0x60, 0);
    EXPECT_EQ(mImage.GetPixel(21, 1), expected);
    EXPECT_EQ(mImage.GetPixel(28, 18), expected);
    EXPECT_EQ(mImage.GetPixel(29, 18), kBackground);
}

TEST_F(BoxSysFontTest, ScalingStretchesTheBoxesAboutTheTopLeft)
{
    SysFont font("any", kBoxPoints, 0);
    Graphics g(&mImage);
    font.DrawString(&g, 4, 2, std::wstring(L"a"), Color(255, 255, 255), g.mClipRect, 2, 0.5f, 0, 0, 0);
    // The box (1..8, 1..18) of the cell becomes (2..17, 0 or 1..9).
    EXPECT_EQ(mImage.GetPixel(4 + 2, 2 + 1), 0xFFFFFFFFu);
    EXPECT_EQ(mImage.GetPixel(4 + 17, 2 + 8), 0xFFFFFFFFu);
    EXPECT_EQ(mImage.GetPixel(4 + 1, 2 + 4), kBackground);
    EXPECT_EQ(mImage.GetPixel(4 + 18, 2 + 4), kBackground);
    EXPECT_EQ(mImage.GetPixel(4 + 5, 2 + 10), kBackground);
}

TEST_F(BoxSysFontTest, NoDestinationOrThePlaceholderDrawsNothing)
{
    SysFont font("any", kBoxPoints, 0);
    Graphics measuring;
    font.DrawString(&measuring, 0, 0, std::wstring(L"abc"), Color(), Rect(0, 0, 100, 100), 1, 1, 0, 0, 0);
    RecordingImage dest(50, 50);
    Graphics g(&dest);
    g.mDestImage = Graphics::SharedEmptyImage();
    font.DrawString(&g, 0, 0, std::wstring(L"abc"), Color(), Rect(0, 0, 50, 50), 1, 1, 0, 0, 0);
    EXPECT_TRUE(dest.calls.empty());
    g.mDestImage = &dest;
    font.DrawString(&g, 0, 0, std::wstring(L"abc"), Color(0, 0, 0, 128), Rect(0, 0, 50, 50), 1, 1, 0, 0, 0);
    ASSERT_EQ(dest.calls.size(), 1u);
    EXPECT_EQ(dest.calls[0].slot, Slot::FillScanLinesWithCoverage);
    EXPECT_EQ(dest.calls[0].spans.size(), static_cast<size_t>(kHeight));
    EXPECT_EQ(dest.calls[0].spans[0], (Span{0, 0, 30}));

    // An opaque colour fills the fully covered runs and blends the others.
    dest.calls.clear();
    font.DrawString(&g, 0, 0, std::wstring(L"a"), Color(0, 0, 0), Rect(0, 0, 50, 50), 1, 1, 0, 0, 0);
    ASSERT_EQ(dest.calls.size(), 2u);
    EXPECT_EQ(dest.calls[0].slot, Slot::FillScanLines);
    EXPECT_EQ(dest.calls[0].spans.size(), static_cast<size_t>(kHeight - 2));
    EXPECT_EQ(dest.calls[0].spans[0], (Span{1, 1, 8}));
    EXPECT_EQ(dest.calls[1].slot, Slot::FillScanLinesWithCoverage);
}

TEST_F(SysFontTest, PixelSizesAreHeldToTheirRange)
{
    Platform::InstallTextService(std::make_unique<Platform::BoxTextService>());
    SysFont huge("any", 1000000, 0);
    EXPECT_EQ(huge.GetHeight(), 1000);
    SysFont tiny("any", -5, 0);
    EXPECT_EQ(tiny.GetHeight(), 1);
    EXPECT_EQ(tiny.CharWidth(L'a'), 1);
}

} // namespace
} // namespace Tandry
