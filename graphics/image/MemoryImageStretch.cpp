// StretchBlt of MemoryImage and its nearest-pixel path.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/image/ClipStretchRects.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/image/PixelBlend.h"
#include "graphics/image/SourceWords.h"
#include "graphics/types/ClampedColor.h"

namespace Tandry {

// The draw mode is not used; the filtered path ignores the colour as well.
void MemoryImage::StretchBlt(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                             const Color& color, int, bool fastStretch)
{
    src->mDrawn = true;
    Rect clipped;
    DoubleRect srcF;
    if (!ClipStretchRects(destRect, srcRect, clipRect, clipped, srcF))
        return;
    if (fastStretch)
        StretchBltFast(src, clipped, srcF, color);
    else
        StretchBltFiltered(src, clipped, srcF);
}

// Only a white colour draws; the destination is marked changed in any case.
void MemoryImage::StretchBltFast(Image* src, const Rect& clipped, const DoubleRect& srcF, const Color& color)
{
    auto* source = dynamic_cast<MemoryImage*>(src);
    if (source && ClampedColor(color).IsWhite() && clipped.width > 0 && clipped.height > 0 && source->mWidth > 0
        && source->mHeight > 0) {
        // Positions advance by repeated addition of the step; every row reads
        // the same columns, so they are worked out once. The source part lies
        // inside the source; the limits only guard against rounding.
        const double stepX = srcF.width / clipped.width;
        const double stepY = srcF.height / clipped.height;
        std::vector<int> columns(static_cast<size_t>(clipped.width));
        double sx = srcF.x;
        for (int& column : columns) {
            column = std::clamp(static_cast<int>(sx), 0, source->mWidth - 1);
            sx += stepX;
        }
        uint32_t* bits = GetBits();
        VisitSourceWords(*source, [&](const auto& words) {
            double sy = srcF.y;
            for (int r = 0; r < clipped.height; ++r) {
                const int row = std::clamp(static_cast<int>(sy), 0, source->mHeight - 1);
                sy += stepY;
                const size_t base = static_cast<size_t>(row) * source->mWidth;
                uint32_t* d = bits + static_cast<ptrdiff_t>(clipped.y + r) * mWidth + clipped.x;
                for (int j = 0; j < clipped.width; ++j)
                    d[j] = PixelBlend::BlitWhite(d[j], words[base + columns[j]]);
            }
        });
    }
    MarkBitsChanged();
}

} // namespace Tandry
