// Coverage for the Direct3D stand-in's device. Triangles are clipped to the
// viewport in double precision, snapped to 1/256 pixel and covered by exact
// 64-bit edge tests with the top-left fill rule (pixel centres at integers);
// their attributes are one plane per triangle, evaluated at pixel centres.
// Segments follow the diamond-exit rule, points take the nearest pixel.
#pragma once

#include "platform/ddraw/DDrawTypes.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Platform {

// Diffuse blue, green, red, alpha; specular blue, green, red, alpha; u; v.
inline constexpr int kD3DAttributes = 10;
inline constexpr int kD3DSpecular = 4;
inline constexpr int kD3DTexU = 8;
inline constexpr int kD3DTexV = 9;

struct D3DRasterVertex {
    double x = 0.0;
    double y = 0.0;
    std::array<double, kD3DAttributes> attributes{};
};

// attribute(x, y) = base + dx * (x - originX) + dy * (y - originY).
struct D3DAttributePlane {
    double originX = 0.0;
    double originY = 0.0;
    std::array<double, kD3DAttributes> base{};
    std::array<double, kD3DAttributes> dx{};
    std::array<double, kD3DAttributes> dy{};
};

// Covered pixels [left, right) of row y.
struct D3DSpan {
    int32_t y;
    int32_t left;
    int32_t right;
};

// A pixel of a segment and the segment's parameter (0 at its start, 1 at its end) nearest its centre.
struct D3DLinePixel {
    int32_t x;
    int32_t y;
    double t;
};

class D3DRasterizer {
public:
    // `viewport`: the pixels that may be drawn, inside the target.
    explicit D3DRasterizer(const RECT& viewport) : mViewport(viewport) {}

    // The spans a triangle covers (appended) and its attribute plane; false
    // when it covers nothing. A non-finite position draws nothing.
    bool Triangle(const D3DRasterVertex& a, const D3DRasterVertex& b, const D3DRasterVertex& c,
                  std::vector<D3DSpan>& spans, D3DAttributePlane& plane) const;
    // The pixels of the segment from `a` to `b` (appended): those whose
    // diamond |x - i| + |y - j| < 1/2 the segment leaves.
    void Segment(const D3DRasterVertex& a, const D3DRasterVertex& b, std::vector<D3DLinePixel>& pixels) const;
    // The pixel whose centre is nearest, when it lies in the viewport.
    bool Point(const D3DRasterVertex& a, int32_t& x, int32_t& y) const;

    // Signed twice the area, positive when the vertices run clockwise on the
    // screen (y down); 0 for a degenerate or non-finite triangle.
    static double Winding(const D3DRasterVertex& a, const D3DRasterVertex& b, const D3DRasterVertex& c);

private:
    void CoverSnapped(const D3DRasterVertex& a, const D3DRasterVertex& b, const D3DRasterVertex& c,
                      std::vector<D3DSpan>& spans) const;

    RECT mViewport;
};

} // namespace Platform
