#include "widgets/BMFont.h"

#include <gtest/gtest.h>

#include <climits>
#include <cwchar>
#include <string>
#include <vector>

#include "graphics/context/Graphics.h"
#include "graphics/context/RecordingImage.h"
#include "graphics/image/MemoryImage.h"
#include "platform/fs/ScratchFolder.h"
#include "resources/images/ImageWriters.h"
#include "resources/pak/PakInterface.h"
#include "resources/pak/PakWriter.h"
#include "widgets/FakeWidgetHost.h"

namespace Tandry {

// Readable failure messages (the graphics tests have their own).
void PrintTo(const Rect& r, std::ostream* os)
{
    *os << "Rect(" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << ")";
}

namespace {

using TestSupport::ScratchFolder;
using TestSupport::WriteFile;

// Two glyphs on one 64 x 32 page, with A V kerned by -2; lines end with LF
// and are turned to CR LF where a test wants that.
const std::string kDescription =
    "info face=\"Test Face\" size=12 bold=1 italic=0 charset=\"\" unicode=1 stretchH=100 smooth=1 aa=1 "
    "padding=1,2,3,4 spacing=5,6\n"
    "common lineHeight=14 base=11 scaleW=64 scaleH=32 pages=1 packed=0\n"
    "page id=0 file=\"page.png\"\n"
    "chars count=2\n"
    "char id=65 x=0 y=0 width=8 height=10 xoffset=1 yoffset=2 xadvance=10 page=0 chnl=15\n"
    "char id=86 x=8 y=0 width=8 height=10 xoffset=0 yoffset=3 xadvance=9 page=0 chnl=15\n"
    "kernings count=1\n"
    "kerning first=65 second=86 amount=-2\n";

std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

bool ParseText(BMFontData& data, const std::string& text)
{
    return data.Parse(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

// Pages made by the test: 64 x 32 of opaque white, or the size a path asks for.
bool MakePage(const std::string&, DDImage& image)
{
    image.Create(64, 32);
    uint32_t* bits = image.GetBits();
    for (int i = 0; i < 64 * 32; ++i)
        bits[i] = 0xFFFFFFFFu;
    return true;
}

class BMFontTest : public testing::Test {
protected:
    BMFontTest() { mHost.make = MakePage; }

    // Writes the description into the scratch folder and loads it.
    std::unique_ptr<BMFont> Load(const std::string& text, const std::string& name = "font.fnt")
    {
        WriteFile(mFolder.Path() / name, text);
        return std::make_unique<BMFont>(mFolder / name);
    }

    ScratchFolder mFolder;
    FakeWidgetHost mHost;
};

TEST(BMFontData, ReadsEveryField)
{
    BMFontData data;
    ASSERT_TRUE(ParseText(data, kDescription));
    EXPECT_EQ(data.face, "Test Face");
    EXPECT_EQ(data.size, 12);
    EXPECT_TRUE(data.bold);
    EXPECT_FALSE(data.italic);
    EXPECT_TRUE(data.unicode);
    EXPECT_EQ(data.stretchH, 100);
    EXPECT_EQ(data.padding, (std::array<int, 4>{1, 2, 3, 4}));
    EXPECT_EQ(data.spacing, (std::array<int, 2>{5, 6}));
    EXPECT_EQ(data.lineHeight, 14);
    EXPECT_EQ(data.base, 11);
    EXPECT_EQ(data.scaleW, 64);
    EXPECT_EQ(data.pageFiles, std::vector<std::string>{"page.png"});
    ASSERT_EQ(data.glyphs.size(), 2u);
    const BMGlyph& v = data.glyphs.at('V');
    EXPECT_EQ(v.x, 8);
    EXPECT_EQ(v.yoffset, 3);
    EXPECT_EQ(v.xadvance, 9);
    EXPECT_EQ(v.chnl, 15);
    EXPECT_EQ(v.kerning, (std::map<int, int>{{'A', -2}}));
}

TEST(BMFontData, ParseTable)
{
    const std::string common = "common lineHeight=14 base=11 pages=1\r\n";
    const std::string longInfo = "info" + std::string(490, ' ') + "size=7";  // 500 bytes
    const struct {
        const char* name;
        std::string text;
        bool loaded;
        std::string face;
        int size;
    } cases[] = {
        {"empty third line ends parsing", "info face=A size=5\r\n" + common + "\r\nbogus line\r\n", true, "A", 5},
        {"quoted two-word face", "info face=\"Two Words\" size=9\r\n", true, "Two Words", 9},
        {"unterminated quote runs to the end", "info size=3 face=\"Open Quote", true, "Open Quote", 3},
        {"unknown tag fails", "info size=5\r\nglyph id=1\r\n", false, "", 5},
        {"tags are case-sensitive", "Info size=5\r\n", false, "", 0},
        {"line of blanks fails", "info size=5\r\n \t \r\n", false, "", 5},
        {"missing key reads 0", "info face=x\r\n", true, "x", 0},
        {"saturates high", "info size=99999999999\r\n", true, "", INT_MAX},
        {"saturates low", "info size=-99999999999\r\n", true, "", INT_MIN},
        {"leading integer only", "info size=12px\r\n", true, "", 12},
        {"lone LF ends a line", "info size=4\ncommon pages=0\n", true, "", 4},
        {"the byte after CR is dropped", "info size=4\rXcommon pages=0\r\n", true, "", 4},
        {"the byte after CR is dropped even when it matters", "info size=4\rcommon pages=0\r\n", false, "", 4},
        {"a 500-byte line stays whole", longInfo + "\r\n", true, "", 7},
        {"a longer line is split", "info" + std::string(497, ' ') + "size=7\r\n", false, "", 0},
        {"pages above 1024 fail", "common pages=1025\r\n", false, "", 0},
        {"pages below 0 fail", "common pages=-1\r\n", false, "", 0},
        {"an empty file parses", "", true, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BMFontData data;
        EXPECT_EQ(ParseText(data, c.text), c.loaded);
        EXPECT_EQ(data.face, c.face);
        EXPECT_EQ(data.size, c.size);
    }
}

TEST(BMFontData, PageAndKerningRecordsOutsideTheFontAreIgnored)
{
    BMFontData data;
    ASSERT_TRUE(ParseText(data, "common pages=2\n"
                                "page id=2 file=\"far.png\"\n"
                                "page id=-1 file=\"neg.png\"\n"
                                "page id=1 file=\"one.png\"\n"
                                "char id=65 xadvance=10\n"
                                "kerning first=65 second=66 amount=5\n"
                                "kerning first=66 second=65 amount=-3\n"
                                "kerning first=66 second=65 amount=7\n"));
    EXPECT_EQ(data.pageFiles, (std::vector<std::string>{"", "one.png"}));
    EXPECT_EQ(data.glyphs.size(), 1u);
    EXPECT_EQ(data.glyphs.at('A').kerning, (std::map<int, int>{{'B', -3}}));
    BMFontData limit;
    EXPECT_TRUE(ParseText(limit, "common pages=1024\n"));
    EXPECT_EQ(limit.pageFiles.size(), 1024u);
}

// Glyphs of the 16-bit range are found through the index, others in the map;
// a copy, a copy assigned over an indexed font and a moved font find the
// same glyphs, and a glyph added later is found once the font is indexed again.
TEST(BMFontData, FindsEveryGlyphWhateverItsCode)
{
    const std::string text = "char id=0 xadvance=1\nchar id=65 xadvance=2\nchar id=255 xadvance=3\n"
                             "char id=256 xadvance=4\nchar id=65535 xadvance=5\nchar id=65536 xadvance=6\n"
                             "char id=128512 xadvance=7\nchar id=-3 xadvance=8\n";
    const struct {
        int code;
        int advance;
    } cases[] = {{0, 1},  {65, 2},    {255, 3},    {256, 4},  {65535, 5}, {65536, 6}, {128512, 7},
                 {-3, 8}, {66, -1},   {257, -1},   {512, -1}, {65534, -1}, {65537, -1}, {-4, -1}};
    BMFontData data;
    ASSERT_TRUE(ParseText(data, text));
    BMFontData source;
    ASSERT_TRUE(ParseText(source, text));
    const BMFontData copy = data;
    BMFontData assigned;
    ASSERT_TRUE(ParseText(assigned, "char id=66 xadvance=20\n"));
    assigned = data;
    const BMFontData moved(std::move(source));
    for (const auto& c : cases) {
        EXPECT_EQ(data.Advance(c.code, 0), c.advance) << c.code;
        EXPECT_EQ(copy.Advance(c.code, 0), c.advance) << c.code;
        EXPECT_EQ(assigned.Advance(c.code, 0), c.advance) << c.code;
        EXPECT_EQ(moved.Advance(c.code, 0), c.advance) << c.code;
    }
    data.glyphs[66].xadvance = 9;
    data.IndexGlyphs();
    EXPECT_EQ(data.Advance(66, 0), 9);
    EXPECT_EQ(data.Advance(65, 0), 2);
}

TEST(BMFontData, MeasuresWithKerningSpacingAndMissingGlyphs)
{
    BMFontData data;
    ASSERT_TRUE(ParseText(data, kDescription));
    const auto width = [&](const std::wstring& text, float scaleX, float spacing) {
        FloatRect r;
        data.Measure(r, text, 0, 0, scaleX, 1.0f, spacing, 0, 0);
        return r.width;
    };
    EXPECT_EQ(width(L"AV", 1, 0), width(L"A", 1, 0) + width(L"V", 1, 0) - 2);
    EXPECT_EQ(width(L"VA", 1, 0), 19);
    EXPECT_EQ(width(L"x", 1, 0), 0);
    EXPECT_EQ(width(L"", 1, 0), 0);
    // Each missing glyph inside a text takes (spacing - 1) x scaleX.
    EXPECT_EQ(width(L"AxA", 2, 3), (10 + 3) * 2 + (3 - 1) * 2 + (10 + 3) * 2);
    EXPECT_EQ(width(L"AxxA", 1, 0), 10 - 1 - 1 + 10);
    // A line feed breaks the kerning pair and starts a new line.
    EXPECT_EQ(width(L"A\nV", 1, 0), 10);

    FloatRect r;
    data.Measure(r, L"AV\nA", 100, 50, 1, 2, 0, kAlignCenter, kAlignBottom);
    EXPECT_EQ(r.width, 17);
    EXPECT_EQ(r.height, 2 * 14 * 2);
    EXPECT_EQ(r.x, 100 - 8.5f);
    EXPECT_EQ(r.y, 50 - 56);
    // Measuring leaves the baseline alignment to the font.
    data.Measure(r, L"A", 100, 50, 1, 1, 0, kAlignRight, kAlignBaseline);
    EXPECT_EQ(r.x, 90);
    EXPECT_EQ(r.y, 50);
}

TEST_F(BMFontTest, LoadsFromDiskWithCrLfOrLfLines)
{
    for (const std::string& text : {kDescription, WithCrLf(kDescription)}) {
        const std::unique_ptr<BMFont> font = Load(text);
        EXPECT_TRUE(font->IsLoaded());
        EXPECT_EQ(font->GetAscent(), 11);
        EXPECT_EQ(font->GetHeight(), 12);
        EXPECT_EQ(font->GetLineSpacingOffset(), 0);
        EXPECT_EQ(font->StringWidth(std::wstring(L"AV"), 1, 1, 0), 17);
        EXPECT_EQ(font->Data().glyphs.size(), 2u);
    }
}

TEST_F(BMFontTest, LoadsFromAPackMember)
{
    PakInterface* pak = GetSharedPakInterface();
    for (const std::string& text : {kDescription, WithCrLf(kDescription)}) {
        pak->Reset();
        std::vector<PakWriteEntry> entries;
        entries.push_back(PakWriteEntry::FromBytes("FONTS\\PACKED.FNT", std::vector<uint8_t>(text.begin(), text.end())));
        std::vector<uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(WritePakToMemory(entries, bytes, error)) << error;
        ASSERT_TRUE(pak->AddPakMemory("fonts.pak", std::move(bytes)));
        BMFont font("fonts\\packed.fnt");
        EXPECT_TRUE(font.IsLoaded());
        EXPECT_EQ(font.Data().glyphs.size(), 2u);
        EXPECT_EQ(font.StringWidth(std::wstring(L"AVA"), 1, 1, 0), 27);
    }
    pak->Reset();
    EXPECT_EQ(mHost.paths.back(), "fonts\\page.png");
}

TEST_F(BMFontTest, AMissingFileGivesAnUnloadedFontWithoutPages)
{
    BMFont font(mFolder / "none.fnt");
    EXPECT_FALSE(font.IsLoaded());
    EXPECT_TRUE(font.Pages().empty());
    EXPECT_TRUE(mHost.paths.empty());
}

TEST_F(BMFontTest, PagesLoadFromTheDescriptionsFolderEvenAfterAFailure)
{
    const std::unique_ptr<BMFont> font =
        Load("common pages=3\npage id=0 file=\"a.png\"\npage id=2 file=\"c.png\"\nwhat now\n", "sub/f.fnt");
    EXPECT_FALSE(font->IsLoaded());
    // The page without a file name loads nothing.
    EXPECT_EQ(mHost.paths, (std::vector<std::string>{mFolder / "sub/a.png", mFolder / "sub/c.png"}));
    EXPECT_EQ(mHost.commits, (std::vector<bool>{true, true}));
    ASSERT_EQ(font->Pages().size(), 3u);
    EXPECT_NE(font->Pages()[0], nullptr);
    EXPECT_EQ(font->Pages()[1], nullptr);
}

TEST_F(BMFontTest, PagesLoadThroughTheImageLoader)
{
    // The host's own loader reads the page file that the description names.
    mHost.make = nullptr;
    std::vector<uint32_t> pixels(64 * 32);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = 0xFF000000u | static_cast<uint32_t>(i);
    ASSERT_TRUE(SavePngToFile(mFolder / "page.png", ImageLib::ImageView{64, 32, pixels.data()}));
    const std::unique_ptr<BMFont> font = Load(kDescription);
    EXPECT_EQ(mHost.paths, std::vector<std::string>{mFolder / "page.png"});
    ASSERT_EQ(mHost.handedOut, 1);
    DDImage* page = font->Pages()[0];
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetPixel(5, 3), 0xFF000000u | (3 * 64 + 5));
}

TEST_F(BMFontTest, CopiesShareThePagesAndTheLastOneDeletesThem)
{
    std::unique_ptr<BMFont> font = Load(kDescription);
    ASSERT_EQ(mHost.handedOut, 1);
    std::unique_ptr<Font> copy(font->Duplicate());
    std::unique_ptr<Font> copyOfCopy(copy->Duplicate());
    auto* bm = dynamic_cast<BMFont*>(copyOfCopy.get());
    ASSERT_NE(bm, nullptr);
    EXPECT_EQ(bm->Pages(), font->Pages());
    EXPECT_EQ(&bm->Data(), &font->Data());
    EXPECT_TRUE(bm->IsLoaded());
    EXPECT_EQ(bm->GetAscent(), 11);

    font.reset();
    copy.reset();
    EXPECT_EQ(*mHost.deleted, 0);
    EXPECT_EQ(bm->StringWidth(std::wstring(L"AV"), 1, 1, 0), 17);
    copyOfCopy.reset();
    EXPECT_EQ(*mHost.deleted, 1);
    EXPECT_EQ(mHost.handedOut, 1);
}

TEST_F(BMFontTest, GlyphBlitsCarryTheRectanglesColourClipScaleAndTranslation)
{
    const std::unique_ptr<BMFont> font = Load(kDescription);
    DDImage* page = font->Pages()[0];
    RecordingImage dest(300, 200);
    Graphics g(&dest);
    g.mTransX = 20.7f;
    g.mTransY = 10.2f;
    g.SetFastStretch(true);
    g.SetDrawMode(DRAWMODE_ADDITIVE);
    const Rect oldClip = g.mClipRect;
    const Color color(10, 20, 30, 40);

    font->DrawString(&g, 5, 7, std::wstring(L"AV"), color, Rect(1, 2, 100, 90), 1, 1, 0, 0, 0);
    ASSERT_EQ(dest.calls.size(), 2u);
    const SlotCall& a = dest.calls[0];
    EXPECT_EQ(a.slot, Slot::StretchBlt);
    EXPECT_EQ(a.src, page);
    EXPECT_EQ(a.rect, Rect(5 + 1 + 20, 7 + 2 + 10, 8, 10));
    EXPECT_EQ(a.srcRect, Rect(0, 0, 8, 10));
    EXPECT_EQ(a.clip, Rect(1, 2, 100, 90));
    EXPECT_EQ(a.color, color);
    EXPECT_EQ(a.drawMode, DRAWMODE_ADDITIVE);
    EXPECT_TRUE(a.flag);
    // V follows A's advance and is kerned by -2, also in its offset.
    EXPECT_EQ(dest.calls[1].rect, Rect(5 + 10 - 2 + 0 + 20, 7 + 3 + 10, 8, 10));
    EXPECT_EQ(dest.calls[1].srcRect, Rect(8, 0, 8, 10));
    // Clip and colourising come back; the colour stays the text colour.
    EXPECT_EQ(g.mClipRect, oldClip);
    EXPECT_FALSE(g.mColorizeImages);
    EXPECT_EQ(g.mColor, color);

    // Font scale and spacing stretch the glyphs; g's scale works about its origin.
    dest.calls.clear();
    g.mTransX = 0;
    g.mTransY = 0;
    g.SetScale(2.0f, 3.0f, 100.0f, 50.0f);
    font->DrawString(&g, 100, 50, std::wstring(L"VA"), color, Rect(0, 0, 300, 200), 1.5f, 0.5f, 1.0f, 0, 0);
    ASSERT_EQ(dest.calls.size(), 2u);
    // V: (100 + 0, 50 + 1.5, 12, 5) about (100, 50) -> (100, 54.5, 24, 15).
    EXPECT_EQ(dest.calls[0].rect, Rect(100, 54, 24, 15));
    // A: pen 100 + (1 + 9) x 1.5 = 115, + 1 x 1.5 -> 116.5; y 50 + 1.
    EXPECT_EQ(dest.calls[1].rect, Rect(133, 53, 24, 15));
}

TEST_F(BMFontTest, AlignmentOfLines)
{
    const std::unique_ptr<BMFont> font = Load(kDescription);
    RecordingImage dest(300, 200);
    Graphics g(&dest);
    // "AV" is 17 wide, "A" 10: each line centred on x 100.
    font->DrawString(&g, 100, 60, std::wstring(L"AV\nA"), Color(), g.mClipRect, 1, 1, 0, kAlignCenter,
                     kAlignBaseline);
    ASSERT_EQ(dest.calls.size(), 3u);
    // First line's top at y - base = 49; A's xoffset 1, yoffset 2.
    // 100 - 8.5 + 1 truncates to 92.
    EXPECT_EQ(dest.calls[0].rect, Rect(92, 49 + 2, 8, 10));
    EXPECT_EQ(dest.calls[2].rect, Rect(100 - 5 + 1, 49 + 14 + 2, 8, 10));

    dest.calls.clear();
    font->DrawString(&g, 100, 60, std::wstring(L"A\nA\nA"), Color(), g.mClipRect, 1, 1, 0, kAlignRight,
                     kAlignBottom);
    ASSERT_EQ(dest.calls.size(), 3u);
    EXPECT_EQ(dest.calls[0].rect, Rect(91, 60 - 42 + 2, 8, 10));
    EXPECT_EQ(dest.calls[2].rect, Rect(91, 60 - 14 + 2, 8, 10));

    dest.calls.clear();
    font->DrawString(&g, 100, 60, std::wstring(L"A\nA\nA"), Color(), g.mClipRect, 1, 1, 0, 0, kAlignMiddle);
    EXPECT_EQ(dest.calls[0].rect.y, 60 - 14 + 2);
}

TEST_F(BMFontTest, GlyphsOutsideTheirPagesDrawNothing)
{
    // A on a page that does not exist, B on a page that failed to load, C
    // outside its page, D of no size; E is fine.
    mHost.make = [](const std::string& path, DDImage& image) {
        if (path.find("missing") != std::string::npos)
            return false;
        return MakePage(path, image);
    };
    const std::unique_ptr<BMFont> font = Load("common lineHeight=10 base=8 pages=2\n"
                                              "page id=0 file=\"good.png\"\n"
                                              "page id=1 file=\"missing.png\"\n"
                                              "page id=5 file=\"far.png\"\n"
                                              "char id=65 width=4 height=4 xadvance=5 page=5\n"
                                              "char id=66 width=4 height=4 xadvance=5 page=1\n"
                                              "char id=67 x=60 y=30 width=5 height=4 xadvance=5 page=0\n"
                                              "char id=68 x=1 width=0 height=4 xadvance=5 page=0\n"
                                              "char id=69 x=-1 width=4 height=4 xadvance=5 page=0\n"
                                              "char id=70 x=60 y=28 width=4 height=4 xadvance=5 page=0\n");
    ASSERT_TRUE(font->IsLoaded());
    RecordingImage dest(100, 100);
    Graphics g(&dest);
    font->DrawString(&g, 0, 0, std::wstring(L"ABCDEF"), Color(), g.mClipRect, 1, 1, 0, 0, 0);
    ASSERT_EQ(dest.calls.size(), 1u);
    EXPECT_EQ(dest.calls[0].srcRect, Rect(60, 28, 4, 4));
    // The pen still moves for every glyph.
    EXPECT_EQ(dest.calls[0].rect.x, 25);
    EXPECT_EQ(font->StringWidth(std::wstring(L"ABCDEF"), 1, 1, 0), 30);

    MemoryImage memory;
    memory.Create(40, 20);
    Graphics onMemory(&memory);
    font->DrawString(&onMemory, 0, 0, std::wstring(L"ABCDE"), Color(255, 255, 255), onMemory.mClipRect, 1, 1, 0,
                     0, 0);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(memory.GetPixel(x, y), 0u) << x << "," << y;
}

TEST_F(BMFontTest, WhiteGlyphsCopyTheirPagePixelsOntoAMemoryImage)
{
    mHost.make = [](const std::string&, DDImage& image) {
        image.Create(16, 10);
        uint32_t* bits = image.GetBits();
        for (int i = 0; i < 160; ++i)
            bits[i] = (i % 3 == 0) ? 0xFFFFFFFFu : 0u;
        return true;
    };
    const std::unique_ptr<BMFont> font = Load(kDescription);
    MemoryImage memory;
    memory.Create(40, 30);
    Graphics g(&memory);
    g.SetFastStretch(true);
    font->DrawString(&g, 3, 4, std::wstring(L"A"), Color(255, 255, 255), g.mClipRect, 1, 1, 0, 0, 0);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const int sx = x - 3 - 1;
            const int sy = y - 4 - 2;
            const bool inside = sx >= 0 && sx < 8 && sy >= 0 && sy < 10;
            // White over transparent black by the blits' source-over rule:
            // the share of an opaque source is 255, so each channel is
            // (0 * (256 - 255) + 255 * 255) >> 8.
            const uint32_t blended = 0xFF000000u | ((255u * 255u) >> 8) * 0x010101u;
            const uint32_t expected = inside && (sy * 16 + sx) % 3 == 0 ? blended : 0u;
            ASSERT_EQ(memory.GetPixel(x, y), expected) << x << "," << y;
        }
    }
}

// A memory image of a class of its own: the font draws each glyph through
// its StretchBlt, one call per glyph, onto the same pixel code.
class OneCallPerGlyphImage : public MemoryImage {};

// Mixed alphas and channels from a fixed seed, so that blending shows.
void FillPattern(MemoryImage& image, uint32_t seed)
{
    uint32_t* bits = image.GetBits();
    for (int i = 0; i < image.mWidth * image.mHeight; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const uint32_t alpha = (seed >> 8) % 3 == 0 ? 0u : (seed >> 8) % 3 == 1 ? 255u : (seed >> 24);
        bits[i] = alpha << 24 | (seed & 0xFFFFFFu);
    }
    image.MarkBitsChanged();
}

// Drawing onto a plain memory image gives the pixels of drawing glyph by
// glyph: clipped glyphs, glyphs past every edge, kerned and overlapping
// glyphs, two pages, several lines, colours, scales and stretch modes.
TEST_F(BMFontTest, TextOnAMemoryImageMatchesDrawingGlyphByGlyph)
{
    mHost.make = [](const std::string& path, DDImage& image) {
        image.Create(64, 32);
        FillPattern(image, path.find("second") == std::string::npos ? 7u : 99u);
        return true;
    };
    // B on the second page; V kerned after A and B so far that they overlap.
    const std::unique_ptr<BMFont> font =
        Load("common lineHeight=14 base=11 scaleW=64 scaleH=32 pages=2\n"
             "page id=0 file=\"page.png\"\n"
             "page id=1 file=\"second.png\"\n"
             "char id=65 x=0 y=0 width=8 height=10 xoffset=1 yoffset=2 xadvance=10 page=0\n"
             "char id=86 x=8 y=0 width=8 height=10 xoffset=0 yoffset=3 xadvance=9 page=0\n"
             "char id=66 x=20 y=5 width=13 height=12 xoffset=-1 yoffset=0 xadvance=11 page=1\n"
             "char id=67 x=40 y=20 width=9 height=12 xoffset=0 yoffset=1 xadvance=3 page=0\n"
             "kerning first=65 second=86 amount=-6\n"
             "kerning first=66 second=86 amount=-4\n");
    ASSERT_TRUE(font->IsLoaded());
    const std::wstring kLong = std::wstring(L"AVBC").append(200, L'C');
    const struct {
        const wchar_t* text;
        int x, y;
        Rect clip;
        Color color;
        float scale;
        bool fast;
    } cases[] = {
        {L"AVBCAVBC", 3, 4, Rect(0, 0, 60, 40), Color(255, 255, 255), 1, true},
        {L"AVBCAVBC", -5, -6, Rect(0, 0, 60, 40), Color(255, 255, 255), 1, true},
        {L"CCBBVVAA", 40, 30, Rect(0, 0, 60, 40), Color(255, 255, 255), 1, true},
        {L"AVB\nBVA\nCCC", 10, 2, Rect(7, 5, 31, 19), Color(255, 255, 255), 1, true},
        {L"AVBC", 2, 2, Rect(20, 0, 0, 40), Color(255, 255, 255), 1, true},
        {L"AVBC", 2, 2, Rect(-10, -10, 200, 200), Color(255, 255, 255), 1, true},
        {L"AVBC", 2, 2, Rect(0, 0, 60, 40), Color(255, 255, 254), 1, true},
        {L"AVBC", 2, 2, Rect(0, 0, 60, 40), Color(255, 255, 255, 200), 1, true},
        {L"AVBC", 2, 2, Rect(0, 0, 60, 40), Color(400, 300, 256, 999), 1, true},
        {L"AVBC", 2, 2, Rect(0, 0, 60, 40), Color(255, 255, 255), 1, false},
        {L"AVBC", 2, 2, Rect(0, 0, 60, 40), Color(255, 255, 255), 1.5f, true},
        {kLong.c_str(), -3, 20, Rect(0, 0, 60, 40), Color(255, 255, 255), 1, true},
    };
    for (const auto& c : cases) {
        MemoryImage plain;
        plain.Create(60, 40);
        FillPattern(plain, 5);
        OneCallPerGlyphImage perGlyph;
        perGlyph.Create(60, 40);
        FillPattern(perGlyph, 5);
        const int changes = plain.mChangeCount;
        for (MemoryImage* image : {static_cast<MemoryImage*>(&plain), static_cast<MemoryImage*>(&perGlyph)}) {
            Graphics g(image);
            g.SetFastStretch(c.fast);
            font->DrawString(&g, c.x, c.y, std::wstring(c.text), c.color, c.clip, c.scale, c.scale, 0, 0, 0);
        }
        const std::vector<uint32_t> expected(perGlyph.GetBits(), perGlyph.GetBits() + 60 * 40);
        const std::vector<uint32_t> drawn(plain.GetBits(), plain.GetBits() + 60 * 40);
        EXPECT_EQ(drawn, expected) << "text " << std::string(c.text, c.text + std::wcslen(c.text)) << " at "
                                   << c.x << "," << c.y;
        if (drawn != expected || c.clip.width == 0)
            continue;
        EXPECT_GT(plain.mChangeCount, changes);
    }
}

TEST(BMFontData, GlyphMatrixComposesTheStepsInOrder)
{
    GraphicsState g;
    g.mTransX = 5.0f;
    g.mTransY = 7.0f;
    g.mScaleX = 2.0f;
    g.mScaleY = 4.0f;
    g.mScaleOrigX = 25.0f;
    g.mScaleOrigY = 17.0f;
    const FloatRect dest{30.0f, 40.0f, 16.0f, 5.0f};
    const Rect src(3, 4, 8, 10);
    const Matrix3x3 m = BMFontData::GlyphMatrix(dest, src, g);
    // By hand: a source point p maps to ((p * ratio + dest) - o) * s + o with
    // o = origin - translation = (20, 10), ratio = (2, 0.5). In the matrix
    // form of this project (column vectors, this = step * this):
    // x' = 2 * (2x + 30 - 20) + 20 = 4x + 40; y' = 4 * (0.5y + 40 - 10) + 10 = 2y + 130.
    const float expected[3][3] = {{4, 0, 40}, {0, 2, 130}, {0, 0, 1}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_FLOAT_EQ(m.m[r][c], expected[r][c]) << r << "," << c;

    g.mScaleX = 1.0f;
    g.mScaleY = 1.0f;
    const Matrix3x3 plain = BMFontData::GlyphMatrix(dest, src, g);
    const float expectedPlain[3][3] = {{2, 0, 30}, {0, 0.5f, 40}, {0, 0, 1}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_FLOAT_EQ(plain.m[r][c], expectedPlain[r][c]) << r << "," << c;
}

} // namespace
} // namespace Tandry
