#include "resources/images/ImageDecoders.h"

namespace Tandry::ImageLib {
namespace {

constexpr size_t kHeaderSize = 18;
// 8 alpha bits, origin at the top left: the one layout the loader takes.
constexpr uint8_t kTopLeftWithAlpha = 0x28;

bool ReadExactly(const ByteSource& source, void* buffer, size_t count)
{
    auto* bytes = static_cast<uint8_t*>(buffer);
    size_t have = 0;
    while (have < count) {
        size_t got = source.read(source.context, bytes + have, count - have);
        if (got == 0)
            return false;
        have += got;
    }
    return true;
}

uint16_t Le16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

} // namespace

std::unique_ptr<Image> DecodeTga(const ByteSource& source, uint64_t fileSize, const std::string& label)
{
    uint8_t header[kHeaderSize];
    if (!ReadExactly(source, header, sizeof(header))) {
        ReportImageProblem(label, "TGA header cut short");
        return nullptr;
    }
    // Field by field: id length, colour-map type, image type, colour-map start,
    // length and entry size, x and y origin (none of them used), then:
    const uint16_t width = Le16(header + 12);
    const uint16_t height = Le16(header + 14);
    const uint8_t depth = header[16];
    const uint8_t descriptor = header[17];
    if (depth != 32 || descriptor != kTopLeftWithAlpha) {
        ReportImageProblem(label, "only 32-bit TGA files with alpha, top row first, are read");
        return nullptr;
    }
    if (width == 0 || height == 0) {
        ReportImageProblem(label, "TGA image is empty");
        return nullptr;
    }
    const uint64_t pixelBytes = uint64_t{width} * height * 4;
    if (fileSize < kHeaderSize + pixelBytes) {
        ReportImageProblem(label, "TGA file ends before its pixels do");
        return nullptr;
    }
    std::unique_ptr<Image> image = Image::Create(width, height, false);
    if (image == nullptr) {
        ReportImageProblem(label, "TGA image too large");
        return nullptr;
    }
    // The stored B, G, R, A bytes are the pixel words as they stand.
    if (!ReadExactly(source, image->bits, pixelBytes)) {
        ReportImageProblem(label, "TGA pixels cut short");
        return nullptr;
    }
    return image;
}

} // namespace Tandry::ImageLib
