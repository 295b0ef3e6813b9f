// The filtered path of StretchBlt: separable two-pass resampling with integer
// weights into rows of cells, four 32-bit accumulators per cell (blue, green,
// red, alpha). Cell 1 of output row 1 is the destination's first pixel; cell
// 0, row 0 and the cells past the destination width are margins. A row keeps
// each channel in a plane of its own, so that the loops run over whole planes.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TANDRY_GATHER_OCTETS
#endif

#include "graphics/image/AsMemoryImage.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/image/PixelBlend.h"
#include "graphics/image/PixelLanes.h"
#include "graphics/image/SourceWords.h"
#include "graphics/image/VectorClones.h"
#include "graphics/types/DoubleRect.h"
#include "graphics/types/Rect.h"

namespace Tandry {

namespace {

constexpr int kChannels = 4;

int Trunc(double v)
{
    return static_cast<int>(v);
}

// A row of cells: plane c (0 blue .. 3 alpha) holds cells 0 .. stride - 1.
struct CellRow {
    uint32_t* values;
    size_t stride;

    uint32_t* Plane(int channel) const { return values + static_cast<size_t>(channel) * stride; }
};

// One source pixel's (or filtered row's) share of up to two cells (rows).
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

// Whether the rows' shares of each output row 1 .. rows add up to at most
// 257, so that a sum of channel bytes times them stays within 16 bits. The
// shares of a row are truncated parts of its length, so they always do; the
// check keeps that from being an assumption.
bool WeightsFitSixteenBits(const std::vector<Coverage>& cover, int rows)
{
    std::vector<uint32_t> total(static_cast<size_t>(rows) + 4, 0);
    for (const Coverage& c : cover) {
        total[static_cast<size_t>(c.first)] += c.firstWeight;
        total[static_cast<size_t>(c.second)] += c.secondWeight;
    }
    return std::all_of(total.begin() + 1, total.begin() + rows + 1, [](uint32_t t) { return t <= 257; });
}

TANDRY_VECTOR_CLONES
void AddScaledRow(uint32_t* out, const uint32_t* in, uint32_t weight, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        out[i] += weight * in[i];
}

// The reduction down, done first: a row's channel bytes times `weight`
// added into (or, for a row not yet written, stored as) the column sums,
// which keep each column's four channels side by side in the order of the
// word's bytes in memory. The sums are 16 bits wide: the caller takes this
// path only where no output row's weights add up past 257, so no sum an
// output row reads can pass 257 * 255.
static_assert(std::endian::native == std::endian::little, "column sums take a word's bytes blue first");

template <bool Store>
TANDRY_LANE_INLINE void AddColumnsOf(uint16_t* __restrict sums, const uint8_t* __restrict bytes, uint16_t weight,
                                     size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if constexpr (Store)
            sums[i] = static_cast<uint16_t>(weight * bytes[i]);
        else
            sums[i] = static_cast<uint16_t>(sums[i] + weight * bytes[i]);
    }
}

TANDRY_VECTOR_CLONES
void AddColumns(uint16_t* sums, const uint8_t* bytes, uint16_t weight, size_t count, bool store)
{
    if (store)
        AddColumnsOf<true>(sums, bytes, weight, count);
    else
        AddColumnsOf<false>(sums, bytes, weight, count);
}

// Two rows at once into the same sums, which are then written once.
template <bool Store>
TANDRY_LANE_INLINE void AddTwoColumnsOf(uint16_t* __restrict sums, const uint8_t* __restrict first,
                                        const uint8_t* __restrict second, uint16_t firstWeight,
                                        uint16_t secondWeight, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const auto both = static_cast<uint16_t>(firstWeight * first[i] + secondWeight * second[i]);
        if constexpr (Store)
            sums[i] = both;
        else
            sums[i] = static_cast<uint16_t>(sums[i] + both);
    }
}

TANDRY_VECTOR_CLONES
void AddTwoColumns(uint16_t* sums, const uint8_t* first, const uint8_t* second, uint16_t firstWeight,
                   uint16_t secondWeight, size_t count, bool store)
{
    if (store)
        AddTwoColumnsOf<true>(sums, first, second, firstWeight, secondWeight, count);
    else
        AddTwoColumnsOf<false>(sums, first, second, firstWeight, secondWeight, count);
}

// The four channels of a word as lanes, blue first.
using Cell = uint32_t __attribute__((vector_size(16)));

TANDRY_LANE_INLINE Cell Channels(uint32_t word)
{
    return (Cell{word, word >> 8, word >> 16, word >> 24}) & 255;
}

