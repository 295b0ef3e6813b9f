// One glyph of a bitmap font: where its picture lies on a page image, where
// that picture goes relative to the pen and the line top, how far the pen
// moves, and the kerning amounts for the characters that may precede it.
// Part of the parsed description that BMFont copies share.
#pragma once

#include <map>

namespace Tandry {

struct BMGlyph {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int xoffset = 0;
    int yoffset = 0;
    int xadvance = 0;
    int page = 0;
    int chnl = 0;
    // Code of the preceding character -> amount added to this glyph's advance.
    std::map<int, int> kerning;
};

} // namespace Tandry
