// The software drawing of memory images reads only memory-image sources; this
// tells whether a source is one without a dynamic cast on every call, which a
// 16 x 16 sprite would otherwise pay for as much as for some of its pixels.
#pragma once

#include <typeinfo>

#include "graphics/image/MemoryImage.h"

namespace Tandry {

// src (not null) as a memory image, or null. Glyphs and sprites come from a
// few image classes, so the answer is kept per thread for the last class
// seen and the dynamic cast runs only when the class changes.
inline MemoryImage* AsMemoryImage(Image* src)
{
    thread_local const std::type_info* lastClass = nullptr;
    thread_local bool lastIsMemoryImage = false;
    const std::type_info* type = &typeid(*src);
    if (type != lastClass) {
        lastIsMemoryImage = dynamic_cast<MemoryImage*>(src) != nullptr;
        lastClass = type;
    }
    return lastIsMemoryImage ? static_cast<MemoryImage*>(src) : nullptr;
}

} // namespace Tandry
