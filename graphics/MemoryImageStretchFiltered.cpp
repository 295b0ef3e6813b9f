// The filtered path of StretchBlt: separable two-pass resampling with integer
// weights into two buffers of cells, four 32-bit accumulators per cell in the
// order blue, green, red, alpha. Cell 1 of row 1 is the destination's first
// pixel; cell 0, row 0 and the cells past the destination width are margins.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/DoubleRect.h"
#include "graphics/MemoryImage.h"
#include "graphics/PixelBlend.h"
#include "graphics/Rect.h"
#include "graphics/SourceWords.h"
#include "graphics/VectorClones.h"

namespace Tandry {

namespace {

constexpr int kChannels = 4;

int Trunc(double v)
{
    return static_cast<int>(v);
}

// One source pixel's (or buffer row's) share of up to two cells (rows).
struct Coverage {
    int first;
    uint32_t firstWeight;
    int second;
    uint32_t secondWeight;
};

// The reduction: source item i covers [pos, pos + scale) of the cells, with
// pos = (start - origin) * scale + 1.0 + i * scale; the cells it touches get
// its covered length in units of 1/unit. Cells outside 0..last are never
// reached by a source part inside the image; the limits guard rounding.
std::vector<Coverage> ReductionCoverage(int count, int start, double origin, double scale, double unit, int last)
{
    std::vector<Coverage> out(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double pos = (start - origin) * scale + 1.0 + i * scale;
        const double end = pos + scale;
        const int u = Trunc(std::floor(pos));
        const int v = Trunc(std::floor(end));
        Coverage& c = out[static_cast<size_t>(i)];
        if (u == v) {
            c = {u, static_cast<uint32_t>(Trunc(scale * unit)), u, 0};
        } else {
            c = {u, static_cast<uint32_t>(Trunc((v - pos) * unit)), v, static_cast<uint32_t>(Trunc((end - v) * unit))};
        }
        c.first = std::clamp(c.first, 0, last);
        c.second = std::clamp(c.second, 0, last);
    }
    return out;
}

// The enlargement: cell i samples between item `near` and the one after it,
// weighted `weight` of `unit` to the first.
struct Sample {
    int near;
    int far;
    uint32_t weight;
};

TANDRY_VECTOR_CLONES
void AddScaledRow(uint32_t* out, const uint32_t* in, uint32_t weight, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        out[i] += weight * in[i];
}

TANDRY_VECTOR_CLONES
void MixRows(uint32_t* out, const uint32_t* a, const uint32_t* b, uint32_t weight, uint32_t unit, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        out[i] = weight * a[i] + (unit - weight) * b[i];
}

void AddPixel(uint32_t* cell, uint32_t word, uint32_t weight)
{
    cell[0] += weight * (word & 255);
    cell[1] += weight * ((word >> 8) & 255);
    cell[2] += weight * ((word >> 16) & 255);
    cell[3] += weight * (word >> 24);
}

void MixPixels(uint32_t* cell, uint32_t a, uint32_t b, uint32_t weight)
{
    const uint32_t rest = 257 - weight;
    for (int ch = 0; ch < kChannels; ++ch)
        cell[ch] = weight * ((a >> (8 * ch)) & 255) + rest * ((b >> (8 * ch)) & 255);
}

// The colour is laid over the destination at the filtered alpha, the colour
// channels as averaged (not divided by that alpha).
TANDRY_VECTOR_CLONES
void WriteRow(uint32_t* dest, const uint32_t* cells, int width)
{
    for (int x = 0; x < width; ++x) {
        const uint32_t* cell = cells + static_cast<size_t>(x + 1) * kChannels;
        const uint32_t a = std::min<uint32_t>(cell[3] >> 16, 255);
        if (a == 0)
            continue;
        const uint32_t d = dest[x];
        const uint32_t keep = 256 - a;
        uint32_t out = 0;
        for (int ch = 0; ch < 3; ++ch) {
            const uint32_t v = std::min<uint32_t>(cell[ch] >> 16, 255);
            const uint32_t dc = (d >> (8 * ch)) & 255;
            out |= (((v * a) >> 8) + ((dc * keep) >> 8)) << (8 * ch);
        }
        dest[x] = PixelBlend::OverAlpha(d >> 24, a) << 24 | out;
    }
}

} // namespace

void MemoryImage::StretchBltFiltered(Image* src, const Rect& clipped, const DoubleRect& srcF)
{
    auto* source = dynamic_cast<MemoryImage*>(src);
    if (!source || clipped.width <= 0 || clipped.height <= 0)
        return;

    // The window of source pixels read.
    int c0 = Trunc(std::floor(srcF.x));
    int r0 = Trunc(std::floor(srcF.y));
    int n = Trunc(std::ceil(srcF.x - c0 + srcF.width));
    int m = Trunc(std::ceil(srcF.y - r0 + srcF.height));
    c0 = std::max(c0, 0);
    r0 = std::max(r0, 0);
    n = std::min(n, source->mWidth - c0);
    m = std::min(m, source->mHeight - r0);
    if (n <= 0 || m <= 0)
        return;

    const int destWidth = clipped.width;
    const int destHeight = clipped.height;
    const size_t rowCells = static_cast<size_t>(destWidth + 4) * kChannels;
    std::vector<uint32_t> across(static_cast<size_t>(m) * rowCells, 0);
    std::vector<uint32_t> down(static_cast<size_t>(destHeight + 4) * rowCells, 0);
    const int lastColumn = source->mWidth - 1;

    VisitSourceWords(*source, [&](const auto& words) {
        if (destWidth <= srcF.width) {
            const std::vector<Coverage> cover =
                ReductionCoverage(n, c0, srcF.x, destWidth / srcF.width, 257.0, destWidth + 3);
            for (int i = 0; i < m; ++i) {
                uint32_t* cells = across.data() + static_cast<size_t>(i) * rowCells;
                const size_t row = static_cast<size_t>(r0 + i) * source->mWidth + c0;
                for (int j = 0; j < n; ++j) {
                    const Coverage& c = cover[static_cast<size_t>(j)];
                    const uint32_t word = words[row + j];
                    AddPixel(cells + static_cast<size_t>(c.first) * kChannels, word, c.firstWeight);
                    AddPixel(cells + static_cast<size_t>(c.second) * kChannels, word, c.secondWeight);
                }
            }
        } else {
            // Each sample also reads the next column; at the row's end that
            // one is the last column again, as is a margin cell past it.
            const double f = destWidth == 1 ? srcF.width : (srcF.width - 1) / (destWidth - 1);
            std::vector<Sample> samples(static_cast<size_t>(destWidth + 2));
            for (int i = 1; i <= destWidth + 2; ++i) {
                const double t = srcF.x + (i - 1) * f;
                const int ix = Trunc(t);
                samples[static_cast<size_t>(i - 1)] = {std::clamp(ix, 0, lastColumn),
                                                       std::clamp(ix + 1, 0, lastColumn),
                                                       static_cast<uint32_t>(Trunc((1 - (t - ix)) * 257))};
            }
            for (int i = 0; i < m; ++i) {
                uint32_t* cells = across.data() + static_cast<size_t>(i) * rowCells;
                const size_t row = static_cast<size_t>(r0 + i) * source->mWidth;
                for (int k = 0; k < destWidth + 2; ++k) {
                    const Sample& s = samples[static_cast<size_t>(k)];
                    MixPixels(cells + static_cast<size_t>(k + 1) * kChannels, words[row + s.near], words[row + s.far],
                              s.weight);
                }
            }
        }
    });

    if (destHeight <= srcF.height) {
        const std::vector<Coverage> cover =
            ReductionCoverage(m, r0, srcF.y, destHeight / srcF.height, 256.0, destHeight + 3);
        for (int i = 0; i < m; ++i) {
            const Coverage& c = cover[static_cast<size_t>(i)];
            const uint32_t* in = across.data() + static_cast<size_t>(i) * rowCells;
            AddScaledRow(down.data() + static_cast<size_t>(c.first) * rowCells, in, c.firstWeight, rowCells);
            AddScaledRow(down.data() + static_cast<size_t>(c.second) * rowCells, in, c.secondWeight, rowCells);
        }
    } else {
        // The row below the last one read is that row again.
        const double g = destHeight == 1 ? srcF.height : (srcF.height - 1) / (destHeight - 1);
        const double fraction = srcF.y - Trunc(srcF.y);
        for (int i = 1; i <= destHeight; ++i) {
            const double l = fraction + (i - 1) * g;
            const int o = Trunc(l);
            const uint32_t t = static_cast<uint32_t>(Trunc((1 - (l - o)) * 256));
            const uint32_t* near = across.data() + static_cast<size_t>(std::clamp(o, 0, m - 1)) * rowCells;
            const uint32_t* far = across.data() + static_cast<size_t>(std::clamp(o + 1, 0, m - 1)) * rowCells;
            // Cells 1 .. width + 2.
            MixRows(down.data() + static_cast<size_t>(i) * rowCells + kChannels, near + kChannels, far + kChannels, t,
                    256, static_cast<size_t>(destWidth + 2) * kChannels);
        }
    }

    uint32_t* bits = GetBits();
    for (int y = 0; y < destHeight; ++y)
        WriteRow(bits + static_cast<ptrdiff_t>(clipped.y + y) * mWidth + clipped.x,
                 down.data() + static_cast<size_t>(y + 1) * rowCells, destWidth);
    MarkBitsChanged();
}

} // namespace Tandry
