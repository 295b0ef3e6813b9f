// The text service's coverage mask against one built from its glyph
// pictures (each at pen + left and ascent - top, overlaps added and held at
// 255), a mask rendered into storage that held a longer text, and line
// counting at the breaks that CR LF handling could get wrong.
#include "platform/fonts/TextService.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/fonts/BoxTextService.h"
#include "platform/fonts/GlyphCoverageModel.h"

namespace Platform {
namespace {

constexpr const char* kDejaVuFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

class TextServiceRenderTest : public testing::Test {
protected:
    TextServiceRenderTest() { ResetTextService(); }
    ~TextServiceRenderTest() override { ResetTextService(); }
};

// The model mask in the rendered mask's frame, held at 255; counts the pixels that two glyphs share.
std::vector<uint8_t> ModelMask(TextService& service, const FontHandle& font, const std::wstring& text,
                               const CoverageMask& frame, int& shared)
{
    std::vector<uint8_t> mask(static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height), 0);
    shared = 0;
    for (const auto& [at, pixel] : GlyphCoverageModel(service, font, text)) {
        const int mx = at.first - frame.offsetX;
        const int my = at.second - frame.offsetY;
        EXPECT_TRUE(mx >= 0 && mx < frame.width && my >= 0 && my < frame.height) << mx << "," << my;
        if (mx < 0 || mx >= frame.width || my < 0 || my >= frame.height)
            continue;
        mask[static_cast<size_t>(my * frame.width + mx)] = static_cast<uint8_t>(std::min(255, pixel.sum));
        shared += pixel.glyphs > 1 ? 1 : 0;
    }
    return mask;
}

TEST_F(TextServiceRenderTest, MaskIsTheSumOfTheGlyphsHeldAt255)
{
    TextService& service = GetTextService();
    struct Case {
        int pixels;
        bool bold;
        bool italic;
        std::wstring text;
        bool overlaps;
    };
    const Case cases[] = {
        {16, false, false, L"Sphinx of black quartz, judge my vow", false},
        // Overlay marks take no room and are drawn across the character before them.
        {40, true, true, L"fjfj a\u0336b\u0338O\u0336\u0338", true},
    };
    for (const Case& c : cases) {
        const FontHandle font = service.Open(kDejaVuFile, c.pixels, c.bold, c.italic, false);
        const CoverageMask mask = service.Render(font, c.text, 1, 1);
        int shared = 0;
        const std::vector<uint8_t> model = ModelMask(service, font, c.text, mask, shared);
        ASSERT_EQ(mask.pixels.size(), model.size());
        EXPECT_TRUE(mask.pixels == model) << static_cast<int>(c.pixels);
        if (c.overlaps) {
            EXPECT_GT(shared, 0) << "the case must make glyphs overlap";
        }
    }
}

TEST_F(TextServiceRenderTest, AMaskRenderedIntoUsedStorageEqualsAFreshOne)
{
    TextService& service = GetTextService();
    const FontHandle font = service.Open(kDejaVuFile, 20, false, false, true);
    CoverageMask reused;
    service.Render(font, L"a much longer text that leaves coverage behind", 1, 1, reused);
    for (const std::wstring text : {L"ij", L"", L"Wj_"}) {
        service.Render(font, text, 1, 1, reused);
        const CoverageMask fresh = service.Render(font, text, 1, 1);
        EXPECT_EQ(reused.width, fresh.width);
        EXPECT_EQ(reused.height, fresh.height);
        EXPECT_EQ(reused.offsetX, fresh.offsetX);
        EXPECT_EQ(reused.offsetY, fresh.offsetY);
        EXPECT_TRUE(reused.pixels == fresh.pixels);
    }
    // Scaled, the storage is used again too.
    service.Render(font, L"Wj_", 2, 0.5f, reused);
    const CoverageMask scaled = service.Render(font, L"Wj_", 2, 0.5f);
    EXPECT_EQ(reused.width, scaled.width);
    EXPECT_TRUE(reused.pixels == scaled.pixels);
}

TEST_F(TextServiceRenderTest, LineBreaks)
{
    InstallTextService(std::make_unique<BoxTextService>());
    TextService& service = GetTextService();
    const FontHandle font = service.Open("any", 20, false, false, false);
    const int height = service.Metrics(font).height;
    const int advance = service.Measure(font, L"a").width;
    struct Case {
        std::wstring text;
        int lines;
        int widest;
    };
    const std::wstring crSurrogateLf = std::wstring(L"ab\r") + wchar_t(0xD800) + L"\nc";
    const Case cases[] = {
        {L"ab\r\ncd", 2, 2},   {L"ab\r\r\ncde", 3, 3}, {L"a\n\rbcd", 3, 3}, {L"abc\r\n\n", 3, 3},
        {L"\r\n", 2, 0},       {L"\n\n\n", 4, 0},      {L"ab\rc", 2, 2},
        // The lone surrogate is dropped before breaks are seen, so CR and LF meet.
        {crSurrogateLf, 2, 2},
    };
    for (const Case& c : cases) {
        const TextExtent extent = service.Measure(font, c.text);
        EXPECT_EQ(extent.height, c.lines * height) << c.lines;
        EXPECT_EQ(extent.width, c.widest * advance) << c.lines;
    }
}

} // namespace
} // namespace Platform
