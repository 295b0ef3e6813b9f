// The parsed description of a bitmap font: the info and common records, the
// page file names and the glyphs with their kerning. It measures texts and
// draws them from the page images; BMFont and its copies share one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/context/Font.h"
#include "graphics/types/Matrix3x3.h"
#include "graphics/types/Rect.h"
#include "widgets/BMGlyph.h"

namespace Tandry {

class D3DInterface;
class DDImage;
class Graphics;
class GraphicsState;
class MemoryImageStretchBatch;

struct BMFontData {
    // A description may declare at most this many pages.
    static constexpr int kMaxPages = 1024;

    std::string face;
    int size = 0;
    bool bold = false;
    bool italic = false;
    std::string charset;
    bool unicode = false;
    int stretchH = 0;
    bool smooth = false;
    int aa = 0;
    std::array<int, 4> padding{};
    std::array<int, 2> spacing{};
    int lineHeight = 0;
    int base = 0;
    int scaleW = 0;
    int scaleH = 0;
    int packed = 0;
    // By page id; its length is the declared page count.
    std::vector<std::string> pageFiles;
    // Written by Parse, which indexes it; code that changes it afterwards
    // calls IndexGlyphs before measuring or drawing.
    std::map<int, BMGlyph> glyphs;

    // Reads a description; false for a record it does not know (or a page
    // count out of range), with everything read before it kept.
    bool Parse(const uint8_t* bytes, size_t byteCount);
    // Builds the lookup that measuring and drawing find glyphs by; until
    // then, and in a copy until it builds its own, they search the map.
    void IndexGlyphs();
    // The glyph of character c, or null.
    const BMGlyph* FindGlyph(wchar_t c) const;

    // How far the pen moves for c after prev (0: none): -1 without a glyph.
    int Advance(int c, int prev) const;
    // The box of the text at (x, y); vAlign 24 is left to the caller.
    void Measure(FloatRect& out, const std::wstring& text, float x, float y, float scaleX, float scaleY,
                 float extraSpacing, int hAlign, int vAlign) const;
    // Draws every glyph through g's destination, in g's colour, draw mode and
    // clip; d3d (null in 2D) draws the stretched glyphs of a 3D display.
    void Draw(const std::wstring& text, float x, float y, float scaleX, float scaleY, float extraSpacing, int hAlign,
              int vAlign, Graphics* g, const std::vector<DDImage*>& pages, D3DInterface* d3d) const;

    // The 3D matrix of a glyph whose source rectangle src lands on dest,
    // with g's scale about its origin applied.
    static Matrix3x3 GlyphMatrix(const FloatRect& dest, const Rect& src, const GraphicsState& g);

private:
    // Characters of the 16-bit range are found through blocks of 256
    // pointers into glyphs, made only for blocks that hold a glyph; a map
    // search per character cost more than drawing small glyphs.
    static constexpr int kIndexedCodes = 0x10000;
    static constexpr int kBlockCodes = 256;
    using GlyphBlock = std::array<const BMGlyph*, kBlockCodes>;
    // The pointers name the nodes of this object's map: a move takes the
    // nodes along, a copy has nodes of its own and so starts unindexed.
    struct GlyphBlocks {
        GlyphBlocks() = default;
        GlyphBlocks(const GlyphBlocks&) {}
        GlyphBlocks(GlyphBlocks&&) = default;
        GlyphBlocks& operator=(const GlyphBlocks&)
        {
            blocks.clear();
            return *this;
        }
        GlyphBlocks& operator=(GlyphBlocks&&) = default;
        ~GlyphBlocks() = default;
        std::vector<std::unique_ptr<GlyphBlock>> blocks;
    };
    GlyphBlocks mGlyphBlocks;

    bool ParseRecords(const uint8_t* bytes, size_t byteCount);
    // The width of each line, as measuring adds it up.
    std::vector<float> LineWidths(const std::wstring& text, float scaleX, float extraSpacing) const;
    // Glyphs drawn at their own size in 2D go through blits, which draws
    // them as g's destination would.
    void DrawGlyph(const BMGlyph& glyph, const FloatRect& dest, Graphics* g, const std::vector<DDImage*>& pages,
                   D3DInterface* d3d, MemoryImageStretchBatch& blits) const;
};

} // namespace Tandry
