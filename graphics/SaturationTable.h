// The 512-entry saturating-add table of the additive routines (entry i is
// min(i, 255)): the host's, or a built-in copy for an image that belongs to no
// host, so additive drawing works the same either way.
#pragma once

#include <cstdint>

namespace Tandry {

class ImageHost;

const uint8_t* SaturationTable(const ImageHost* host);

} // namespace Tandry
