#include "widgets/ComponentBox.h"

#include "graphics/context/Graphics.h"

#include <memory>

namespace Tandry {

namespace {

// ceil(span / strip) for a strip above 0; none for an empty span.
int Repeats(int span, int strip)
{
    if (span <= 0)
        return 0;
    return static_cast<int>((static_cast<int64_t>(span) + strip - 1) / strip);
}

} // namespace

void DrawComponentBox(Graphics* g, const Rect& source, const Rect& dest, Image* image, const Insets& corners)
{
    const int left = corners.left;
    const int top = corners.top;
    const int right = corners.right;
    const int bottom = corners.bottom;
    const int sourceRight = source.x + source.width - right;
    const int sourceBottom = source.y + source.height - bottom;
    const int destRight = dest.x + dest.width - right;
    const int destBottom = dest.y + dest.height - bottom;

    g->DrawImagePart(image, dest.x, dest.y, Rect(source.x, source.y, left, top));
    g->DrawImagePart(image, destRight, dest.y, Rect(sourceRight, source.y, right, top));
    g->DrawImagePart(image, dest.x, destBottom, Rect(source.x, sourceBottom, left, bottom));
    g->DrawImagePart(image, destRight, destBottom, Rect(sourceRight, sourceBottom, right, bottom));

    const int stripWidth = source.width - left - right;
    const int stripHeight = source.height - top - bottom;
    const int innerWidth = dest.width - left - right;
    const int innerHeight = dest.height - top - bottom;

    if (stripWidth > 0) {
        const std::unique_ptr<Graphics> edges(g->Clone());
        edges->ClipRect(dest.x + left, dest.y, innerWidth, dest.height);
        const int count = Repeats(innerWidth, stripWidth);
        for (int i = 0; i < count; ++i) {
            const int stripX = dest.x + left + i * stripWidth;
            edges->DrawImagePart(image, stripX, dest.y, Rect(source.x + left, source.y, stripWidth, top));
            edges->DrawImagePart(image, stripX, destBottom, Rect(source.x + left, sourceBottom, stripWidth, bottom));
        }
    }
    if (stripHeight > 0) {
        const std::unique_ptr<Graphics> edges(g->Clone());
        edges->ClipRect(dest.x, dest.y + top, dest.width, innerHeight);
        const int count = Repeats(innerHeight, stripHeight);
        for (int i = 0; i < count; ++i) {
            const int stripY = dest.y + top + i * stripHeight;
            edges->DrawImagePart(image, dest.x, stripY, Rect(source.x, source.y + top, left, stripHeight));
            edges->DrawImagePart(image, destRight, stripY, Rect(sourceRight, source.y + top, right, stripHeight));
        }
    }
    if (stripWidth > 0 && stripHeight > 0) {
        const std::unique_ptr<Graphics> centre(g->Clone());
        centre->ClipRect(dest.x + left, dest.y + top, innerWidth, innerHeight);
        const int columns = Repeats(innerWidth, stripWidth);
        const int rows = Repeats(innerHeight, stripHeight);
        const Rect middle(source.x + left, source.y + top, stripWidth, stripHeight);
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column)
                centre->DrawImagePart(image, dest.x + left + column * stripWidth, dest.y + top + row * stripHeight,
                                      middle);
        }
    }
}

} // namespace Tandry
