#include "widgets/SysFont.h"

#include <algorithm>
#include <cstdint>
#include <typeinfo>
#include <vector>

#include "graphics/context/Graphics.h"
#include "graphics/context/GraphicsTrunc.h"
#include "graphics/image/CoverageMaskFill.h"
#include "graphics/image/Image.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"
#include "graphics/types/Span.h"
#include "widgets/OpaqueCoverageRow.h"

namespace Tandry {

namespace {

constexpr int kDotsPerInch = 96;
constexpr int kPointsPerInch = 72;

constexpr size_t kKeptMaskBytes = size_t{1} << 20;

// What drawing reuses from call to call, one set per thread.
struct DrawScratch {
    Platform::CoverageMask mask;
    std::vector<Span> covered;
    std::vector<Span> filled;
};
thread_local DrawScratch sScratch;

// The mask's rows y0.. of width pixels from x0 (the mask's top left at
// left, top) through the destination's fill slots: an opaque colour fills
// the fully covered runs, and the rest is blended by coverage.
void DrawThroughSlots(Image* dest, const Platform::CoverageMask& mask, const Color& color, int64_t x0, int64_t y0,
                      int width, int height, int64_t left, int64_t top)
{
    const uint8_t* first = mask.pixels.data() + static_cast<size_t>(x0 - left);
    std::vector<Span>& covered = sScratch.covered;
    std::vector<Span>& filled = sScratch.filled;
    covered.clear();
    filled.clear();
    for (int64_t row = y0; row < y0 + height; ++row) {
        const uint8_t* coverage = first + static_cast<size_t>(row - top) * static_cast<size_t>(mask.width);
        if (color.alpha >= 255)
            SplitOpaqueCoverageRow(coverage, width, static_cast<int>(row), static_cast<int>(x0), covered, filled);
        else
            covered.push_back({static_cast<int>(row), static_cast<int>(x0), width});
    }
    if (!filled.empty())
        dest->FillScanLines(filled.data(), static_cast<int>(filled.size()), color, DRAWMODE_NORMAL);
    if (!covered.empty())
        dest->FillScanLinesWithCoverage(covered.data(), static_cast<int>(covered.size()), color, DRAWMODE_NORMAL,
                                        mask.pixels.data(), static_cast<int>(left), static_cast<int>(top),
                                        mask.width, 0);
}

} // namespace

int SysFont::PixelSizeForPoints(int pointSize)
{
    // MulDiv rounds halves away from zero.
    const int64_t product = int64_t{pointSize} * kDotsPerInch;
    const int64_t half = kPointsPerInch / 2;
    const int64_t pixels = product >= 0 ? (product + half) / kPointsPerInch : -((-product + half) / kPointsPerInch);
    return static_cast<int>(std::clamp<int64_t>(pixels, INT32_MIN, INT32_MAX));
}

SysFont::SysFont(const std::string& face, int pointSize, int charset) : mCharset(charset)
{
    // The screen's dots per inch are 96 here, as for the other constructor.
    Open(face, pointSize, false, false, false);
}

SysFont::SysFont(const std::string& face, int pointSize, bool bold, bool italic, bool underline)
{
    Open(face, pointSize, bold, italic, underline);
}

SysFont::SysFont(const SysFont& source) : Font(source), mHandle(source.mHandle), mCharset(source.mCharset)
{
    mLineSpacingOffset = 0;
}

void SysFont::Open(const std::string& face, int pointSize, bool bold, bool italic, bool underline)
{
    Platform::TextService& service = Platform::GetTextService();
    mHandle = service.Open(face, PixelSizeForPoints(pointSize), bold, italic, underline);
    const Platform::FontMetrics metrics = service.Metrics(mHandle);
    mHeight = metrics.height;
    mAscent = metrics.ascent;
    mLineSpacingOffset = 0;
    mFace = face;
    mLoaded = true;
}

Font* SysFont::Duplicate() const
{
    return new SysFont(*this);
}

void SysFont::MeasureText(FloatRect& out, const std::wstring& text, float x, float y, float scaleX, float scaleY,
                          float, int hAlign, int vAlign) const
{
    const Platform::TextExtent extent = Platform::GetTextService().Measure(mHandle, text);
    out = {x, y, static_cast<float>(extent.width) * scaleX, static_cast<float>(extent.height) * scaleY};
    AlignBox(out, hAlign, vAlign, static_cast<float>(mAscent));
}

void SysFont::DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color, const Rect& clip,
                         float scaleX, float scaleY, float, int hAlign, int vAlign)
{
    if (g == nullptr)
        return;
    Image* dest = g->mDestImage;
    if (dest == nullptr || dest == Graphics::SharedEmptyImage())
        return;
    // Only right, centred, middle and bottom alignment need the text's extent.
    FloatRect box{static_cast<float>(x), static_cast<float>(y), 0.0f, 0.0f};
    if (hAlign == kAlignRight || hAlign == kAlignCenter || vAlign == kAlignMiddle || vAlign == kAlignBottom)
        MeasureText(box, text, box.x, box.y, scaleX, scaleY, 0.0f, hAlign, vAlign);
    else
        AlignBox(box, hAlign, vAlign, static_cast<float>(mAscent));
    Platform::CoverageMask& mask = sScratch.mask;
    Platform::GetTextService().Render(mHandle, text, scaleX, scaleY, mask);
    if (mask.width == 0 || mask.height == 0)
        return;

    // The slot trusts its caller: every span lies inside the clip, the
    // destination and the mask.
    const int64_t left = int64_t{TruncToInt(box.x)} + TruncToInt(g->mTransX) + mask.offsetX;
    const int64_t top = int64_t{TruncToInt(box.y)} + TruncToInt(g->mTransY) + mask.offsetY;
    const Rect area = Rect::Intersection(clip, Rect(0, 0, dest->mWidth, dest->mHeight));
    const int64_t x0 = std::max<int64_t>(left, area.x);
    const int64_t x1 = std::min<int64_t>(left + mask.width, int64_t{area.x} + area.width);
    const int64_t y0 = std::max<int64_t>(top, area.y);
    const int64_t y1 = std::min<int64_t>(top + mask.height, int64_t{area.y} + area.height);
    if (x0 >= x1 || y0 >= y1)
        return;
    const int width = static_cast<int>(x1 - x0);
    // A plain memory image takes the mask whole; any other image gets the
    // fill slots, which it may draw in its own way.
    if (typeid(*dest) == typeid(MemoryImage)) {
        FillCoverageMask(*static_cast<MemoryImage*>(dest),
                         Rect(static_cast<int>(x0), static_cast<int>(y0), width, static_cast<int>(y1 - y0)), color,
                         mask.pixels.data(), static_cast<int>(left), static_cast<int>(top), mask.width);
    } else {
        DrawThroughSlots(dest, mask, color, x0, y0, width, static_cast<int>(y1 - y0), left, top);
    }
    // A very long text's mask is not kept.
    if (mask.pixels.capacity() > kKeptMaskBytes)
        mask = {};
}

} // namespace Tandry
