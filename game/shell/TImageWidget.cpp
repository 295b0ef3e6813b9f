#include "game/shell/TImageWidget.h"

#include "game/shell/PictureHit.h"
#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"

namespace Tandry {

TImageWidget::TImageWidget(MemoryImage* picture) : image(picture) {}

void TImageWidget::Draw(Graphics* g)
{
    if (image != nullptr)
        g->DrawImage(image, 0, 0);
}

void TImageWidget::Resize(const Rect& rect)
{
    Resize(rect.x, rect.y, rect.width, rect.height);
}

void TImageWidget::Resize(int newX, int newY, int /*newWidth*/, int /*newHeight*/)
{
    Widget::Resize(newX, newY, image != nullptr ? image->mWidth : 0, image != nullptr ? image->mHeight : 0);
}

bool TImageWidget::HitTestPoint(int localX, int localY)
{
    if (image == nullptr || localX >= width || localY >= height)
        return false;
    return PictureHitAt(image, localX, localY);
}

} // namespace Tandry