// How the reduction across reads a row of column sums: cell k adds pairs[k]
// pairs of neighbouring columns from start[k] on, pair p weighted by the low
// and high halves of weight[offset[k] + p] (a missing second column weighs
// 0). The products are taken on sums less 32768, so that they fit signed
// 16-bit lanes; bias[k] puts back 32768 times the cell's weights, which
// leaves each channel's sum exact modulo 2^32, as the reference keeps it.
struct Taps {
    std::vector<int> start;
    std::vector<int> pairs;
    std::vector<int> offset;
    std::vector<uint32_t> weight;
    std::vector<uint32_t> bias;
    // The same taps for eight cells at a time, when the processor has AVX2:
    // octet o takes octetPairs[o] pairs for each of its cells (a cell with
    // fewer weighs 0 in the rest), and its weights and biases are laid out as
    // GatherOctets loads them. Empty when the cells go one by one.
    std::vector<int> octetPairs;
    std::vector<uint32_t> octetWeight;
    std::vector<uint32_t> octetBias;
    // Columns past the last one that the padded pairs of an octet may read.
    int spareColumns = 2;
};

TANDRY_LANE_INLINE void AddToCell(const CellRow& row, int cell, const Cell& value)
{
    for (int ch = 0; ch < kChannels; ++ch)
        row.Plane(ch)[cell] += value[ch];
}

// The reduction across: source pixel j adds its channels times its first
// weight into cell first[j] and times its second weight into second[j],
// which is first[j] or the cell after it; first[j] never decreases. The sums
// for the two cells in reach are kept in registers until the walk moves on.
TANDRY_VECTOR_CLONES
void SpreadRow(const CellRow& cells, const uint32_t* words, const Coverage* cover, size_t count)
{
    int at = cover[0].first;
    Cell here{}, after{};
    for (size_t j = 0; j < count; ++j) {
        const Coverage& c = cover[j];
        if (c.first != at) {
            AddToCell(cells, at, here);
            if (c.first == at + 1) {
                here = after;
            } else {
                AddToCell(cells, at + 1, after);
                here = Cell{};
            }
            after = Cell{};
            at = c.first;
        }
        const Cell value = Channels(words[j]);
        here += value * c.firstWeight;
        if (c.second == at)
            here += value * c.secondWeight;
        else
            after += value * c.secondWeight;
    }
    AddToCell(cells, at, here);
    if (static_cast<size_t>(at) + 1 < cells.stride)
        AddToCell(cells, at + 1, after);
}

// The enlargement across: cell k + 1 of each plane mixes words first[k] and
// first[k] + 1 of a row, weight[k] of 257 to the first. Both words come in
// one load.
template <class V>
TANDRY_LANE_INLINE void SampleChannels(const CellRow& cells, size_t k, const V& a, const V& b, const V& w)
{
    for (int ch = 0; ch < kChannels; ++ch) {
        // w * first + (257 - w) * second, with one product (the wrap of
        // first - second cancels in a sum below 2^32).
        const V first = (a >> (8 * ch)) & 255;
        const V second = (b >> (8 * ch)) & 255;
        const V value = (second << 8) + second + w * (first - second);
        if constexpr (std::is_same_v<V, uint32_t>)
            cells.Plane(ch)[1 + k] = value;
        else
            PixelLanes::Store(cells.Plane(ch) + 1 + k, value);
    }
}

TANDRY_LANE_CLONES
void SamplePairs(const CellRow& cells, const uint32_t* __restrict words, const int* __restrict first,
                 const uint32_t* __restrict weight, size_t count)
{
    using namespace PixelLanes;
    size_t k = 0;
    for (; k + kLanes <= count; k += kLanes) {
        U32x8 low, high;
        uint32_t pairs[2 * kLanes];
        for (int i = 0; i < kLanes; ++i)
            std::memcpy(pairs + 2 * i, words + first[k + static_cast<size_t>(i)], 2 * sizeof(uint32_t));
        std::memcpy(&low, pairs, sizeof low);
        std::memcpy(&high, pairs + kLanes, sizeof high);
        const U32x8 a = __builtin_shufflevector(low, high, 0, 2, 4, 6, 8, 10, 12, 14);
        const U32x8 b = __builtin_shufflevector(low, high, 1, 3, 5, 7, 9, 11, 13, 15);
        SampleChannels(cells, k, a, b, Load(weight + k));
    }
    for (; k < count; ++k)
        SampleChannels(cells, k, words[first[k]], words[first[k] + 1], weight[k]);
}

// An accumulator as a channel value: a full weight is 257 * 256, so 255
// stays 255; the limit only guards rounding.
template <class V>
TANDRY_LANE_INLINE V ChannelOf(const V& acc)
{
    return PixelLanes::Min(acc >> 16, 255);
}

