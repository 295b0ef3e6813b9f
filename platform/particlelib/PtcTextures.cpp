#include "platform/particlelib/PtcTextures.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Platform {

namespace {

// Coverage 0..1 of the pixel whose centre is (px, py) on a texture of size s.
float Coverage(PtcShape shape, float px, float py, float s)
{
    const float r = s * 0.5f;
    const float d = std::sqrt((px - r) * (px - r) + (py - r) * (py - r));
    switch (shape) {
    case PtcShape::HardDisc:
        return d <= r ? 1.0f : 0.0f;
    case PtcShape::SoftDisc:
        return std::max(0.0f, 1.0f - d / r);
    case PtcShape::Ring:
        return d <= r && d >= r * 0.6f ? 1.0f : 0.0f;
    case PtcShape::Square:
        return 1.0f;
    }
    return 0.0f;
}

int NextPowerOfTwo(int v)
{
    int p = 1;
    while (p < v)
        p *= 2;
    return p;
}

} // namespace

std::vector<uint8_t> DrawTextureBlock(const PtcTexture& texture)
{
    const int s = texture.size;
    std::vector<uint8_t> block(kMagicTextureHeaderBytes + static_cast<size_t>(s) * s * 4, 0);
    const uint32_t alpha = texture.argb >> 24;
    for (int y = 0; y < s; ++y) {
        for (int x = 0; x < s; ++x) {
            const float c = Coverage(texture.shape, static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f,
                                     static_cast<float>(s));
            const auto a = static_cast<uint32_t>(static_cast<float>(alpha) * c);
            const uint32_t pixel = (a << 24) | (texture.argb & 0xFFFFFFu);
            std::memcpy(block.data() + kMagicTextureHeaderBytes + (static_cast<size_t>(y) * s + x) * 4, &pixel, 4);
        }
    }
    return block;
}

FramePage LayOutFrames(const std::vector<int>& widths, const std::vector<int>& heights)
{
    FramePage page;
    int x = 0;
    int tallest = 1;
    for (size_t i = 0; i < widths.size(); ++i) {
        page.left.push_back(x);
        x += widths[i];
        tallest = std::max(tallest, heights[i]);
    }
    page.width = NextPowerOfTwo(std::max(x, 1));
    page.height = NextPowerOfTwo(tallest);
    return page;
}

} // namespace Platform
