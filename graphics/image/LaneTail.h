// Copies of the last few (fewer than eight) pixels or coverage bytes of a row
// into and out of an eight-lane value, for the pixel loops that run their
// tail through the same eight-lane steps as the rest. Each count gets a copy
// of fixed size, which the compiler turns into plain moves instead of a
// library call per row.
#pragma once

#include <cstddef>
#include <cstring>

#include "graphics/image/PixelLanes.h"

namespace Tandry::LaneTail {

// Copies n (0..7) elements of T from from to to.
template <class T>
TANDRY_LANE_INLINE void CopyFew(T* to, const T* from, size_t n)
{
    switch (n) {
    case 7: std::memcpy(to, from, 7 * sizeof(T)); break;
    case 6: std::memcpy(to, from, 6 * sizeof(T)); break;
    case 5: std::memcpy(to, from, 5 * sizeof(T)); break;
    case 4: std::memcpy(to, from, 4 * sizeof(T)); break;
    case 3: std::memcpy(to, from, 3 * sizeof(T)); break;
    case 2: std::memcpy(to, from, 2 * sizeof(T)); break;
    case 1: std::memcpy(to, from, sizeof(T)); break;
    default: break;
    }
}

} // namespace Tandry::LaneTail