template <class V>
TANDRY_LANE_INLINE V MixChannel(const V& d, const V& value, const V& a, int shift)
{
    return (((value * a) >> 8) + ((((d >> shift) & 255) * (256 - a)) >> 8)) << shift;
}

// The colour is laid over the destination at the filtered alpha, the colour
// channels as averaged (not divided by that alpha); all four are channel
// values 0 .. 255.
template <class V>
TANDRY_LANE_INLINE V WriteChannels(const V& d, const V& blue, const V& green, const V& red, const V& a)
{
    const V out = PixelBlend::OverAlpha(d >> 24, a) << 24 | MixChannel(d, red, a, 16) | MixChannel(d, green, a, 8)
        | MixChannel(d, blue, a, 0);
    return PixelLanes::Select(PixelLanes::IsZero(a), d, out);
}

template <class V>
TANDRY_LANE_INLINE V WritePixels(const V& d, const V& blue, const V& green, const V& red, const V& alpha)
{
    return WriteChannels(d, ChannelOf(blue), ChannelOf(green), ChannelOf(red), ChannelOf(alpha));
}

template <class V>
TANDRY_LANE_INLINE V WriteWords(const V& d, const V& s)
{
    return WriteChannels(d, s & 255, (s >> 8) & 255, (s >> 16) & 255, s >> 24);
}

TANDRY_LANE_CLONES
void WriteRow(uint32_t* dest, const CellRow& row, int width)
{
    using namespace PixelLanes;
    // Cell x + 1 is pixel x.
    const uint32_t* b = row.Plane(0) + 1;
    const uint32_t* g = row.Plane(1) + 1;
    const uint32_t* r = row.Plane(2) + 1;
    const uint32_t* a = row.Plane(3) + 1;
    int x = 0;
    for (; x + kLanes <= width; x += kLanes)
        Store(dest + x, WritePixels(Load(dest + x), Load(b + x), Load(g + x), Load(r + x), Load(a + x)));
    for (; x < width; ++x)
        dest[x] = WritePixels(dest[x], b[x], g[x], r[x], a[x]);
}

// The enlargement down and the write in one pass: pixel x mixes cell x + 1
// of two filtered rows, weight of 256 to the first.
template <class V>
TANDRY_LANE_INLINE V MixedCell(const V& near, const V& far, uint32_t weight)
{
    // weight * near + (256 - weight) * far, with one product: the sum is
    // below 2^32, so the wrap of near - far cancels.
    return (far << 8) + weight * (near - far);
}

TANDRY_LANE_CLONES
void WriteMixedRow(uint32_t* dest, const CellRow& near, const CellRow& far, uint32_t weight, int width)
{
    using namespace PixelLanes;
    const uint32_t* n[kChannels];
    const uint32_t* f[kChannels];
    for (int ch = 0; ch < kChannels; ++ch) {
        n[ch] = near.Plane(ch) + 1;
        f[ch] = far.Plane(ch) + 1;
    }
    int x = 0;
    for (; x + kLanes <= width; x += kLanes)
        Store(dest + x, WritePixels(Load(dest + x), MixedCell(Load(n[0] + x), Load(f[0] + x), weight),
                                    MixedCell(Load(n[1] + x), Load(f[1] + x), weight),
                                    MixedCell(Load(n[2] + x), Load(f[2] + x), weight),
                                    MixedCell(Load(n[3] + x), Load(f[3] + x), weight)));
    for (; x < width; ++x)
        dest[x] = WritePixels(dest[x], MixedCell(n[0][x], f[0][x], weight), MixedCell(n[1][x], f[1][x], weight),
                              MixedCell(n[2][x], f[2][x], weight), MixedCell(n[3][x], f[3][x], weight));
}

// A row of words of channel values, as GatherWords makes them.
TANDRY_LANE_CLONES
void WriteWordRow(uint32_t* dest, const uint32_t* words, int width)
{
    using namespace PixelLanes;
    int x = 0;
    for (; x + kLanes <= width; x += kLanes) {
        // Eight transparent results leave the destination as it is; not
        // writing them keeps its cache lines clean, which the empty parts of
        // a sprite sheet make common.
        const U32x8 s = Load(words + x);
        if (!AllZero(s >> 24))
            Store(dest + x, WriteWords(Load(dest + x), s));
    }
    for (; x < width; ++x)
        dest[x] = WriteWords(dest[x], words[x]);
}

