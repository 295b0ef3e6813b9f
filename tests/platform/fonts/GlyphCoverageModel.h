// A model of a text's coverage for tests, built from the text service's glyph
// pictures by the layout rule alone: each glyph at pen + left, ascent - top
// of the line's top left, the pen moving by the advance. The text service's
// mask and the system font's drawing are checked against it.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "platform/fonts/TextService.h"

namespace Platform {

struct ModelPixel {
    // The glyphs' coverage added up (not held at 255) and how many glyphs reach the pixel.
    int sum = 0;
    int glyphs = 0;
};

// By (x, y) from the line's top left; characters of the text are single UTF-16 units.
inline std::map<std::pair<int, int>, ModelPixel> GlyphCoverageModel(TextService& service, const FontHandle& font,
                                                                    const std::wstring& text)
{
    const int ascent = service.Metrics(font).ascent;
    std::map<std::pair<int, int>, ModelPixel> pixels;
    int pen = 0;
    for (const wchar_t c : text) {
        GlyphBitmap glyph;
        if (c < 0x20 || !service.Glyph(font, static_cast<uint32_t>(c), glyph))
            continue;
        for (int y = 0; y < glyph.height; ++y) {
            for (int x = 0; x < glyph.width; ++x) {
                const int value = glyph.pixels[static_cast<size_t>(y * glyph.width + x)];
                if (value == 0)
                    continue;
                ModelPixel& pixel = pixels[{pen + glyph.left + x, ascent - glyph.top + y}];
                pixel.sum += value;
                ++pixel.glyphs;
            }
        }
        pen += glyph.advance;
    }
    return pixels;
}

} // namespace Platform
