#include "game/shell/PictureHit.h"

#include "graphics/image/MemoryImage.h"

namespace Tandry {

bool PictureHitAt(MemoryImage* picture, int64_t x, int64_t y)
{
    if (x < 0 || y < 0 || x >= picture->mWidth || y >= picture->mHeight)
        return false;
    return picture->GetPixel(static_cast<int>(x), static_cast<int>(y)) > 0x00FFFFFFu;
}

} // namespace Tandry