#if defined(TANDRY_GATHER_OCTETS)
// Cells 1 .. 8 * octets as GatherWords makes them, eight at a time, each
// octet written onto dest at once as WriteWordRow writes it. Register
// r of an octet holds two cells, one per half: (0, 2), (1, 3), (4, 6) and
// (5, 7), which is the order in which the packs below put the eight words
// side by side. Each half carries four 32-bit lanes, one per channel.
__attribute__((target("avx2"))) void GatherOctets(uint32_t* __restrict dest, uint32_t* __restrict out,
                                                  const uint16_t* __restrict sums, const Taps& taps, size_t octets)
{
    static constexpr int kFirstOfRegister[4] = {0, 1, 4, 5};
    const __m256i flip = _mm256_set1_epi16(static_cast<int16_t>(0x8000));
    // Within each half: a cell's two columns, channel by channel.
    const __m256i interleave = _mm256_setr_epi8(0, 1, 8, 9, 2, 3, 10, 11, 4, 5, 12, 13, 6, 7, 14, 15, 0, 1, 8, 9, 2,
                                                3, 10, 11, 4, 5, 12, 13, 6, 7, 14, 15);
    const int* start = taps.start.data() + 1;
    const uint32_t* weight = taps.octetWeight.data();
    const uint32_t* bias = taps.octetBias.data();
    for (size_t o = 0; o < octets; ++o, start += 8, bias += 32) {
        __m256i acc[4];
        const uint16_t* column[8];
        for (int c = 0; c < 8; ++c)
            column[c] = sums + static_cast<size_t>(start[c]) * kChannels;
        for (int r = 0; r < 4; ++r)
            acc[r] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bias + 8 * r));
        const int pairs = taps.octetPairs[o];
        for (int p = 0; p < pairs; ++p, weight += 32) {
            for (int r = 0; r < 4; ++r) {
                const int c = kFirstOfRegister[r];
                const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(column[c] + 2 * p * kChannels));
                const __m128i high =
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(column[c + 2] + 2 * p * kChannels));
                const __m256i two = _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
                const __m256i mixed = _mm256_shuffle_epi8(_mm256_xor_si256(two, flip), interleave);
                const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weight + 8 * r));
                acc[r] = _mm256_add_epi32(acc[r], _mm256_madd_epi16(mixed, w));
            }
        }
        // Shifted down, a sum is below 2^16, so the saturating packs give min(v, 255).
        const __m256i first = _mm256_packs_epi32(_mm256_srli_epi32(acc[0], 16), _mm256_srli_epi32(acc[1], 16));
        const __m256i second = _mm256_packs_epi32(_mm256_srli_epi32(acc[2], 16), _mm256_srli_epi32(acc[3], 16));
        // Quarters (0 1), (4 5), (2 3), (6 7) put in order.
        const __m256i words = _mm256_permute4x64_epi64(_mm256_packus_epi16(first, second), 0xD8);
#if defined(__clang__)
        // Clang will not take eight-lane values from baseline helpers into
        // AVX2 code (see PixelLanes.h): the words wait in out for WriteWordRow.
        (void)dest;
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 8 * o), words);
#else
        (void)out;
        // Eight transparent results leave the destination as it is.
        if (_mm256_testz_si256(words, _mm256_set1_epi32(static_cast<int>(0xFF000000u))))
            continue;
        uint32_t* d = dest + 8 * o;
        PixelLanes::Store(d, WriteWords(PixelLanes::Load(d), reinterpret_cast<PixelLanes::U32x8>(words)));
#endif
    }
}
#endif

// Cells 1 .. count of a row of column sums as words of channel values, blue
// in the low byte: each channel min(sum >> 16, 255). The first cells, as
// many as it returns, go straight onto dest instead, as WriteWordRow would
// write them; out holds the rest, at their own places.
TANDRY_VECTOR_CLONES
size_t GatherWords(uint32_t* __restrict dest, uint32_t* __restrict out, const uint16_t* __restrict sums,
                   const Taps& taps, size_t count)
{
    const int* start = taps.start.data() + 1;
    const int* pairs = taps.pairs.data() + 1;
    const int* offset = taps.offset.data() + 1;
    const uint32_t* bias = taps.bias.data() + 1;
    const uint32_t* weight = taps.weight.data();
    size_t k = 0;
#if defined(TANDRY_GATHER_OCTETS)
    if (!taps.octetPairs.empty()) {
        const size_t octets = count / 8;
        GatherOctets(dest, out, sums, taps, octets);
        k = octets * 8;
    }
#endif
#if defined(__clang__)
    const size_t written = 0;
#else
    const size_t written = k;
#endif
#if defined(__SSE2__)
    const __m128i flip = _mm_set1_epi16(static_cast<int16_t>(0x8000));
    for (; k < count; ++k) {
        __m128i acc = _mm_set1_epi32(static_cast<int>(bias[k]));
        const uint16_t* column = sums + static_cast<size_t>(start[k]) * kChannels;
        const uint32_t* w = weight + offset[k];
        for (int p = 0; p < pairs[k]; ++p) {
            const __m128i two = _mm_loadu_si128(reinterpret_cast<const __m128i*>(column + 2 * p * kChannels));
            const __m128i mixed = _mm_xor_si128(_mm_unpacklo_epi16(two, _mm_srli_si128(two, 8)), flip);
            acc = _mm_add_epi32(acc, _mm_madd_epi16(mixed, _mm_set1_epi32(static_cast<int>(w[p]))));
        }
        // Shifted down, a sum is below 2^16, so the saturating packs give min(v, 255).
        const __m128i shifted = _mm_srli_epi32(acc, 16);
        const __m128i halves = _mm_packs_epi32(shifted, shifted);
        out[k] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(halves, halves)));
    }
