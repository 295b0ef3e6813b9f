// SysFont drawing with real glyphs against a model built from the glyph
// pictures: the text's coverage is the sum of the glyphs (held at 255), each
// at pen + left and ascent - top; every covered pixel inside the clip gets
// the destination's own per-pixel rule (an opaque colour at full coverage is
// stored, anything else blended by coverage). However drawing groups pixels
// into runs, the image must come out the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/types/Span.h"
#include "platform/fonts/GlyphCoverageModel.h"
#include "platform/fonts/TextService.h"
#include "widgets/SysFont.h"

namespace Tandry {
namespace {

constexpr const char* kDejaVuFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int kWidth = 700;
constexpr int kHeight = 90;

// Every kind of pixel: transparent, opaque, half-transparent, in varied colours.
void PaintBackground(MemoryImage& image)
{
    uint32_t* bits = image.GetBits();
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            constexpr uint32_t kAlphas[] = {0, 255, 128, 37};
            const uint32_t alpha = kAlphas[(x / 3 + y) % 4];
            bits[y * kWidth + x] = alpha << 24 | static_cast<uint32_t>((x * 7) & 0xFF) << 16 |
                                   static_cast<uint32_t>((y * 13) & 0xFF) << 8 | static_cast<uint32_t>((x + y) & 0xFF);
        }
    }
}

struct Case {
    int points;
    bool bold;
    std::wstring text;
    Color color;
    Rect clip;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.points << " points" << (c.bold ? " bold" : "") << ", alpha " << c.color.alpha << ", clip x "
        << c.clip.x << " width " << c.clip.width;
}

class SysFontCoverageTest : public testing::TestWithParam<Case> {
protected:
    SysFontCoverageTest() { Platform::ResetTextService(); }
    ~SysFontCoverageTest() override { Platform::ResetTextService(); }
};

TEST_P(SysFontCoverageTest, DrawsWhatThePerPixelModelDraws)
{
    const Case& c = GetParam();
    SysFont font(kDejaVuFile, c.points, c.bold, false, false);
    MemoryImage drawn;
    drawn.Create(kWidth, kHeight);
    PaintBackground(drawn);
    MemoryImage expected;
    expected.Create(kWidth, kHeight);
    PaintBackground(expected);

    Graphics g(&drawn);
    g.Translate(5, -3);
    const int x = 11;
    const int y = 60;
    font.DrawString(&g, x, y, c.text, c.color, c.clip, 1, 1, 0, kAlignLeft, kAlignBaseline);

    const int left = x + 5;
    const int top = y - font.GetAscent() - 3;
    const Rect area = Rect::Intersection(c.clip, Rect(0, 0, kWidth, kHeight));
    int covered = 0;
    Platform::TextService& service = Platform::GetTextService();
    const Platform::FontHandle handle =
        service.Open(kDejaVuFile, SysFont::PixelSizeForPoints(c.points), c.bold, false, false);
    for (const auto& [at, pixel] : Platform::GlyphCoverageModel(service, handle, c.text)) {
        const int value = std::min(255, pixel.sum);
        const int px = left + at.first;
        const int py = top + at.second;
        if (px < area.x || px >= area.x + area.width || py < area.y || py >= area.y + area.height)
            continue;
        ++covered;
        if (c.color.alpha >= 255 && value == 255) {
            expected.FillRect(Rect(px, py, 1, 1), c.color, DRAWMODE_NORMAL);
        } else {
            const Span span{py, px, 1};
            const uint8_t coverage = static_cast<uint8_t>(value);
            expected.FillScanLinesWithCoverage(&span, 1, c.color, DRAWMODE_NORMAL, &coverage, px, py, 1, 0);
        }
    }
    ASSERT_GT(covered, 50);
    for (int py = 0; py < kHeight; ++py)
        for (int px = 0; px < kWidth; ++px)
            ASSERT_EQ(drawn.GetPixel(px, py), expected.GetPixel(px, py)) << px << "," << py;
}

// A class of its own, so that drawing goes through its fill slots (which it
// inherits) rather than straight into the pixels of a plain memory image.
class SlotDrawnImage : public MemoryImage {};

// The case's text drawn onto a fresh background in image.
void DrawCase(MemoryImage& image, const Case& c)
{
    image.Create(kWidth, kHeight);
    PaintBackground(image);
    SysFont font(kDejaVuFile, c.points, c.bold, false, false);
    Graphics g(&image);
    g.Translate(5, -3);
    font.DrawString(&g, 11, 60, c.text, c.color, c.clip, 1, 1, 0, kAlignLeft, kAlignBaseline);
}

// The fill slots, which other images get, draw what a plain memory image
// draws (which the model above checks).
TEST_P(SysFontCoverageTest, FillSlotsDrawWhatAPlainMemoryImageDraws)
{
    MemoryImage plain;
    DrawCase(plain, GetParam());
    SlotDrawnImage slots;
    DrawCase(slots, GetParam());
    for (int py = 0; py < kHeight; ++py)
        for (int px = 0; px < kWidth; ++px)
            ASSERT_EQ(slots.GetPixel(px, py), plain.GetPixel(px, py)) << px << "," << py;
}

const Rect kEverything(0, 0, kWidth, kHeight);

std::vector<Case> Cases()
{
    std::vector<Case> cases = {
        {12, false, L"The quick brown fox jumps over the lazy dog", Color(200, 180, 40), kEverything},
        {12, false, L"The quick brown fox jumps over the lazy dog", Color(200, 180, 40, 128), kEverything},
        {9, false, L"0123456789 !?()[]{}<>+-*/=%&#@$", Color(255, 255, 255), kEverything},
        // Large bold glyphs have fully covered runs longer than a word of
        // coverage, and the spaces leave long transparent stretches.
        {30, true, L"TEHW  ||| MW          IlIl", Color(10, 250, 90), kEverything},
        {30, true, L"TEHW  ||| MW          IlIl", Color(10, 250, 90, 1), kEverything},
    };
    // Clips that start and end at every offset within a word of coverage.
    for (int shift = 0; shift < 9; ++shift)
        cases.push_back({30, true, L"TEHW ||| MW", Color(0, 0, 255), Rect(23 + shift, 30 + shift, 150 + shift * 5, 25)});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Texts, SysFontCoverageTest, testing::ValuesIn(Cases()));

} // namespace
} // namespace Tandry
