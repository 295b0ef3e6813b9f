// A slow model of the software drawing into 16- and 32-bit surfaces, one
// pixel at a time, transcribed from the blit, fill and line formulas rather
// than from the production code. Surfaces are plain arrays of stored words
// (one per pixel, row after row); sources carry their ARGB words, from which
// the model computes the premultiplied display words and the run tables itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

namespace SurfaceReference {

// A surface layout: depth and masks; bit counts and shifts follow from the masks.
struct Layout {
    int bits = 32;
    uint32_t red = 0xFF0000;
    uint32_t green = 0xFF00;
    uint32_t blue = 0xFF;
};

struct Surface {
    Layout layout;
    int width = 0;
    int height = 0;
    std::vector<uint32_t> words;

    uint32_t& At(int x, int y) { return words[static_cast<size_t>(y) * width + x]; }
};

struct Source {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;
    bool hasTrans = false;
    bool hasAlpha = false;
    bool isVolatile = false;
};

// The premultiplied word of an ARGB pixel in the layout.
uint32_t DisplayWord(const Layout& layout, uint32_t argb);

// SurfaceBlt's software paths (raw, copy, compositing); rgbOrdered is the display's channel order flag.
void Blt(Surface& dest, const Source& src, int x, int y, const Tandry::Rect& srcRect, const Tandry::Color& color,
         bool rgbOrdered);
void BltMirror(Surface& dest, const Source& src, int x, int y, const Tandry::Rect& srcRect,
               const Tandry::Color& color);
void BltAdditive(Surface& dest, const Source& src, int x, int y, const Tandry::Rect& srcRect,
                 const Tandry::Color& color, bool mirror);

void FillRect(Surface& dest, const Tandry::Rect& rect, const Tandry::Color& color);
void FillRectAdditive(Surface& dest, const Tandry::Rect& rect, const Tandry::Color& color);
void DrawLine(Surface& dest, double x1, double y1, double x2, double y2, const Tandry::Color& color);
void DrawLineAdditive(Surface& dest, double x1, double y1, double x2, double y2, const Tandry::Color& color);

// The pixels a line plots, in order.
std::vector<std::pair<int, int>> LinePixels(double x1, double y1, double x2, double y2);

} // namespace SurfaceReference
