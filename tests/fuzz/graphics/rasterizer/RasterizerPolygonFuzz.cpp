// Draws one polygon of arbitrary floats, or the same through one of the two
// front ends, into a destination between guard bands and checks that no byte
// outside the clip rectangle changed. Textures of 0 to 64 texels a side live
// in arrays of exactly width x height words, so AddressSanitizer reports any
// texel read outside them.
// Layout (missing bytes read as 0): format selector, width - 1, height - 1,
// row gap, clip x, clip y, clip width, clip height (each modulo what fits;
// the top bit of the clip width byte makes the width negative), a flags byte
// (bit 0: four vertices, bit 1: vertex colours, bits 2-3: 1 a triangle list,
// 2 a transformed quad, else a polygon; bit 4: linear filtering), the
// drawing colour as four little-endian int32 (red, green, blue, alpha), then
// the shape: a polygon's vertices, each x, y, u, v as raw float bits and the
// packed colour; a list's tx, ty, a triangle count byte (modulo 5) and its
// vertices; a quad's x, y, nine matrix floats and source x, y, width and
// height as int32. Last the texture: kind (0 none, 1 an image that is not a
// memory image, else a memory image), width and height (modulo 65), texel
// pattern (0 any, 1 opaque, 2 transparent, 3 round sprite, 4 any with the
// alpha flags forced off) and a texel seed word. All little-endian.
#include "graphics/rasterizer/RasterizePolygon.h"
#include "graphics/rasterizer/rasterizer.h"
#include "graphics/types/Matrix3x3.h"
#include "tests/graphics/rasterizer/ExactTexelImage.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
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

std::vector<uint32_t> Texels(int width, int height, int pattern, uint32_t seed)
{
    std::vector<uint32_t> texels(static_cast<size_t>(width) * static_cast<size_t>(height));
    uint32_t state = seed | 1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            uint32_t texel = state;
            if (pattern == 1) {
                texel |= 0xFF000000;
            } else if (pattern == 2) {
                texel &= 0x00FFFFFF;
            } else if (pattern == 3) {
                const int dx = 2 * x - width + 1;
                const int dy = 2 * y - height + 1;
                const int r2 = dx * dx + dy * dy;
                const int outer = width * height;
                texel = (r2 < outer / 2 ? 0xFF000000 : r2 < outer ? 0x80000000 : 0) | (texel & 0xFFFFFF);
            }
            texels[static_cast<size_t>(y * width + x)] = texel;
        }
    return texels;
}

Tandry::TriVertex ReadVertex(Input& in)
{
    Tandry::TriVertex v;
    v.x = in.Float();
    v.y = in.Float();
    v.u = in.Float();
    v.v = in.Float();
    v.color = in.Word();
    return v;
}

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
    const int entry = (flags >> 2) & 3;
    const bool linear = (flags & 16) != 0;
    Tandry::Color color;
    color.red = static_cast<int32_t>(in.Word());
    color.green = static_cast<int32_t>(in.Word());
    color.blue = static_cast<int32_t>(in.Word());
    color.alpha = static_cast<int32_t>(in.Word());

    std::vector<Tandry::TriVertex> vertices;
    float x = 0;
    float y = 0;
    Tandry::Matrix3x3 matrix;
    Tandry::Rect source;
    if (entry == 1) {
        x = in.Float();
        y = in.Float();
        vertices.resize(static_cast<size_t>(3 * (in.Byte() % 5)));
        for (Tandry::TriVertex& v : vertices)
            v = ReadVertex(in);
    } else if (entry == 2) {
        x = in.Float();
        y = in.Float();
        for (auto& row : matrix.m)
            for (float& e : row)
                e = in.Float();
        source.x = static_cast<int32_t>(in.Word());
        source.y = static_cast<int32_t>(in.Word());
        source.width = static_cast<int32_t>(in.Word());
        source.height = static_cast<int32_t>(in.Word());
    } else {
        for (int i = 0; i < vertexCount; ++i)
            vertices.push_back(ReadVertex(in));
    }

    const uint8_t kind = in.Byte() % 4;
    const int textureWidth = in.Byte() % 65;
    const int textureHeight = in.Byte() % 65;
    const int pattern = in.Byte() % 5;
    const std::vector<uint32_t> texels = Texels(textureWidth, textureHeight, pattern, in.Word());
    Tandry::Image notMemory;
    notMemory.mWidth = textureWidth;
    notMemory.mHeight = textureHeight;
    auto memory = std::make_unique<Tandry::Testing::ExactTexelImage>(textureWidth, textureHeight, texels.data());
    if (pattern == 4)
        memory->ForceAlphaFlags(false, false);
    Tandry::Image* texture = kind == 0 ? nullptr : kind == 1 ? &notMemory : memory.get();

    std::vector<uint8_t> bytes(static_cast<size_t>(2 * kGuard + pitch * height), kPattern);
    uint8_t* origin = bytes.data() + kGuard;
    if (entry == 1) {
        Tandry::RasterizeTriangleList(texture, vertices.data(), static_cast<int>(vertices.size() / 3), &clip,
                                      &color, origin, pitch, format, x, y, linear);
    } else if (entry == 2) {
        Tandry::RasterizeTransformedQuad(texture, x, y, &matrix, &clip, &color, &source, origin, pitch, format,
                                         linear);
    } else {
        Tandry::RasterizePolygon(vertices.data(), vertexCount, kind < 2 ? nullptr : memory.get(), &color, &clip,
                                 origin, pitch, format, linear, vertexColors);
    }

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
