// The page mesh: its flat grid of 200 triangles, and the deformation worked
// out again here from its formulas for every one of the 600 vertices.
#include "game/shell/PageMesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

using Tandry::PageMesh;
using Tandry::Rect;
using Tandry::TriVertex;

// The grid point of vertex n: cell n / 6 in rows of ten, corner n % 6 of
// (i, j), (i + 1, j), (i + 1, j + 1), (i, j), (i + 1, j + 1), (i, j + 1).
void GridPointOf(int n, int* column, int* row)
{
    const int cell = n / 6;
    const int i = cell % 10;
    const int j = cell / 10;
    static const int kCorner[6][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 0}, {1, 1}, {0, 1}};
    *column = i + kCorner[n % 6][0];
    *row = j + kCorner[n % 6][1];
}

// Where grid point (u, v) lies at progress p.
void Expected(float u, float v, float p, const Rect& r, float* x, float* y)
{
    const float px = std::trunc(u * static_cast<float>(r.width) + static_cast<float>(r.x));
    const float py = std::trunc(v * static_cast<float>(r.height) + static_cast<float>(r.y));
    const float k = std::fabs(u - 0.5f) + 0.5f;
    *x = px + k * (-2.0f * px) * p;
    *y = py + k * p * static_cast<float>(r.height / 10);
}

TEST(PageMesh, FlatGridHasTwoWhiteTrianglesPerCellOverTheUnitSquare)
{
    PageMesh mesh;
    std::set<int> indexed;
    for (int n = 0; n < PageMesh::kVertices; ++n) {
        int column = 0;
        int row = 0;
        GridPointOf(n, &column, &row);
        const TriVertex& vertex = mesh.Vertex(n);
        EXPECT_FLOAT_EQ(vertex.u, static_cast<float>(column) / 10.0f) << n;
        EXPECT_FLOAT_EQ(vertex.v, static_cast<float>(row) / 10.0f) << n;
        EXPECT_EQ(vertex.color, 0xFFFFFFFFu);
    }
    for (int column = 0; column <= 10; ++column) {
        for (int row = 0; row <= 10; ++row) {
            for (int n : mesh.VerticesAt(column, row)) {
                EXPECT_TRUE(indexed.insert(n).second) << n;
                int c = 0;
                int r = 0;
                GridPointOf(n, &c, &r);
                EXPECT_EQ(c, column);
                EXPECT_EQ(r, row);
            }
        }
    }
    EXPECT_EQ(indexed.size(), 600u);
    // A corner point belongs to one or two triangles, an inner one to six.
    EXPECT_EQ(mesh.VerticesAt(0, 0).size(), 2u);
    EXPECT_EQ(mesh.VerticesAt(10, 0).size(), 1u);
    EXPECT_EQ(mesh.VerticesAt(5, 5).size(), 6u);
}

TEST(PageMesh, GridPointsAtAQuarterOfTheTurn)
{
    PageMesh mesh;
    const Rect screen(0, 0, 1024, 768);
    mesh.Deform(0.25f, screen);
    struct Case {
        int column;
        int row;
        float x;
        float y;
    };
    for (const Case& c : {Case{0, 0, 0.0f, 19.0f}, Case{10, 0, 512.0f, 19.0f}, Case{5, 5, 384.0f, 393.5f},
                          Case{10, 10, 512.0f, 787.0f}}) {
        for (int n : mesh.VerticesAt(c.column, c.row)) {
            EXPECT_EQ(mesh.Vertex(n).x, c.x) << c.column << "," << c.row;
            EXPECT_EQ(mesh.Vertex(n).y, c.y) << c.column << "," << c.row;
        }
    }
}

TEST(PageMesh, AllSixHundredVerticesMoveWithTheirGridPoint)
{
    PageMesh mesh;
    for (const Rect& rect : {Rect(0, 0, 1024, 768), Rect(30, -20, 640, 479)}) {
        for (float p : {0.0f, 0.25f, 0.6f, 1.0f}) {
            mesh.Deform(p, rect);
            for (int n = 0; n < PageMesh::kVertices; ++n) {
                int column = 0;
                int row = 0;
                GridPointOf(n, &column, &row);
                const float u = static_cast<float>(column) / 10.0f;
                const float v = static_cast<float>(row) / 10.0f;
                float x = 0.0f;
                float y = 0.0f;
                Expected(u, v, p, rect, &x, &y);
                const TriVertex& vertex = mesh.Vertex(n);
                ASSERT_EQ(vertex.x, x) << "vertex " << n << " p " << p;
                ASSERT_EQ(vertex.y, y) << "vertex " << n << " p " << p;
                ASSERT_FLOAT_EQ(vertex.u, u);
                ASSERT_FLOAT_EQ(vertex.v, v);
                ASSERT_EQ(vertex.color, 0xFFFFFFFFu);
            }
        }
    }
    // The triangles handed to the drawing are the same vertices.
    EXPECT_EQ(&mesh.Triangles()[199][2], &mesh.Vertex(599));
}

} // namespace