#else
    for (; k < count; ++k) {
        uint32_t word = 0;
        const uint16_t* column = sums + static_cast<size_t>(start[k]) * kChannels;
        const uint32_t* w = weight + offset[k];
        for (int ch = 0; ch < kChannels; ++ch) {
            uint32_t acc = 0;
            for (int p = 0; p < pairs[k]; ++p) {
                acc += (w[p] & 0xffff) * column[2 * p * kChannels + ch];
                acc += (w[p] >> 16) * column[(2 * p + 1) * kChannels + ch];
            }
            word |= std::min(acc >> 16, 255u) << (8 * ch);
        }
        out[k] = word;
    }
#endif
    return written;
}

// The horizontal pass: one source row into one row of cells.
class RowFilter {
public:
    RowFilter(const MemoryImage& source, const DoubleRect& srcF, int c0, int n, int destWidth)
        : mPitch(source.mWidth), mC0(c0), mN(n), mReduce(destWidth <= srcF.width)
    {
        if (mReduce) {
            mCover = ReductionCoverage(n, c0, srcF.x, destWidth / srcF.width, 257.0, destWidth + 3);
            mWords.resize(static_cast<size_t>(n));
            return;
        }
        // Each sample mixes columns clamp(ix) and clamp(ix + 1): the next
        // column, or at either end of the row the same one twice. A margin
        // cell past the row's end is the last column again.
        mLastColumn = source.mWidth - 1;
        const double f = destWidth == 1 ? srcF.width : (srcF.width - 1) / (destWidth - 1);
        const size_t count = static_cast<size_t>(destWidth + 2);
        std::vector<int> near(count), far(count);
        mPairAt.resize(count);
        mWeight.resize(count);
        for (size_t k = 0; k < count; ++k) {
            const double t = srcF.x + static_cast<double>(k) * f;
            const int ix = Trunc(t);
            near[k] = std::clamp(ix, 0, mLastColumn);
            far[k] = std::clamp(ix + 1, 0, mLastColumn);
            mWeight[k] = static_cast<uint32_t>(Trunc((1 - (t - ix)) * 257));
        }
        // Each row is read once into a copy of columns first - 1 .. last + 1,
        // clamped to the row, so that word j is column first - 1 + j there:
        // both columns of a sample are then two neighbouring words, the pair
        // (0, 0) starting one word early, on the copy of column 0 before it.
        mFirst = *std::min_element(near.begin(), near.end());
        const int last = *std::max_element(far.begin(), far.end());
        for (size_t k = 0; k < count; ++k)
            mPairAt[k] = near[k] - mFirst + (near[k] == 0 && far[k] == 0 ? 0 : 1);
        mRowWords.resize(static_cast<size_t>(last - mFirst + 3));
    }

    bool Reduces() const { return mReduce; }

