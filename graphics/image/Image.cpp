#include "graphics/image/Image.h"

#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

namespace Tandry {

Image::Image(const Image& other)
    : mWidth(other.mWidth), mHeight(other.mHeight), mNumRows(other.mNumRows), mNumCols(other.mNumCols)
{
    if (other.mAnimInfo)
        mAnimInfo = std::make_unique<AnimInfo>(*other.mAnimInfo);
}

// A grid count of 0 comes from a bad "rows" or "cols" attribute; dividing by
// it would end the program.
int Image::CelWidth() const
{
    return mNumCols >= 1 ? mWidth / mNumCols : mWidth;
}

int Image::CelHeight() const
{
    return mNumRows >= 1 ? mHeight / mNumRows : mHeight;
}

bool Image::PolyFill3D(const Point*, int, const Rect*, const Color&, int, int, int, bool)
{
    return false;
}

void Image::FillRect(const Rect&, const Color&, int) {}

void Image::DrawRect(const Rect& rect, const Color& color, int drawMode)
{
    FillRect(Rect(rect.x, rect.y, rect.width + 1, 1), color, drawMode);
    FillRect(Rect(rect.x, rect.y + rect.height, rect.width + 1, 1), color, drawMode);
    FillRect(Rect(rect.x, rect.y + 1, 1, rect.height - 1), color, drawMode);
    FillRect(Rect(rect.x + rect.width, rect.y + 1, 1, rect.height - 1), color, drawMode);
}

void Image::ClearRect(const Rect&) {}

void Image::DrawLine(double, double, double, double, const Color&, int) {}

void Image::DrawLineAA(double, double, double, double, const Color&, int) {}

void Image::FillScanLines(const Span* spans, int count, const Color& color, int drawMode)
{
    for (int i = 0; i < count; ++i)
        FillRect(Rect(spans[i].x, spans[i].y, spans[i].width, 1), color, drawMode);
}

void Image::FillScanLinesWithCoverage(const Span*, int, const Color&, int, const uint8_t*, int, int, int, int) {}

void Image::Blt(Image*, int, int, const Rect&, const Color&, int) {}

void Image::BltF(Image*, float, float, const Rect&, const Rect&, const Color&, int) {}

void Image::BltRotated(Image*, float, float, const Rect&, const Rect&, const Color&, int, double, float, float) {}

void Image::StretchBlt(Image*, const Rect&, const Rect&, const Rect&, const Color&, int, bool) {}

void Image::BltMatrix(Image*, float, float, const Matrix3x3&, const Rect&, const Color&, int, const Rect&, bool) {}

void Image::BltTrianglesTex(Image*, const TriVertex (*)[3], int, const Rect&, const Color&, int, float, float, bool)
{
}

void Image::BltMirror(Image*, int, int, const Rect&, const Color&, int) {}

void Image::StretchBltMirror(Image*, const Rect&, const Rect&, const Rect&, const Color&, int, bool) {}

} // namespace Tandry
