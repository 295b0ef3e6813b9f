// A destination image whose drawing operations only record their calls and
// arguments, so tests and fuzz targets can see what a drawing context asked
// of its destination. It also serves as a source image of a given size.
#pragma once

#include <array>
#include <ostream>
#include <vector>

#include "graphics/image/Image.h"
#include "graphics/types/Color.h"
#include "graphics/types/Matrix3x3.h"
#include "graphics/types/Point.h"
#include "graphics/types/Rect.h"
#include "graphics/types/Span.h"
#include "graphics/types/TriVertex.h"

namespace Tandry {

enum class Slot {
    PolyFill3D,
    FillRect,
    DrawRect,
    ClearRect,
    DrawLine,
    DrawLineAA,
    FillScanLines,
    FillScanLinesWithCoverage,
    Blt,
    BltF,
    BltRotated,
    StretchBlt,
    BltMatrix,
    BltTrianglesTex,
    BltMirror,
    StretchBltMirror,
};

inline const char* SlotName(Slot slot)
{
    static const char* const names[] = {"PolyFill3D", "FillRect",  "DrawRect",        "ClearRect",
                                        "DrawLine",   "DrawLineAA", "FillScanLines",  "FillScanLinesWithCoverage",
                                        "Blt",        "BltF",      "BltRotated",      "StretchBlt",
                                        "BltMatrix",  "BltTrianglesTex", "BltMirror", "StretchBltMirror"};
    return names[static_cast<int>(slot)];
}

inline std::ostream& operator<<(std::ostream& out, Slot slot)
{
    return out << SlotName(slot);
}

// Readable failure messages; the one for Rect lives with the Rect tests.
void PrintTo(const Rect& r, std::ostream* os);

inline void PrintTo(const Color& c, std::ostream* os)
{
    *os << "Color(" << c.red << ", " << c.green << ", " << c.blue << ", " << c.alpha << ")";
}

inline void PrintTo(const Span& s, std::ostream* os)
{
    *os << "Span(y " << s.y << ", x " << s.x << ", width " << s.width << ")";
}

inline bool operator==(const Span& a, const Span& b)
{
    return a.y == b.y && a.x == b.x && a.width == b.width;
}

// One recorded call; only the fields its slot takes are set.
struct SlotCall {
    Slot slot = Slot::FillRect;
    Image* src = nullptr;
    // FillRect, DrawRect, ClearRect: the rectangle; StretchBlt(Mirror): the destination.
    Rect rect;
    Rect srcRect;
    Rect clip;
    bool hasClip = false;
    Color color;
    int drawMode = 0;
    // Blt, BltMirror: position; PolyFill3D: translation.
    int x = 0;
    int y = 0;
    // BltF, BltRotated, BltMatrix: position; BltTrianglesTex: translation.
    float fx = 0.0f;
    float fy = 0.0f;
    double angle = 0.0;
    float centerX = 0.0f;
    float centerY = 0.0f;
    // fastStretch or linear.
    bool flag = false;
    // DrawLine: x1, y1, x2, y2.
    std::array<double, 4> line{};
    std::vector<Span> spans;
    std::vector<Point> points;
    Matrix3x3 matrix;
    std::vector<std::array<TriVertex, 3>> triangles;
};

class RecordingImage : public Image {
public:
    RecordingImage(int width, int height)
    {
        mWidth = width;
        mHeight = height;
    }

    std::vector<SlotCall> calls;
    // What PolyFill3D answers.
    bool polyFill3DDraws = false;