    // The reduction across as taps per cell, for rows of column sums: each
    // source column's two shares go to the cells its coverage names, so a
    // cell gets exactly what SpreadRow would add into it. The columns of a
    // cell follow one another; they are taken in pairs, and the column past
    // an odd count weighs 0 (the sums keep one spare column for it).
    void MakeTaps(size_t cells)
    {
        // Each column's nonzero shares, in column order.
        const auto eachShare = [&](const auto& visit) {
            for (int j = 0; j < mN; ++j) {
                const Coverage& c = mCover[static_cast<size_t>(j)];
                if (c.firstWeight != 0)
                    visit(static_cast<size_t>(c.first), j, c.firstWeight);
                if (c.secondWeight != 0)
                    visit(static_cast<size_t>(c.second), j, c.secondWeight);
            }
        };
        std::vector<int> last(cells, -1);
        mTaps.start.assign(cells, -1);
        mTaps.pairs.assign(cells, 0);
        mTaps.offset.assign(cells, 0);
        mTaps.bias.assign(cells, 0);
        eachShare([&](size_t cell, int column, uint32_t) {
            if (mTaps.start[cell] < 0)
                mTaps.start[cell] = column;
            last[cell] = column;
        });
        size_t size = 0;
        for (size_t k = 0; k < cells; ++k) {
            mTaps.offset[k] = static_cast<int>(size);
            if (mTaps.start[k] < 0) {
                mTaps.start[k] = 0;
                continue;
            }
            mTaps.pairs[k] = (last[k] - mTaps.start[k] + 2) / 2;
            size += static_cast<size_t>(mTaps.pairs[k]);
        }
        // A column whose two shares land in one cell is one tap.
        mTaps.weight.assign(size, 0);
        eachShare([&](size_t cell, int column, uint32_t weight) {
            const int t = column - mTaps.start[cell];
            mTaps.weight[static_cast<size_t>(mTaps.offset[cell] + t / 2)] += weight << (t % 2 * 16);
            mTaps.bias[cell] += 32768u * weight;
        });
        MakeOctets(cells);
    }

    // Columns each row of sums needs past source column n - 1.
    int SpareColumns() const { return mTaps.spareColumns; }

    // A row of column sums (source columns c0 .. c0 + n - 1) written onto
    // output pixels dest[0 .. width - 1]; words is scratch for width words.
    void Gather(const uint16_t* sums, uint32_t* dest, uint32_t* words, int width) const
    {
        const size_t done = GatherWords(dest, words, sums, mTaps, static_cast<size_t>(width));
        WriteWordRow(dest + done, words + done, width - static_cast<int>(done));
    }

    // Adds source row `sourceRow` times `weight` into column sums, or stores
    // it there when `store`.
    template <class Words>
    void AddRow(const Words& words, int sourceRow, uint16_t* sums, uint16_t weight, bool store)
    {
        AddColumns(sums, RowBytes(words, sourceRow, mWords), weight, static_cast<size_t>(mN) * kChannels, store);
    }

    // Adds (or stores) two source rows' weighted sum in one pass.
    template <class Words>
    void AddTwoRows(const Words& words, int firstRow, int secondRow, uint16_t* sums, uint16_t firstWeight,
                    uint16_t secondWeight, bool store)
    {
        AddTwoColumns(sums, RowBytes(words, firstRow, mWords), RowBytes(words, secondRow, mSecondWords), firstWeight,
                      secondWeight, static_cast<size_t>(mN) * kChannels, store);
    }

    // cells: zero in the margins; the reduction clears the rest itself.
    template <class Words>
    void Filter(const Words& words, int sourceRow, const CellRow& cells)
    {
        const size_t row = static_cast<size_t>(sourceRow) * mPitch;
        if (mReduce) {
            std::fill_n(cells.values, cells.stride * kChannels, 0u);
            for (int j = 0; j < mN; ++j)
                mWords[static_cast<size_t>(j)] = words[row + mC0 + j];
            SpreadRow(cells, mWords.data(), mCover.data(), mCover.size());
            return;
        }
        for (size_t j = 0; j < mRowWords.size(); ++j) {
            const int column = std::clamp(mFirst - 1 + static_cast<int>(j), 0, mLastColumn);
            mRowWords[j] = words[row + static_cast<size_t>(column)];
        }
        SamplePairs(cells, mRowWords.data(), mPairAt.data(), mWeight.data(), mPairAt.size());
    }

private:
    // The bytes of columns c0 .. c0 + n - 1 of a source row: the source's own
    // words, or those read through its colour table into `scratch`.
    template <class Words>
    const uint8_t* RowBytes(const Words& words, int sourceRow, std::vector<uint32_t>& scratch) const
    {
        const size_t row = static_cast<size_t>(sourceRow) * mPitch + mC0;
        if constexpr (std::is_same_v<Words, ArgbWords>) {
            return reinterpret_cast<const uint8_t*>(words.bits + row);
        } else {
            scratch.resize(static_cast<size_t>(mN));
            for (int j = 0; j < mN; ++j)
                scratch[static_cast<size_t>(j)] = words[row + j];
            return reinterpret_cast<const uint8_t*>(scratch.data());
        }
    }

