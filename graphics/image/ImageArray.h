// Allocation of an image's per-pixel arrays (pixels, index bytes, run tables,
// display-format data). Sizes come from image files and game code, so every
// request is checked first: a negative size, or a byte count that does not fit
// in 32 bits, throws std::bad_alloc before anything is allocated or written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace Tandry {

// Number of elements of width x height + extra, checked as above.
size_t CheckedImageArrayCount(int width, int height, size_t elementSize, size_t extra = 0);

// Uninitialised; the caller fills every element.
template <class T>
std::unique_ptr<T[]> AllocateImageArray(int width, int height, size_t extra = 0)
{
    return std::make_unique_for_overwrite<T[]>(CheckedImageArrayCount(width, height, sizeof(T), extra));
}

template <class T>
std::unique_ptr<T[]> CopyImageArray(const T* src, size_t count)
{
    auto copy = std::make_unique_for_overwrite<T[]>(count);
    if (count != 0)
        std::memcpy(copy.get(), src, count * sizeof(T));
    return copy;
}

} // namespace Tandry
