#include "platform/j2k/J2kPixelPacker.h"

#include <openjpeg.h>

#include <algorithm>
#include <cstddef>

namespace Platform {

uint8_t J2kSampleTo8Bits(int32_t sample, uint32_t precision, bool isSigned)
{
    if (precision == 0 || precision > 31)
        return 0;
    int64_t value = sample;
    if (isSigned)
        value += int64_t{1} << (precision - 1);
    const int64_t maximum = (int64_t{1} << precision) - 1;
    // Damaged data can decode to samples outside the declared range.
    value = std::clamp<int64_t>(value, 0, maximum);
    if (precision >= 8)
        return static_cast<uint8_t>(value >> (precision - 8));
    // Fewer bits: spread over 0..255 so that the top value is full intensity.
    return static_cast<uint8_t>((value * 255 + maximum / 2) / maximum);
}

bool PackJ2kPixels(const opj_image& image, uint32_t* pixels, std::string& error)
{
    if (image.color_space != OPJ_CLRSPC_GRAY && image.color_space != OPJ_CLRSPC_SRGB
        && image.color_space != OPJ_CLRSPC_UNSPECIFIED) {
        error = "unsupported colour space";
        return false;
    }
    if (image.numcomps == 0 || image.comps == nullptr) {
        error = "image has no components";
        return false;
    }
    const uint32_t width = image.x1 - image.x0;
    const uint32_t height = image.y1 - image.y0;
    const uint32_t used = image.numcomps >= 3 ? 3 : 1;
    for (uint32_t c = 0; c < used; ++c) {
        const opj_image_comp_t& comp = image.comps[c];
        if (comp.w != width || comp.h != height || comp.factor != 0) {
            error = "components of different sizes are not supported";
            return false;
        }
        if (comp.data == nullptr) {
            error = "component was not decoded";
            return false;
        }
    }

    const size_t count = static_cast<size_t>(width) * height;
    const opj_image_comp_t& first = image.comps[0];
    if (used == 1) {
        for (size_t i = 0; i < count; ++i) {
            uint32_t v = J2kSampleTo8Bits(first.data[i], first.prec, first.sgnd != 0);
            pixels[i] = 0xFF000000u | v * 0x010101u;
        }
        return true;
    }
    const opj_image_comp_t& second = image.comps[1];
    const opj_image_comp_t& third = image.comps[2];
    for (size_t i = 0; i < count; ++i) {
        uint32_t r = J2kSampleTo8Bits(first.data[i], first.prec, first.sgnd != 0);
        uint32_t g = J2kSampleTo8Bits(second.data[i], second.prec, second.sgnd != 0);
        uint32_t b = J2kSampleTo8Bits(third.data[i], third.prec, third.sgnd != 0);
        pixels[i] = 0xFF000000u | r << 16 | g << 8 | b;
    }
    return true;
}

} // namespace Platform
