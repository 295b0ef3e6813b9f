// A slow model of the stretched, rotated and anti-aliased drawing into 16-
// and 32-bit surfaces, one pixel at a time, written from the formulas rather
// than from the production code. Surfaces and sources are those of
// SurfaceReference; the rotated model takes its spans from the shared
// rotation geometry, whose own tests hold it.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/display/SurfaceReference.h"
#include "graphics/types/Color.h"
#include "graphics/types/DoubleRect.h"
#include "graphics/types/Rect.h"
#include "graphics/types/Span.h"

namespace SurfaceReference {

// The nearest-pixel stretch of the clipped destination from the source part srcF.
void Stretch(Surface& dest, const Source& src, const Tandry::Rect& clipped, const Tandry::DoubleRect& srcF,
             const Tandry::Color& color, int drawMode, bool mirrored);

void Rotated(Surface& dest, const Source& src, float x, float y, const Tandry::Rect& srcRect,
             const Tandry::Rect& clipRect, const Tandry::Color& color, int drawMode, double angle, float centerX,
             float centerY, bool rgbOrdered);

// The surface's rows are rowLength pixels long (the pitch over the bytes per pixel).
void LineAA(Surface& dest, double x1, double y1, double x2, double y2, const Tandry::Color& color, int rowLength);

void CoverageFill(Surface& dest, const std::vector<Tandry::Span>& spans, const Tandry::Color& color,
                  const uint8_t* coverage, int coverX, int coverY, int coverPitch);

} // namespace SurfaceReference
