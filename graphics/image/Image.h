// The picture every drawing operation goes to and comes from: its size, cel
// grid, file name and animation record, and the table of drawing operations
// that the drawing context calls on its destination. The application keeps
// and deletes images through this root; the base operations draw nothing.
#pragma once

#include <memory>
#include <string>

#include "graphics/image/AnimInfo.h"
#include "graphics/types/Span.h"

namespace Tandry {

class Color;
struct Rect;
struct Point;
class Matrix3x3;
struct TriVertex;

class Image {
public:
    Image() = default;
    // Copies the size and the cel grid and gives the copy its own animation
    // record; the copy has no file name and has not been drawn.
    Image(const Image& other);
    Image& operator=(const Image&) = delete;
    virtual ~Image() = default;

    // Size of one cel of the grid; a grid count below 1 counts as one cel.
    int CelWidth() const;
    int CelHeight() const;

    // The drawing operations, in the order every image class lays them out.
    // Operations without a clip rectangle arrive clipped; the others clip.
    // drawMode is 0 for normal drawing, 1 for additive.
    virtual bool PolyFill3D(const Point* vertices, int count, const Rect* clipRect, const Color& color,
                            int drawMode, int tx, int ty, bool convex);
    virtual void FillRect(const Rect& rect, const Color& color, int drawMode);
    // The outline covers (width + 1) x (height + 1) pixels, drawn with FillRect.
    virtual void DrawRect(const Rect& rect, const Color& color, int drawMode);
    virtual void ClearRect(const Rect& rect);
    virtual void DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode);
    virtual void DrawLineAA(double x1, double y1, double x2, double y2, const Color& color, int drawMode);
    // One FillRect per span, in order.
    virtual void FillScanLines(const Span* spans, int count, const Color& color, int drawMode);
    virtual void FillScanLinesWithCoverage(const Span* spans, int count, const Color& color, int drawMode,
                                           const uint8_t* coverage, int coverageX, int coverageY,
                                           int coveragePitch, int unused);
    virtual void Blt(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode);
    virtual void BltF(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect,
                      const Color& color, int drawMode);
    virtual void BltRotated(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect,
                            const Color& color, int drawMode, double angle, float centerX, float centerY);
    virtual void StretchBlt(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                            const Color& color, int drawMode, bool fastStretch);
    virtual void BltMatrix(Image* src, float x, float y, const Matrix3x3& matrix, const Rect& clipRect,
                           const Color& color, int drawMode, const Rect& srcRect, bool linear);
    virtual void BltTrianglesTex(Image* src, const TriVertex (*triangles)[3], int count, const Rect& clipRect,
                                 const Color& color, int drawMode, float tx, float ty, bool linear);
    virtual void BltMirror(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode);
    virtual void StretchBltMirror(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                                  const Color& color, int drawMode, bool fastStretch);

    // Set on a source image whenever a blit reads it; never cleared here.
    bool mDrawn = false;
    // The file the image was read from; empty for images made by code.
    std::string mFileName;
    int mWidth = 0;
    int mHeight = 0;
    int mNumRows = 1;
    int mNumCols = 1;
    std::unique_ptr<AnimInfo> mAnimInfo;
};

} // namespace Tandry
