// Draws one polygon of arbitrary floats into a destination between guard
// bands and checks that no byte outside the clip rectangle changed.
// Layout (missing bytes read as 0): format selector, width - 1, height - 1,
// row gap, clip x, clip y, clip width, clip height (each modulo what fits;
// the top bit of the clip width byte makes the width negative), a flags byte
// (bit 0: four vertices, bit 1: vertex colours), the drawing colour as four
// little-endian int32 (red, green, blue, alpha), then per vertex x, y, u, v
// as raw float bits and the packed colour, all little-endian.
#include "graphics/rasterizer/RasterizePolygon.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

class Input {
public:
    Input(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
    uint8_t Byte() { return mPos < mSize ? mData[mPos++] : 0; }
    uint32_t Word()
    {
        uint32_t w = 0;
        for (int i = 0; i < 4; ++i)
            w |= static_cast<uint32_t>(Byte()) << (8 * i);
        return w;
    }
    float Float()
    {
        const uint32_t bits = Word();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }

private:
    const uint8_t* mData;
    size_t mSize;
    size_t mPos = 0;
};

constexpr int kGuard = 64;
constexpr uint8_t kPattern = 0x5A;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size);
    static constexpr int32_t kFormats[] = {0x8888, 0x888, 0x565, 0x555, 0x1234};
    const int32_t format = kFormats[in.Byte() % 5];
    const int pixelSize = format == 0x565 || format == 0x555 ? 2 : 4;
    const int width = 1 + in.Byte() % 64;
    const int height = 1 + in.Byte() % 64;
    const int pitch = width * pixelSize + in.Byte() % 16;
    // A pitch that is not a whole number of pixels is cut down to one.
    const int rowStep = pitch / pixelSize * pixelSize;

    Tandry::Rect clip;
    clip.x = in.Byte() % width;
    clip.y = in.Byte() % height;
    const uint8_t clipWidth = in.Byte();
    clip.width = (clipWidth & 0x7F) % (width - clip.x + 1);
    if (clipWidth & 0x80)
        clip.width = -clip.width;
    clip.height = in.Byte() % (height - clip.y + 1);

    const uint8_t flags = in.Byte();
    const int vertexCount = (flags & 1) ? 4 : 3;
    const bool vertexColors = (flags & 2) != 0;
    Tandry::Color color;
    color.red = static_cast<int32_t>(in.Word());
    color.green = static_cast<int32_t>(in.Word());
    color.blue = static_cast<int32_t>(in.Word());
    color.alpha = static_cast<int32_t>(in.Word());
    Tandry::TriVertex vertices[4];
    for (int i = 0; i < vertexCount; ++i) {
        vertices[i].x = in.Float();
        vertices[i].y = in.Float();
        vertices[i].u = in.Float();
        vertices[i].v = in.Float();
        vertices[i].color = in.Word();
    }

    std::vector<uint8_t> bytes(static_cast<size_t>(2 * kGuard + pitch * height), kPattern);
    uint8_t* origin = bytes.data() + kGuard;
    Tandry::RasterizePolygon(vertices, vertexCount, nullptr, &color, &clip, origin, pitch, format, false,
                             vertexColors);

    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == kPattern)
            continue;
        const long offset = static_cast<long>(i) - kGuard;
        const long row = offset / rowStep;
        const long column = (offset % rowStep) / pixelSize;
        const bool inside = offset >= 0 && row < height && (offset % rowStep) < width * pixelSize &&
                            column >= clip.x && column < clip.x + clip.width && row >= clip.y &&
                            row < clip.y + clip.height;
        if (!inside)
            std::abort();
    }
    return 0;
}
