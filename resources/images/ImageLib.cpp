#include "resources/images/ImageLib.h"

#include "resources/images/ImageDecoders.h"
#include "util/Format.h"

#include <bit>
#include <new>

namespace Tandry {

// The readers hand B, G, R, A bytes straight over as 0xAARRGGBB words.
static_assert(std::endian::native == std::endian::little, "pixel words assume a little-endian machine");

thread_local uint32_t gAlphaColor = kDefaultAlphaColor;

void ResetAlphaColor()
{
    gAlphaColor = kDefaultAlphaColor;
}

namespace ImageLib {

bool SizeAllowed(int64_t width, int64_t height)
{
    return width >= 1 && height >= 1 && width <= kMaxPixels && height <= kMaxPixels
           && width * height <= kMaxPixels;
}

std::unique_ptr<Image> Image::Create(int width, int height, bool zeroed)
{
    if (!SizeAllowed(width, height))
        return nullptr;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    uint32_t* bits = zeroed ? new (std::nothrow) uint32_t[count]() : new (std::nothrow) uint32_t[count];
    if (bits == nullptr)
        return nullptr;
    return std::unique_ptr<Image>(new Image(width, height, bits));
}

Image::Image(int imageWidth, int imageHeight, uint32_t* imageBits)
    : width(imageWidth), height(imageHeight), bits(imageBits)
{
}

Image::~Image()
{
    delete[] bits;
}

void ReportImageProblem(const std::string& label, const std::string& text)
{
    DebugPrintf(L"%S: %S\n", label.c_str(), text.c_str());
}

} // namespace ImageLib
} // namespace Tandry