    // The octets of GatherOctets for output cells 1 .. cells - 4, when the
    // processor runs it.
    void MakeOctets(size_t cells)
    {
        mTaps.octetPairs.clear();
        mTaps.octetWeight.clear();
        mTaps.octetBias.clear();
        mTaps.spareColumns = 2;
#if defined(TANDRY_GATHER_OCTETS)
        static const bool avx2 = __builtin_cpu_supports("avx2");
        const size_t octets = cells < 4 ? 0 : (cells - 4) / 8;
        if (!avx2 || octets == 0)
            return;
        // Register r of an octet holds cells kFirst[r] and kFirst[r] + 2.
        static constexpr size_t kFirst[4] = {0, 1, 4, 5};
        const auto lane = [](size_t r, size_t half, size_t ch) { return 8 * r + 4 * half + ch; };
        mTaps.octetPairs.resize(octets);
        mTaps.octetBias.resize(octets * 32);
        for (size_t o = 0; o < octets; ++o) {
            const size_t first = 1 + 8 * o;
            int pairs = 0;
            for (size_t c = 0; c < 8; ++c)
                pairs = std::max(pairs, mTaps.pairs[first + c]);
            mTaps.octetPairs[o] = pairs;
            for (size_t c = 0; c < 8; ++c)
                mTaps.spareColumns = std::max(mTaps.spareColumns, mTaps.start[first + c] + 2 * pairs - mN + 1);
            const size_t weights = mTaps.octetWeight.size();
            mTaps.octetWeight.resize(weights + static_cast<size_t>(pairs) * 32, 0);
            for (size_t r = 0; r < 4; ++r) {
                for (size_t half = 0; half < 2; ++half) {
                    const size_t cell = first + kFirst[r] + 2 * half;
                    for (size_t ch = 0; ch < kChannels; ++ch) {
                        mTaps.octetBias[32 * o + lane(r, half, ch)] = mTaps.bias[cell];
                        for (int p = 0; p < mTaps.pairs[cell]; ++p)
                            mTaps.octetWeight[weights + 32 * static_cast<size_t>(p) + lane(r, half, ch)] =
                                mTaps.weight[static_cast<size_t>(mTaps.offset[cell] + p)];
                    }
                }
            }
        }
#endif
    }

    int mPitch;
    int mC0;
    int mN;
    bool mReduce;
    std::vector<Coverage> mCover;
    Taps mTaps;
    // The enlargement: where each sample's pair starts in mRowWords, and its weight.
    std::vector<int> mPairAt;
    std::vector<uint32_t> mWeight;
    int mFirst = 0;
    int mLastColumn = 0;
    // The row being filtered: its columns mFirst - 1 .. (enlargement), or
    // its words read through the colour table when there is one (reduction).
    std::vector<uint32_t> mRowWords;
    std::vector<uint32_t> mWords;
    std::vector<uint32_t> mSecondWords;
};

} // namespace

