// The page of the page-turn transition: a 10 x 10 grid of cells over the
// old board's snapshot, two textured triangles per cell. Every vertex is
// listed under its grid point, so a deformation moves the 121 points and all
// 600 vertices follow. BoardTransformerPager owns one and draws it each frame.
#pragma once

#include "graphics/types/Rect.h"
#include "graphics/types/TriVertex.h"

#include <array>
#include <vector>

namespace Tandry {

class PageMesh {
public:
    static constexpr int kColumns = 10;
    static constexpr int kRows = 10;
    static constexpr int kTriangles = kColumns * kRows * 2;
    static constexpr int kVertices = kTriangles * 3;

    // The flat grid over the unit square: u = column / 10, v = row / 10, white.
    PageMesh();

    // Every grid point (u, v) of the rectangle at progress p: with
    // px = trunc(u w + x0), py = trunc(v h + y0) and k = |u - 0.5| + 0.5, the
    // point goes to (px - 2 k px p, py + k p (h div 10)). The page folds to
    // the left and its sides dip by up to a tenth of the height.
    void Deform(float p, const Rect& rect);
    // Back to the flat grid.
    void Reset();

    // The triangles to draw.
    const TriVertex (*Triangles() const)[3] { return mVertices; }
    // Vertex n of the 600, three per triangle.
    const TriVertex& Vertex(int n) const { return mVertices[n / 3][n % 3]; }
    // The vertices at grid point (column, row), 0..10 each.
    const std::vector<int>& VerticesAt(int column, int row) const { return mIndex[column * (kRows + 1) + row]; }

    // Carried, not used by the drawing.
    float bendX = 0.5f;
    float bendY = 0.5f;

private:
    TriVertex mRest[kTriangles][3];
    TriVertex mVertices[kTriangles][3];
    // Per grid point, column-major, the numbers of its vertices.
    std::array<std::vector<int>, (kColumns + 1) * (kRows + 1)> mIndex;
};

} // namespace Tandry
