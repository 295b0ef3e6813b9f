#include "game/shell/PageMesh.h"

#include <cmath>
#include <cstring>

namespace Tandry {

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;

float GridU(int column)
{
    return static_cast<float>(column) / static_cast<float>(PageMesh::kColumns);
}

float GridV(int row)
{
    return static_cast<float>(row) / static_cast<float>(PageMesh::kRows);
}

} // namespace

PageMesh::PageMesh()
{
    int n = 0;
    for (int j = 0; j < kRows; ++j) {
        for (int i = 0; i < kColumns; ++i) {
            // (i, j), (i + 1, j), (i + 1, j + 1) and (i, j), (i + 1, j + 1), (i, j + 1).
            const int corners[6][2] = {{i, j}, {i + 1, j}, {i + 1, j + 1}, {i, j}, {i + 1, j + 1}, {i, j + 1}};
            for (const auto& corner : corners) {
                TriVertex& vertex = mRest[n / 3][n % 3];
                vertex.u = GridU(corner[0]);
                vertex.v = GridV(corner[1]);
                vertex.x = vertex.u;
                vertex.y = vertex.v;
                vertex.color = kWhite;
                mIndex[corner[0] * (kRows + 1) + corner[1]].push_back(n);
                ++n;
            }
        }
    }
    Reset();
}

void PageMesh::Reset()
{
    std::memcpy(mVertices, mRest, sizeof(mVertices));
}

void PageMesh::Deform(float p, const Rect& rect)
{
    const float w = static_cast<float>(rect.width);
    const float h = static_cast<float>(rect.height);
    const float dip = static_cast<float>(rect.height / 10);
    for (int column = 0; column <= kColumns; ++column) {
        const float u = GridU(column);
        const float k = std::fabs(u - 0.5f) + 0.5f;
        const float px = std::trunc(u * w + static_cast<float>(rect.x));
        for (int row = 0; row <= kRows; ++row) {
            const float v = GridV(row);
            const float py = std::trunc(v * h + static_cast<float>(rect.y));
            TriVertex moved;
            moved.x = px + k * (-2.0f * px) * p;
            moved.y = py + k * p * dip;
            moved.u = u;
            moved.v = v;
            moved.color = kWhite;
            for (int n : mIndex[column * (kRows + 1) + row])
                mVertices[n / 3][n % 3] = moved;
        }
    }
}

} // namespace Tandry
