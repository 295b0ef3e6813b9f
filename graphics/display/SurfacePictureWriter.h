// Writes a whole picture into a locked 16- or 32-bit surface the way a
// surface image is made: every pixel converted to the display's format, or,
// for a picture with transparency, every pixel that is not opaque written as
// a colour key that no opaque pixel is stored as.
#pragma once

#include <cstdint>

#include "graphics/display/SurfaceConverter.h"

namespace Tandry {

class SurfacePictureWriter {
public:
    // width x height pixels without gaps. Returns the key when keyed, else 0.
    static uint32_t Write(const SurfaceConverter& converter, const uint32_t* pixels, int width, int height,
                          bool keyed, const SurfaceMemory& surface);
};

} // namespace Tandry
