// A still picture of a HUD: drawn at its top-left corner, always its
// picture's size, hit only where the picture is not fully transparent.
#pragma once

#include "widgets/Widget.h"

namespace Tandry {

class MemoryImage;

class TImageWidget : public Widget {
public:
    // Not owned; may be null (no size, nothing drawn).
    explicit TImageWidget(MemoryImage* picture);

    void Draw(Graphics* g) override;
    // The size given is ignored: the picture's is taken.
    void Resize(const Rect& rect) override;
    void Resize(int newX, int newY, int newWidth, int newHeight) override;
    bool HitTestPoint(int localX, int localY) override;

    MemoryImage* image;
};

} // namespace Tandry
