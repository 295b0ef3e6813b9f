// The pixels of the stand-in library's generated textures and the page a
// particle type's frames lie on. Each texture is drawn once per opened file;
// its block is a 128-byte header of zeros followed by size x size 0xAARRGGBB
// words, the layout the library hands to its callers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/particlelib/ParticleLibrary.h"
#include "platform/particlelib/PtcFile.h"

namespace Platform {

std::vector<uint8_t> DrawTextureBlock(const PtcTexture& texture);

// Frame i of a type lies at x = the widths before it, y = 0, on a page whose
// sides are the powers of two that hold the row.
struct FramePage {
    int width = 1;
    int height = 1;
    std::vector<int> left;
};

FramePage LayOutFrames(const std::vector<int>& widths, const std::vector<int>& heights);

} // namespace Platform
