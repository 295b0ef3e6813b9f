// The 512-entry saturating-add table of the additive routines (entry i is
// min(i, 255)): the host's, or a built-in copy for an image that belongs to no
// host, so additive drawing works the same either way.
#pragma once

#include <cstdint>

namespace Tandry {

class ImageHost;

struct Saturation {
    const uint8_t* table;
    // The table holds min(i, 255) in every entry, as the host's does; the
    // eight-pixel loops then saturate by arithmetic, with the same results.
    bool plain;
};

Saturation SaturationOf(const ImageHost* host);

} // namespace Tandry
