#include "graphics/image/ImageArray.h"

#include <new>

namespace Tandry {

size_t CheckedImageArrayCount(int width, int height, size_t elementSize, size_t extra)
{
    if (width < 0 || height < 0)
        throw std::bad_alloc();
    const uint64_t count = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) + extra;
    // count is below 2^62 + extra, so the product with a small element size cannot wrap.
    if (count * elementSize > 0xFFFFFFFFu)
        throw std::bad_alloc();
    return static_cast<size_t>(count);
}

} // namespace Tandry
