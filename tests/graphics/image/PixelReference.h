// A slow model of the software drawing of memory images, one pixel at a time
// with plain integer division, written from the drawing formulas rather than
// from the production code, so that lane tricks and vector code in the real
// routines cannot drift from them unnoticed. Pictures are plain word arrays;
// colours are clamped to 0..255 first, as the routines do.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "graphics/types/Color.h"
#include "graphics/types/DoubleRect.h"
#include "graphics/types/Rect.h"
#include "graphics/types/Span.h"

namespace PixelReference {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> px;

    uint32_t& At(int x, int y) { return px[static_cast<size_t>(y) * width + x]; }
    uint32_t At(int x, int y) const { return px[static_cast<size_t>(y) * width + x]; }
};

// A source picture as the blits see it: its words (through the colour table
// when palettised, which the caller resolves) and its partial-alpha flag.
struct Source {
    Picture picture;
    bool hasAlpha = false;
};

Tandry::Color Clamped(const Tandry::Color& c);

void FillRect(Picture& dest, const Tandry::Rect& rect, const Tandry::Color& color);
void FillScanLinesWithCoverage(Picture& dest, const Tandry::Span* spans, int count, const Tandry::Color& color,
                               const uint8_t* coverage, int coverageX, int coverageY, int coveragePitch);
void DrawLine(Picture& dest, double x1, double y1, double x2, double y2, const Tandry::Color& color, int drawMode);
void DrawLineAA(Picture& dest, double x1, double y1, double x2, double y2, const Tandry::Color& color,
                int drawMode);

// destHasAlpha and destHasTrans are the destination's flags as they stand.
void Blt(Picture& dest, bool destHasAlpha, bool destHasTrans, const Source& src, int x, int y,
         const Tandry::Rect& srcRect, const Tandry::Color& color, int drawMode);

void StretchBltFast(Picture& dest, const Source& src, const Tandry::Rect& clipped, const Tandry::DoubleRect& srcF,
                    const Tandry::Color& color);
void StretchBltFiltered(Picture& dest, const Source& src, const Tandry::Rect& clipped,
                        const Tandry::DoubleRect& srcF);

void BltRotated(Picture& dest, const Source& src, float x, float y, const Tandry::Rect& srcRect,
                const Tandry::Rect& clipRect, const Tandry::Color& color, int drawMode, double angle, float centerX,
                float centerY);

} // namespace PixelReference
