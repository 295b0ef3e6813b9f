// A memory image for rasteriser tests and fuzzing whose pixel array, as the
// rasteriser reads it through GetBits, holds exactly width x height words in
// a heap block of its own (a plain memory image keeps a marker word after
// its last pixel), so AddressSanitizer reports any texel read outside it.
#pragma once

#include "graphics/image/MemoryImage.h"

#include <algorithm>
#include <cstdint>
#include <memory>

namespace Tandry::Testing {

class ExactTexelImage : public MemoryImage {
public:
    // texels: width x height words, copied; the alpha flags are scanned from them.
    ExactTexelImage(int width, int height, const uint32_t* texels)
        : MemoryImage(nullptr), mExact(new uint32_t[static_cast<size_t>(width) * static_cast<size_t>(height)])
    {
        const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
        std::copy(texels, texels + count, mExact.get());
        SetBits(texels, width, height, true);
    }

    uint32_t* GetBits() override { return mExact.get(); }

private:
    std::unique_ptr<uint32_t[]> mExact;
};

} // namespace Tandry::Testing
