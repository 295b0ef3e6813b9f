#include "graphics/display/SurfacePictureWriter.h"

#include <memory>

#include "graphics/display/ColorKeyChooser.h"
#include "graphics/image/VectorClones.h"

namespace Tandry {

namespace {

// One row of stored values into the surface; with a key, pixels that are
// not opaque are written as it.
TANDRY_VECTOR_CLONES
void WriteRow(const uint32_t* __restrict pixels, const uint16_t* __restrict words, uint16_t* __restrict row,
              size_t count, uint16_t key, bool keyed)
{
    const uint32_t hideBelow = keyed ? 255u : 0u;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t hide = 0u - static_cast<uint32_t>((pixels[i] >> 24) < hideBelow);
        row[i] = static_cast<uint16_t>((key & hide) | (words[i] & ~hide));
    }
}

} // namespace

uint32_t SurfacePictureWriter::Write(const SurfaceConverter& converter, const uint32_t* pixels, int width,
                                     int height, bool keyed, const SurfaceMemory& surface)
{
    const Rect whole(0, 0, width, height);
    const size_t stride = static_cast<size_t>(width);
    const size_t count = stride * static_cast<size_t>(height);
    if (surface.bitsPerPixel == 32) {
        if (!keyed) {
            converter.WriteRect(pixels, stride, surface, whole);
            return 0;
        }
        const uint32_t key = ColorKeyChooser::Choose32(converter, pixels, count);
        converter.WriteRectKeyed(pixels, stride, surface, whole, key);
        return key;
    }
    if (surface.bitsPerPixel != 16)
        return 0;
    // Converted once: the key's candidate, its clash test, its search and the
    // writing all read the stored values.
    auto words = std::make_unique_for_overwrite<uint16_t[]>(count);
    converter.ToSurface(pixels, words.get(), count);
    const uint32_t key = keyed ? ColorKeyChooser::Choose16(pixels, words.get(), count) : 0;
    for (int y = 0; y < height; ++y) {
        const size_t start = static_cast<size_t>(y) * stride;
        WriteRow(pixels + start, words.get() + start,
                 reinterpret_cast<uint16_t*>(surface.bits + static_cast<ptrdiff_t>(y) * surface.pitch), stride,
                 static_cast<uint16_t>(key), keyed);
    }
    return key;
}

} // namespace Tandry