    bool PolyFill3D(const Point* vertices, int count, const Rect* clipRect, const Color& color, int drawMode, int tx,
                    int ty, bool convex) override
    {
        SlotCall& c = Add(Slot::PolyFill3D, color, drawMode);
        c.points.assign(vertices, vertices + count);
        SetClip(c, *clipRect);
        c.x = tx;
        c.y = ty;
        c.flag = convex;
        return polyFill3DDraws;
    }
    void FillRect(const Rect& rect, const Color& color, int drawMode) override
    {
        Add(Slot::FillRect, color, drawMode).rect = rect;
    }
    void DrawRect(const Rect& rect, const Color& color, int drawMode) override
    {
        Add(Slot::DrawRect, color, drawMode).rect = rect;
    }
    void ClearRect(const Rect& rect) override { Add(Slot::ClearRect, Color(), 0).rect = rect; }
    void DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode) override
    {
        Add(Slot::DrawLine, color, drawMode).line = {x1, y1, x2, y2};
    }
    void DrawLineAA(double x1, double y1, double x2, double y2, const Color& color, int drawMode) override
    {
        Add(Slot::DrawLineAA, color, drawMode).line = {x1, y1, x2, y2};
    }
    void FillScanLines(const Span* spans, int count, const Color& color, int drawMode) override
    {
        SlotCall& c = Add(Slot::FillScanLines, color, drawMode);
        if (count > 0)
            c.spans.assign(spans, spans + count);
    }
    void FillScanLinesWithCoverage(const Span* spans, int count, const Color& color, int drawMode, const uint8_t*,
                                   int, int, int, int) override
    {
        SlotCall& c = Add(Slot::FillScanLinesWithCoverage, color, drawMode);
        if (count > 0)
            c.spans.assign(spans, spans + count);
    }
    void Blt(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode) override
    {
        SlotCall& c = AddBlit(Slot::Blt, src, srcRect, color, drawMode);
        c.x = x;
        c.y = y;
    }
    void BltF(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
              int drawMode) override
    {
        SlotCall& c = AddBlit(Slot::BltF, src, srcRect, color, drawMode);
        c.fx = x;
        c.fy = y;
        SetClip(c, clipRect);
    }
    void BltRotated(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                    int drawMode, double angle, float centerX, float centerY) override
    {
        SlotCall& c = AddBlit(Slot::BltRotated, src, srcRect, color, drawMode);
        c.fx = x;
        c.fy = y;
        SetClip(c, clipRect);
        c.angle = angle;
        c.centerX = centerX;
        c.centerY = centerY;
    }
    void StretchBlt(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect, const Color& color,
                    int drawMode, bool fastStretch) override
    {
        SlotCall& c = AddBlit(Slot::StretchBlt, src, srcRect, color, drawMode);
        c.rect = destRect;
        SetClip(c, clipRect);
        c.flag = fastStretch;
    }
    void BltMatrix(Image* src, float x, float y, const Matrix3x3& matrix, const Rect& clipRect, const Color& color,
                   int drawMode, const Rect& srcRect, bool linear) override
    {
        SlotCall& c = AddBlit(Slot::BltMatrix, src, srcRect, color, drawMode);
        c.fx = x;
        c.fy = y;
        c.matrix = matrix;
        SetClip(c, clipRect);
        c.flag = linear;
    }
    void BltTrianglesTex(Image* src, const TriVertex (*triangles)[3], int count, const Rect& clipRect,
                         const Color& color, int drawMode, float tx, float ty, bool linear) override
    {
        SlotCall& c = AddBlit(Slot::BltTrianglesTex, src, Rect(), color, drawMode);
        for (int i = 0; i < count; ++i)
            c.triangles.push_back({triangles[i][0], triangles[i][1], triangles[i][2]});
        SetClip(c, clipRect);
        c.fx = tx;
        c.fy = ty;
        c.flag = linear;
    }
    void BltMirror(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode) override
    {
        SlotCall& c = AddBlit(Slot::BltMirror, src, srcRect, color, drawMode);
        c.x = x;
        c.y = y;
    }
    void StretchBltMirror(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                          const Color& color, int drawMode, bool fastStretch) override
    {
        SlotCall& c = AddBlit(Slot::StretchBltMirror, src, srcRect, color, drawMode);
        c.rect = destRect;
        SetClip(c, clipRect);
        c.flag = fastStretch;
    }

private:
    SlotCall& Add(Slot slot, const Color& color, int drawMode)
    {
        SlotCall& c = calls.emplace_back();
        c.slot = slot;
        c.color = color;
        c.drawMode = drawMode;
        return c;
    }
    SlotCall& AddBlit(Slot slot, Image* src, const Rect& srcRect, const Color& color, int drawMode)
    {
        SlotCall& c = Add(slot, color, drawMode);
        c.src = src;
        c.srcRect = srcRect;
        return c;
    }
    static void SetClip(SlotCall& c, const Rect& clip)
    {
        c.clip = clip;
        c.hasClip = true;
    }
};

} // namespace Tandry