// The vertical pass runs over the filtered source rows as they are made and
// hands each finished row of cells to the output, so only four rows of cells
// are ever held: the sums are the same in any order.
void MemoryImage::StretchBltFiltered(Image* src, const Rect& clipped, const DoubleRect& srcF)
{
    MemoryImage* source = AsMemoryImage(src);
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
    const size_t stride = static_cast<size_t>(destWidth + 4);
    const size_t rowValues = stride * kChannels;
    // Two filtered source rows and two output rows.
    std::vector<uint32_t> storage(4 * rowValues, 0);
    CellRow filtered[2] = {{storage.data(), stride}, {storage.data() + rowValues, stride}};
    CellRow out[2] = {{storage.data() + 2 * rowValues, stride}, {storage.data() + 3 * rowValues, stride}};
    uint32_t* bits = GetBits();
    const auto emit = [&](int row, const CellRow& cells) {
        if (row >= 1 && row <= destHeight)
            WriteRow(bits + static_cast<ptrdiff_t>(clipped.y + row - 1) * mWidth + clipped.x, cells, destWidth);
    };
    RowFilter filter(*source, srcF, c0, n, destWidth);
    std::vector<Coverage> rowCover;
    if (destHeight <= srcF.height)
        rowCover = ReductionCoverage(m, r0, srcF.y, destHeight / srcF.height, 256.0, destHeight + 3);
    const bool sixteenBitSums = filter.Reduces() && !rowCover.empty() && WeightsFitSixteenBits(rowCover, destHeight);

    VisitSourceWords(*source, [&](const auto& words) {
        if (sixteenBitSums) {
            // Reducing both ways, the sums are taken down the columns first,
            // so each source pixel is read once and each output row is
            // reduced across once. The sums are integers, so the order does
            // not change them.
            filter.MakeTaps(stride);
            const size_t sumValues = static_cast<size_t>(n) * kChannels;
            // Each row of sums has spare columns for the last odd tap and
            // the padded pairs of the octets; nothing writes them.
            const size_t sumStride = sumValues + static_cast<size_t>(filter.SpareColumns()) * kChannels;
            std::vector<uint16_t> sumStorage(2 * sumStride, 0);
            uint16_t* sums[2] = {sumStorage.data(), sumStorage.data() + sumStride};
            std::vector<uint32_t> channelWords(static_cast<size_t>(destWidth));
            // A row of sums nothing has added into since it was last used
            // takes its first source row by storing, not adding.
            bool unused[2] = {true, true};
            const auto finish = [&](int row, int which) {
                if (row < 1 || row > destHeight)
                    return;
                if (unused[which])
                    std::fill_n(sums[which], sumValues, uint16_t{0});
                filter.Gather(sums[which], bits + static_cast<ptrdiff_t>(clipped.y + row - 1) * mWidth + clipped.x,
                              channelWords.data(), destWidth);
            };
            const auto add = [&](int sourceRow, int which, uint32_t weight) {
                filter.AddRow(words, sourceRow, sums[which], static_cast<uint16_t>(weight), unused[which]);
                unused[which] = false;
            };
            int base = 0;
            for (int i = 0; i < m; ++i) {
                const Coverage& c = rowCover[static_cast<size_t>(i)];
                for (; base < c.first; ++base) {
                    finish(base, 0);
                    std::swap(sums[0], sums[1]);
                    unused[0] = unused[1];
                    unused[1] = true;
                }
                if (i + 1 < m && rowCover[static_cast<size_t>(i) + 1].first == c.first) {
                    // The next row adds into the same output row, so both go in one pass.
                    const Coverage& next = rowCover[static_cast<size_t>(i) + 1];
                    filter.AddTwoRows(words, r0 + i, r0 + i + 1, sums[0], static_cast<uint16_t>(c.firstWeight),
                                      static_cast<uint16_t>(next.firstWeight), unused[0]);
                    unused[0] = false;
                    if (c.secondWeight != 0)
                        add(r0 + i, c.second - base, c.secondWeight);
                    if (next.secondWeight != 0)
                        add(r0 + i + 1, next.second - base, next.secondWeight);
                    ++i;
                    continue;
                }
                add(r0 + i, 0, c.firstWeight);
                if (c.secondWeight != 0)
                    add(r0 + i, c.second - base, c.secondWeight);
            }
            finish(base, 0);
            finish(base + 1, 1);
            return;
        }
        if (destHeight <= srcF.height) {
            // Filtered row i adds into output rows first and first + 1 at
            // most, and first never decreases: rows behind it are finished.
            const std::vector<Coverage>& cover = rowCover;
            int base = 0;
            for (int i = 0; i < m; ++i) {
                filter.Filter(words, r0 + i, filtered[0]);
                const Coverage& c = cover[static_cast<size_t>(i)];
                for (; base < c.first; ++base) {
                    emit(base, out[0]);
                    std::swap(out[0], out[1]);
                    std::fill_n(out[1].values, rowValues, 0u);
                }
                AddScaledRow(out[0].values, filtered[0].values, c.firstWeight, rowValues);
                AddScaledRow(out[c.second - base].values, filtered[0].values, c.secondWeight, rowValues);
            }
            emit(base, out[0]);
            emit(base + 1, out[1]);
            return;
        }
        // Each output row mixes filtered rows o and o + 1 (the last row read
        // stands in for the one below it); o never decreases.
        const double g = destHeight == 1 ? srcF.height : (srcF.height - 1) / (destHeight - 1);
        const double fraction = srcF.y - Trunc(srcF.y);
        int held[2] = {-1, -1};
        const auto rowOf = [&](int index, int keep) {
            for (int k = 0; k < 2; ++k) {
                if (held[k] == index)
                    return filtered[k];
            }
            const int k = held[0] == keep ? 1 : 0;
            filter.Filter(words, r0 + index, filtered[k]);
            held[k] = index;
            return filtered[k];
        };
        for (int i = 1; i <= destHeight; ++i) {
            const double l = fraction + (i - 1) * g;
            const int o = Trunc(l);
            const uint32_t t = static_cast<uint32_t>(Trunc((1 - (l - o)) * 256));
            const int nearIndex = std::clamp(o, 0, m - 1);
            const CellRow near = rowOf(nearIndex, -1);
            const CellRow far = rowOf(std::clamp(o + 1, 0, m - 1), nearIndex);
            WriteMixedRow(bits + static_cast<ptrdiff_t>(clipped.y + i - 1) * mWidth + clipped.x, near, far, t,
                          destWidth);
        }
    });
    MarkBitsChanged();
}

} // namespace Tandry
