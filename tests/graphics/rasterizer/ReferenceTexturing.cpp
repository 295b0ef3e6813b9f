#include "graphics/rasterizer/ReferenceTexturing.h"

#include "graphics/rasterizer/RasterCanvas.h"

namespace Tandry::Testing {

namespace {

uint32_t Channel(uint32_t word, int c) { return (word >> (16 - 8 * c)) & 0xFF; }

uint32_t OpaquePixel(int32_t format, const uint32_t c[3])
{
    switch (format) {
    case 0x565: return ((c[0] >> 3) << 11 | (c[1] >> 2) << 5 | (c[2] >> 3)) & 0xFFFF;
    case 0x555: return ((c[0] >> 3) << 10 | (c[1] >> 3) << 5 | (c[2] >> 3)) & 0xFFFF;
    default: return 0xFF000000 | c[0] << 16 | c[1] << 8 | c[2];
    }
}

// Opaque from a weight of 240 on, the colour `opaque`; below, a blend of `blended`.
void Store(uint8_t* at, int32_t format, uint32_t w, const uint32_t opaque[3], const uint32_t blended[3])
{
    if (w >= 240)
        RasterCanvas::Write(at, format, OpaquePixel(format, opaque));
    else
        RasterCanvas::Write(at, format, ReferenceBlend(format, RasterCanvas::Read(at, format), blended, w));
}

// 16.16 floor as a whole number, for negative values too.
int64_t WholePart(int32_t s)
{
    return s >= 0 ? s / 65536 : -((-int64_t{s} + 65535) / 65536);
}

} // namespace

uint32_t ReferenceTexel(const RasterTexture& texture, int64_t index)
{
    const auto wrapped = static_cast<uint32_t>(index);
    return wrapped < static_cast<uint32_t>(texture.count) ? texture.bits[wrapped] : 0;
}

uint32_t ReferenceSampleBilinear(const RasterTexture& texture, int32_t su, int32_t sv)
{
    const int64_t cu = WholePart(su);
    const int64_t cv = WholePart(sv);
    const auto fu = static_cast<uint32_t>(((su - cu * 65536) & 0xFFFE) + 1);
    const auto fv = static_cast<uint32_t>(((sv - cv * 65536) & 0xFFFE) + 1);
    const int64_t n = cv * texture.width + cu;
    const uint32_t texels[4] = {ReferenceTexel(texture, n), ReferenceTexel(texture, n + 1),
                                ReferenceTexel(texture, n + texture.width),
                                ReferenceTexel(texture, n + texture.width + 1)};
    const uint32_t area[4] = {((0x10000 - fu) * (0x10000 - fv)) >> 16, (fu * (0x10000 - fv)) >> 16,
                              ((0x10000 - fu) * fv) >> 16, (fu * fv) >> 16};
    uint32_t alpha = 0;
    uint32_t sums[3] = {0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        const uint32_t weight = (area[i] * (texels[i] >> 24)) >> 16;
        alpha += weight;
        for (int c = 0; c < 3; ++c)
            sums[c] += Channel(texels[i], c) * weight;
    }
    return alpha << 24 | (sums[0] >> 8) << 16 | (sums[1] >> 8) << 8 | (sums[2] >> 8);
}

void ReferenceTexturedPixel(uint8_t* at, int32_t format, const ReferenceFeatures& features,
                            const RasterColor& color, const RasterTexture& texture, const int32_t q[6])
{
    // Factors of the tint: the vertex colours read unsigned, else the colour.
    const bool tinted = features.vertexColors || features.modulate;
    const int32_t constant[4] = {color.alpha, color.red, color.green, color.blue};
    uint32_t factor[4];
    for (int i = 0; i < 4; ++i)
        factor[i] = features.vertexColors ? static_cast<uint32_t>(q[i]) >> 16 : static_cast<uint32_t>(constant[i]);
    const uint32_t mask = features.vertexColors ? 0xFF : 0xFFFFFFFF;

    if (features.bilinear) {
        const auto halfBack = [](int32_t value) {
            return static_cast<int32_t>(static_cast<uint32_t>(value) - 0x8000);
        };
        const uint32_t f = ReferenceSampleBilinear(texture, halfBack(q[4]), halfBack(q[5]));
        const uint32_t coverage = f >> 24;
        if (coverage <= 8)
            return;
        uint32_t p[3];
        uint32_t w = coverage;
        for (int c = 0; c < 3; ++c)
            p[c] = Channel(f, c);
        if (tinted) {
            w = (factor[0] * coverage) >> 8;
            for (int c = 0; c < 3; ++c) {
                const uint32_t s = ((p[c] * factor[c + 1]) >> 8) & mask;
                p[c] = ((s * factor[0]) >> 8) & mask;
            }
        }
        Store(at, format, w, p, p);
        return;
    }

    const uint32_t t = ReferenceTexel(texture, int64_t{static_cast<uint32_t>(q[5]) >> 16} * texture.width +
                                                   (static_cast<uint32_t>(q[4]) >> 16));
    uint32_t coverage = 255;
    if (features.alpha) {
        coverage = t >> 24;
        if (coverage <= 8)
            return;
    }
    uint32_t s[3];
    uint32_t w = coverage;
    for (int c = 0; c < 3; ++c)
        s[c] = Channel(t, c);
    if (tinted) {
        w = (factor[0] * coverage) >> 8;
        for (int c = 0; c < 3; ++c)
            s[c] = ((s[c] * factor[c + 1]) >> 8) & mask;
    }
    uint32_t p[3];
    for (int c = 0; c < 3; ++c)
        p[c] = (s[c] * w) >> 8;
    Store(at, format, w, s, p);
}

} // namespace Tandry::Testing
