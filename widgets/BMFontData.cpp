#include "widgets/BMFontData.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "graphics/context/Graphics.h"
#include "graphics/context/GraphicsTrunc.h"
#include "graphics/display/D3DInterface.h"
#include "graphics/display/DDImage.h"
#include "graphics/image/MemoryImageStretchBatch.h"

namespace Tandry {

namespace {

constexpr wchar_t kLineFeed = L'\n';

int ClampToInt(int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

// Kerning of prev before glyph; 0 without a previous character or a pair.
int KerningOf(const BMGlyph& glyph, int prev)
{
    if (prev == 0)
        return 0;
    const auto it = glyph.kerning.find(prev);
    return it == glyph.kerning.end() ? 0 : it->second;
}

// The glyph's picture must lie inside its page: the blits trust their caller.
bool SourceInsidePage(const Rect& src, const Image* page)
{
    return src.width > 0 && src.height > 0 && src.x >= 0 && src.y >= 0 &&
           int64_t{src.x} + src.width <= page->mWidth && int64_t{src.y} + src.height <= page->mHeight;
}

} // namespace

bool BMFontData::Parse(const uint8_t* bytes, size_t byteCount)
{
    const bool parsed = ParseRecords(bytes, byteCount);
    IndexGlyphs();
    return parsed;
}

void BMFontData::IndexGlyphs()
{
    std::vector<std::unique_ptr<GlyphBlock>>& blocks = mGlyphBlocks.blocks;
    blocks.clear();
    blocks.resize(kIndexedCodes / kBlockCodes);
    for (const auto& [code, glyph] : glyphs) {
        if (code < 0 || code >= kIndexedCodes)
            continue;
        std::unique_ptr<GlyphBlock>& block = blocks[static_cast<size_t>(code / kBlockCodes)];
        if (!block)
            block = std::make_unique<GlyphBlock>(GlyphBlock{});
        (*block)[static_cast<size_t>(code % kBlockCodes)] = &glyph;
    }
}

const BMGlyph* BMFontData::FindGlyph(wchar_t c) const
{
    const std::vector<std::unique_ptr<GlyphBlock>>& blocks = mGlyphBlocks.blocks;
    const auto code = static_cast<uint32_t>(c);
    if (code < static_cast<uint32_t>(kIndexedCodes) && !blocks.empty()) {
        const GlyphBlock* block = blocks[code / kBlockCodes].get();
        return block == nullptr ? nullptr : (*block)[code % kBlockCodes];
    }
    const auto it = glyphs.find(static_cast<int>(c));
    return it == glyphs.end() ? nullptr : &it->second;
}

int BMFontData::Advance(int c, int prev) const
{
    const BMGlyph* glyph = FindGlyph(static_cast<wchar_t>(c));
    if (glyph == nullptr)
        return -1;
    return ClampToInt(int64_t{glyph->xadvance} + KerningOf(*glyph, prev));
}

std::vector<float> BMFontData::LineWidths(const std::wstring& text, float scaleX, float extraSpacing) const
{
    std::vector<float> widths;
    float lineWidth = 0.0f;
    int prev = 0;
    for (const wchar_t c : text) {
        if (c == kLineFeed) {
            widths.push_back(lineWidth);
            lineWidth = 0.0f;
            prev = 0;
            continue;
        }
        lineWidth += (static_cast<float>(Advance(c, prev)) + extraSpacing) * scaleX;
        prev = c;
    }
    widths.push_back(lineWidth);
    return widths;
}

void BMFontData::Measure(FloatRect& out, const std::wstring& text, float x, float y, float scaleX, float scaleY,
                         float extraSpacing, int hAlign, int vAlign) const
{
    const std::vector<float> widths = LineWidths(text, scaleX, extraSpacing);
    out.x = x;
    out.y = y;
    // A line of missing glyphs measures below 0; the box does not.
    out.width = std::max(0.0f, *std::max_element(widths.begin(), widths.end()));
    out.height = static_cast<float>(widths.size()) * static_cast<float>(lineHeight) * scaleY;
    // The baseline is left to the caller.
    Font::AlignBox(out, hAlign, vAlign, 0.0f);
}

void BMFontData::Draw(const std::wstring& text, float x, float y, float scaleX, float scaleY, float extraSpacing,
                      int hAlign, int vAlign, Graphics* g, const std::vector<DDImage*>& pages,
                      D3DInterface* d3d) const
{
    const float lineStep = static_cast<float>(lineHeight) * scaleY;

    std::vector<float> lineWidths;
    if (hAlign != kAlignLeft)
        lineWidths = LineWidths(text, scaleX, extraSpacing);
    int lines = 1;
    if (vAlign != kAlignTop)
        lines += static_cast<int>(std::count(text.begin(), text.end(), kLineFeed));

    MemoryImageStretchBatch blits(*g->mDestImage, g->mClipRect, g->mColor, g->mDrawMode, g->mFastStretch);
    float penX = x;
    float lineTop = y;
    int lineIndex = 0;
    int prev = 0;
    bool lineStart = true;
    for (const wchar_t c : text) {
        if (lineStart) {
            lineStart = false;
            penX = x;
            if (hAlign == kAlignRight)
                penX -= lineWidths[static_cast<size_t>(lineIndex)];
            else if (hAlign == kAlignCenter)
                penX -= lineWidths[static_cast<size_t>(lineIndex)] / 2;
            float row = static_cast<float>(lineIndex);
            if (vAlign == kAlignMiddle)
                row -= static_cast<float>(lines / 2);
            else if (vAlign == kAlignBottom)
                row -= static_cast<float>(lines);
            lineTop = y + lineStep * row;
        }
        if (c == kLineFeed) {
            ++lineIndex;
            lineStart = true;
            prev = c;
            continue;
        }
        const BMGlyph* found = FindGlyph(c);
        if (found == nullptr) {
            penX += (extraSpacing - 1.0f) * scaleX;
            prev = c;
            continue;
        }
        const BMGlyph& glyph = *found;
        const int kerning = KerningOf(glyph, prev);
        const FloatRect dest{penX + static_cast<float>(int64_t{glyph.xoffset} + kerning) * scaleX,
                             lineTop + static_cast<float>(glyph.yoffset) * scaleY,
                             static_cast<float>(glyph.width) * scaleX, static_cast<float>(glyph.height) * scaleY};
        DrawGlyph(glyph, dest, g, pages, d3d, blits);
        penX += (extraSpacing + static_cast<float>(int64_t{glyph.xadvance} + kerning)) * scaleX;
        prev = c;
    }
    blits.Flush();
}

Matrix3x3 BMFontData::GlyphMatrix(const FloatRect& dest, const Rect& src, const GraphicsState& g)
{
    Matrix3x3 m;
    m.LoadIdentity();
    m.Scale(dest.width / static_cast<float>(src.width), dest.height / static_cast<float>(src.height));
    m.Translate(dest.x, dest.y);
    if (g.mScaleX != 1.0f || g.mScaleY != 1.0f) {
        const float originX = g.mScaleOrigX - g.mTransX;
        const float originY = g.mScaleOrigY - g.mTransY;
        m.Translate(-originX, -originY);
        m.Scale(g.mScaleX, g.mScaleY);
        m.Translate(originX, originY);
    }
    return m;
}

void BMFontData::DrawGlyph(const BMGlyph& glyph, const FloatRect& dest, Graphics* g,
                           const std::vector<DDImage*>& pages, D3DInterface* d3d,
                           MemoryImageStretchBatch& blits) const
{
    if (glyph.page < 0 || static_cast<size_t>(glyph.page) >= pages.size())
        return;
    DDImage* page = pages[static_cast<size_t>(glyph.page)];
    const Rect src(glyph.x, glyph.y, glyph.width, glyph.height);
    if (page == nullptr || !SourceInsidePage(src, page))
        return;

    if (d3d == nullptr || (dest.width == static_cast<float>(src.width) &&
                           dest.height == static_cast<float>(src.height))) {
        FloatRect r = dest;
        if (g->mScaleX != 1.0f || g->mScaleY != 1.0f) {
            const float originX = g->mScaleOrigX - g->mTransX;
            const float originY = g->mScaleOrigY - g->mTransY;
            r.x = originX + (r.x - originX) * g->mScaleX;
            r.y = originY + (r.y - originY) * g->mScaleY;
            r.width *= g->mScaleX;
            r.height *= g->mScaleY;
        }
        const Rect destRect(TruncToInt(r.x) + TruncToInt(g->mTransX), TruncToInt(r.y) + TruncToInt(g->mTransY),
                            TruncToInt(r.width), TruncToInt(r.height));
        blits.StretchBlt(page, destRect, src);
        return;
    }
    // The device draws in call order too.
    blits.Flush();
    d3d->BltTransformed(page, g->mClipRect, g->mColor, g->mDrawMode, src, GlyphMatrix(dest, src, *g),
                        true);
}

} // namespace Tandry
