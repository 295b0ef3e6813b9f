#include "platform/d3d/D3DSpanKernel.h"

#include "platform/d3d/D3DConstants.h"
#include "platform/d3d/D3DRepeatedSum.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace Platform {
namespace {

// Every loop evaluates the attributes exactly as the general loop does (the
// same double sums in the same order), so only the per-pixel dispatch goes.

// Render targets: read by bit replication, written by top bits, other bits 0.
struct TargetArgb8888 {
    static uint32_t Bytes(const D3DRenderTarget&) { return 4; }
    static uint32_t Read(const D3DRenderTarget&, const uint8_t* pixel)
    {
        uint32_t raw;
        std::memcpy(&raw, pixel, sizeof raw);
        return raw | 0xFF000000u;
    }
    static void Write(const D3DRenderTarget&, uint8_t* pixel, uint32_t colour)
    {
        const uint32_t raw = colour & 0xFFFFFFu;
        std::memcpy(pixel, &raw, sizeof raw);
    }
};

struct TargetRgb565 {
    static uint32_t Bytes(const D3DRenderTarget&) { return 2; }
    static uint32_t Read(const D3DRenderTarget&, const uint8_t* pixel)
    {
        uint16_t raw;
        std::memcpy(&raw, pixel, sizeof raw);
        const uint32_t red = raw >> 11;
        const uint32_t green = (raw >> 5) & 0x3F;
        const uint32_t blue = raw & 0x1F;
        return 0xFF000000u | (((red << 3) | (red >> 2)) << 16) | (((green << 2) | (green >> 4)) << 8) |
               ((blue << 3) | (blue >> 2));
    }
    static void Write(const D3DRenderTarget&, uint8_t* pixel, uint32_t colour)
    {
        const auto raw = static_cast<uint16_t>(((colour >> 8) & 0xF800) | ((colour >> 5) & 0x7E0) | ((colour >> 3) & 0x1F));
        std::memcpy(pixel, &raw, sizeof raw);
    }
};

struct TargetAny {
    static uint32_t Bytes(const D3DRenderTarget& target) { return target.layout.Bytes(); }
    static uint32_t Read(const D3DRenderTarget& target, const uint8_t* pixel)
    {
        return target.layout.Decode(target.layout.Load(pixel));
    }
    static void Write(const D3DRenderTarget& target, uint8_t* pixel, uint32_t colour)
    {
        target.layout.Store(pixel, target.layout.Encode(colour));
    }
};

// Texel reads after the coordinates became texel indices. The texture's
// numbers sit in a local copy, so that the stores into the target, which may
// alias anything, do not reload them every pixel.
struct TexelSource {
    const D3DTextureSampler* sampler = nullptr;
    const uint8_t* pixels = nullptr;
    int64_t pitch = 0;
    uint64_t width = 0;
    uint64_t height = 0;
    uint32_t fill = 0; // the alpha of a texture without an alpha field
    // Whether AVX2 may filter four pixels at once: 32-bit texels whose byte
    // offsets and fixed positions all fit 32-bit lanes.
    bool wideBilinear = false;

    TexelSource(const D3DTextureSampler* from, bool avx2)
    {
        if (from == nullptr)
            return;
        sampler = from;
        pixels = from->Row(0);
        pitch = from->Pitch();
        width = from->Width();
        height = from->Height();
        fill = from->HasAlpha() ? 0u : 0xFF000000u;
        constexpr uint64_t kLanes = uint64_t{1} << 31;
        wideBilinear = avx2 && from->IsArgb8888() && pitch > 0 && height * uint64_t(pitch) < kLanes &&
                       width * 256 < kLanes && height * 256 < kLanes;
    }
};

struct NoTexture {
    static constexpr bool kSamples = false;
};

// Texels outside the texture, addressed; off the loops' hot path.
[[gnu::cold, gnu::noinline]] uint32_t AddressedTexel(const D3DTextureSampler& sampler, int64_t x, int64_t y)
{
    return sampler.Texel(x, y);
}

struct TextureArgb8888 {
    static constexpr bool kSamples = true;
    static constexpr bool kDirect = true; // texels inside are read straight from memory
    // A texel known to lie inside the texture.
    [[gnu::always_inline]] static uint32_t FetchInside(const TexelSource& source, int64_t x, int64_t y)
    {
        uint32_t raw;
        std::memcpy(&raw, source.pixels + y * source.pitch + 4 * x, sizeof raw);
        return raw | source.fill;
    }
    [[gnu::always_inline]] static uint32_t Fetch(const TexelSource& source, int64_t x, int64_t y)
    {
        if (static_cast<uint64_t>(x) < source.width && static_cast<uint64_t>(y) < source.height) {
            uint32_t raw;
            std::memcpy(&raw, source.pixels + y * source.pitch + 4 * x, sizeof raw);
            return raw | source.fill;
        }
        return AddressedTexel(*source.sampler, x, y);
    }
};

struct TextureAny {
    static constexpr bool kSamples = true;
    static constexpr bool kDirect = false;
    static uint32_t Fetch(const TexelSource& source, int64_t x, int64_t y) { return source.sampler->Texel(x, y); }
    static uint32_t FetchInside(const TexelSource& source, int64_t x, int64_t y) { return Fetch(source, x, y); }
};

// Blending: off, a fixed pair of factors that folds into the loop, or any pair.
struct NoBlend {
    static constexpr bool kReadsTarget = false;
    static uint32_t Apply(const D3DPixelPipeline&, uint32_t source, uint32_t) { return source; }
};

template <uint32_t SourceFactor, uint32_t DestFactor>
struct FixedBlend {
    static constexpr bool kReadsTarget = true;
    static uint32_t Apply(const D3DPixelPipeline&, uint32_t source, uint32_t dest)
    {
        return D3DBlendColours(source, dest, SourceFactor, DestFactor);
    }
};

// The usual pair in two channels at once: s a + d (255 - a) + 127 stays below
// 2^16 in each 16-bit half, where x / 255 = (x + 1 + (x >> 8)) >> 8.
template <>
struct FixedBlend<D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA> {
    static constexpr bool kReadsTarget = true;
    static uint32_t Apply(const D3DPixelPipeline&, uint32_t source, uint32_t dest)
    {
        const uint32_t alpha = source >> 24;
        const uint32_t redBlue = (source & 0xFF00FFu) * alpha + (dest & 0xFF00FFu) * (255 - alpha) + 0x7F007Fu;
        const uint32_t green = ((source >> 8) & 0xFF) * alpha + ((dest >> 8) & 0xFF) * (255 - alpha) + 0x7F;
        const uint32_t redBlueQuotient = ((redBlue + 0x10001u + ((redBlue >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
        const uint32_t greenQuotient = (green + 1 + (green >> 8)) >> 8;
        return (source & 0xFF000000u) | redBlueQuotient | (greenQuotient << 8);
    }
};

struct AnyBlend {
    static constexpr bool kReadsTarget = true;
    static uint32_t Apply(const D3DPixelPipeline& pipeline, uint32_t source, uint32_t dest)
    {
        return pipeline.Blend(source, dest);
    }
};

// One stage of select or modulate: a channel forced to 255 on one side makes
// the modulation give the other side's channel, since (x * 255 + 127) / 255 = x.
uint32_t Shade(uint32_t texture, uint32_t diffuse)
{
    if (diffuse == 0xFFFFFFFFu)
        return texture;
    if (texture == 0xFFFFFFFFu)
        return diffuse;
    uint32_t result = 0;
    for (int i = 0; i < 4; ++i)
        result |= D3DModulate(D3DChannelOf(texture, i), D3DChannelOf(diffuse, i)) << (8 * i);
    return result;
}

// The colour of the texture at texel index (x, y) (point) or at (fx, fy) in
// 1/256 texels (linear).
template <class Texture, bool kLinear, bool kInside = false>
[[gnu::always_inline]] inline uint32_t SampleAt(const TexelSource& sampler, int64_t fx, int64_t fy)
{
    const auto fetch = [&](int64_t x, int64_t y) {
        if constexpr (kInside)
            return Texture::FetchInside(sampler, x, y);
        else
            return Texture::Fetch(sampler, x, y);
    };
    if constexpr (!kLinear) {
        return fetch(fx, fy);
    } else {
        const int64_t x = fx >> 8;
        const int64_t y = fy >> 8;
        const uint32_t texels[4] = {fetch(x, y), fetch(x + 1, y), fetch(x, y + 1), fetch(x + 1, y + 1)};
        return D3DBilinearPairs(texels, static_cast<uint32_t>(fx & 255), static_cast<uint32_t>(fy & 255));
    }
}

// The texel index (point) or the position in 1/256 texels (linear) of a coordinate, as the sampler rounds it.
template <bool kLinear>
[[gnu::always_inline]] inline int64_t Position(double coordinate, double size)
{
    if constexpr (!kLinear)
        return D3DFloorIndex(coordinate * size);
    else
        return D3DTextureSampler::ToFixed(coordinate * size - 0.5, 256.0);
}

constexpr int64_t kExact = int64_t{1} << 53; // doubles hold every integer below it

// The exponent E with value * 2^E the smallest integer, or false when none below 2^62 exists.
// Read from the bits, value = m 2^(biased - 1075) (biased 1 and no hidden
// bit below the normal numbers), so no library call sits on the per-span path.
[[gnu::always_inline]] inline bool FixedExponent(double value, int& exponent)
{
    exponent = 0;
    if (value == 0.0)
        return true;
    const auto bits = std::bit_cast<uint64_t>(value);
    const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
    if (biased == 0x7FF)
        return false;
    uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
    if (biased != 0)
        mantissa |= uint64_t{1} << 52;
    exponent = 1075 - std::max(biased, 1) - std::countr_zero(mantissa);
    return exponent <= 60;
}

// A span's coordinate start, start + step, start + 2 step, ... in integers:
// when every one of those sums and the products that turn them into texel
// positions are exact in double, the position of pixel i is
// (value + i * step) >> shift, with no rounding to follow.
struct ExactSteps {
    int64_t value = 0;
    int64_t step = 0;
    int shift = 0;
};

template <bool kLinear>
[[gnu::always_inline]] inline bool MakeExact(double start, double step, int stepExponent, int64_t count, double size, ExactSteps& out)
{
    if (step == 0.0) { // start + 0 is start: one position for the whole span
        out = ExactSteps{Position<kLinear>(start, size), 0, 0};
        return true;
    }
    int startExponent = 0;
    if (!FixedExponent(start, startExponent))
        return false;
    const int shift = std::max({startExponent, stepExponent, 1});
    // The bounds in units of 2^-shift, taken in double first so that nothing overflows.
    const double scale = std::bit_cast<double>(uint64_t(1023 + shift) << 52); // 2^shift, 1 <= shift <= 60
    const double first = std::fabs(start) * scale;
    const double last = first + double(count) * std::fabs(step) * scale;
    // Halved limits leave room for the rounding of the bound itself; the linear
    // position also subtracts 2^(shift - 1) and scales by 256.
    const double limit = kLinear ? double(kExact) / 1024.0 : double(kExact) / 4.0;
    if ((kLinear && shift > 40) || !(last * size < limit) || last * size / scale >= kD3DCoordinateLimit / 512.0)
        return false;
    const auto a = static_cast<int64_t>(start * scale);
    const auto d = static_cast<int64_t>(step * scale);
    const auto w = static_cast<int64_t>(size);
    if constexpr (!kLinear) {
        // floor(u * W) with u = (a + i d) 2^-shift.
        out.value = a * w;
        out.step = d * w;
    } else {
        // floor((u * W - 1/2) * 256 + 1/2) = (256 (a + i d) W - 255 * 2^(shift - 1)) >> shift.
        out.value = 256 * a * w - 255 * (int64_t{1} << (shift - 1));
        out.step = 256 * d * w;
    }
    out.shift = shift;
    return true;
}

// Where one pixel's texture coordinate comes from inside a run of repeated
// sums (D3DRepeatedSum): its bit pattern steps by an integer.
struct SumPosition {
    uint64_t bits;
    int64_t increment;
};

// A coordinate's fixed position per pixel of a run through the double
// products of the general loop. Inside one run it moves one way only, so the
// first and the last pixel bound every position between them. Where every
// texel lies inside the texture, the floor of a product that is not negative
// is its truncation.
// Position, where the caller knows the texel to lie inside the texture: the
// product is then not negative and its floor is its truncation.
template <bool kLinear, bool kInside>
[[gnu::always_inline]] inline int64_t InsidePosition(double coordinate, double size)
{
    if constexpr (!kInside)
        return Position<kLinear>(coordinate, size);
    else if constexpr (!kLinear)
        return static_cast<int64_t>(coordinate * size);
    else
        return static_cast<int64_t>((coordinate * size - 0.5) * 256.0 + 0.5);
}

template <bool kLinear>
struct DoubleIndex {
    SumPosition sum;
    double size;
    bool Finite() const { return ((sum.bits >> 52) & 0x7FF) != 0x7FF; } // not a number gives index 0, not inside
    double Coordinate(int64_t j) const
    {
        return std::bit_cast<double>(sum.bits + static_cast<uint64_t>(j * sum.increment));
    }
    int64_t At(int64_t j) const { return Position<kLinear>(Coordinate(j), size); }
    void Skip(int64_t n) { sum.bits += static_cast<uint64_t>(n * sum.increment); }
    template <bool kInside>
    int64_t Next()
    {
        const double coordinate = std::bit_cast<double>(sum.bits);
        sum.bits += static_cast<uint64_t>(sum.increment);
        return InsidePosition<kLinear, kInside>(coordinate, size);
    }
};

// A coordinate's texel index or fixed position per pixel from the sums the
// general loop forms, written out beforehand. The sums move one way only
// (each rounds a larger, or a smaller, exact sum), and so do their products
// and floors, so the first and the last pixel bound every index between them;
// sums finite at both ends are finite throughout.
template <bool kLinear>
struct ChainIndex {
    const double* sums;
    int64_t count;
    double size;
    bool Finite() const { return std::isfinite(sums[0]) && std::isfinite(sums[count - 1]); }
    int64_t At(int64_t j) const { return Position<kLinear>(sums[j], size); }
    void Skip(int64_t n) { sums += n; }
    template <bool kInside>
    int64_t Next()
    {
        const double coordinate = *sums++;
        return InsidePosition<kLinear, kInside>(coordinate, size);
    }
};

#if defined(__x86_64__)
// The coordinates of pixels j to j + 3 of a run, with the general loop's bits.
template <bool kLinear>
__attribute__((target("avx2"))) inline __m256d CoordinateLanes(const DoubleIndex<kLinear>& index, int64_t j)
{
    return _mm256_castsi256_pd(_mm256_setr_epi64x(
        static_cast<int64_t>(std::bit_cast<uint64_t>(index.Coordinate(j))),
        static_cast<int64_t>(std::bit_cast<uint64_t>(index.Coordinate(j + 1))),
        static_cast<int64_t>(std::bit_cast<uint64_t>(index.Coordinate(j + 2))),
        static_cast<int64_t>(std::bit_cast<uint64_t>(index.Coordinate(j + 3)))));
}

template <bool kLinear>
__attribute__((target("avx2"))) inline __m256d CoordinateLanes(const ChainIndex<kLinear>& index, int64_t j)
{
    return _mm256_loadu_pd(index.sums + j);
}

// InsidePosition of four coordinates: the products are not negative and
// below 2^31, so truncating to 32 bits is the floor the scalar code takes.
__attribute__((target("avx2"))) inline __m128i FixedLanes(__m256d coordinates, double size)
{
    const __m256d position = _mm256_sub_pd(_mm256_mul_pd(coordinates, _mm256_set1_pd(size)), _mm256_set1_pd(0.5));
    return _mm256_cvttpd_epi32(_mm256_add_pd(_mm256_mul_pd(position, _mm256_set1_pd(256.0)), _mm256_set1_pd(0.5)));
}

// Two pixels' channels in 32-bit lanes from their texel pairs of the upper
// and the lower row, 16-bit channels side by side, with the weights
// (256 - wx, wx) in each pair of words and wy in each lane.
__attribute__((target("avx2"))) inline __m256i FilterPairs(__m256i top, __m256i bottom, __m256i horizontal,
                                                           __m256i wy)
{
    const __m256i upper = _mm256_madd_epi16(top, horizontal);
    const __m256i lower = _mm256_madd_epi16(bottom, horizontal);
    // upper (256 - wy) + lower wy, the difference taken so that one multiply does.
    const __m256i sum =
        _mm256_add_epi32(_mm256_add_epi32(_mm256_slli_epi32(upper, 8), _mm256_mullo_epi32(_mm256_sub_epi32(lower, upper), wy)),
                         _mm256_set1_epi32(32768));
    return _mm256_srli_epi32(sum, 16);
}

// The bilinear colours (texels | fill) of the first `count` rounded down to
// four pixels of a run whose texels all lie inside the texture; returns how
// many it wrote. Each channel is the sum of texel * weight of D3DBilinear,
// regrouped exactly as (256 - wy) (left (256 - wx) + right wx) + wy (...):
// each row's pair in one multiply-add of 16-bit lanes, the rows in 32 bits.
template <class Along, class Across>
__attribute__((target("avx2"))) int64_t BilinearInsideAvx2(const TexelSource& texels, const Along& along,
                                                           const Across& across, uint32_t* colours, int64_t count)
{
    const auto* base = reinterpret_cast<const long long*>(texels.pixels);
    const double width = double(texels.width);
    const double height = double(texels.height);
    const __m128i pitch = _mm_set1_epi32(static_cast<int32_t>(texels.pitch));
    const __m128i fractions = _mm_set1_epi32(255);
    const __m256i fill = _mm256_set1_epi32(static_cast<int32_t>(texels.fill));
    // Within each texel pair, its channels side by side: b0 b1 g0 g1 r0 r1 a0 a1.
    const __m256i interleave =
        _mm256_setr_epi8(0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15, 0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13,
                         10, 14, 11, 15);
    // Pixels 0 and 2 sit in the low halves of the unpacked pairs, 1 and 3 in the high.
    const __m256i evenPixels = _mm256_setr_epi32(0, 0, 0, 0, 2, 2, 2, 2);
    const __m256i oddPixels = _mm256_setr_epi32(1, 1, 1, 1, 3, 3, 3, 3);
    const __m256i zero = _mm256_setzero_si256();
    int64_t j = 0;
    for (; j + 4 <= count; j += 4) {
        const __m128i x = FixedLanes(CoordinateLanes(along, j), width);
        const __m128i y = FixedLanes(CoordinateLanes(across, j), height);
        const __m128i offsets =
            _mm_add_epi32(_mm_mullo_epi32(_mm_srli_epi32(y, 8), pitch), _mm_slli_epi32(_mm_srli_epi32(x, 8), 2));
        // (256 - wx) in the low word, wx in the high, to pair with left and right texels.
        const __m128i wx = _mm_and_si128(x, fractions);
        const __m256i horizontal =
            _mm256_castsi128_si256(_mm_or_si128(_mm_slli_epi32(wx, 16), _mm_sub_epi32(_mm_set1_epi32(256), wx)));
        const __m256i vertical = _mm256_castsi128_si256(_mm_and_si128(y, fractions));
        const __m256i top = _mm256_shuffle_epi8(
            _mm256_or_si256(_mm256_i32gather_epi64(base, offsets, 1), fill), interleave);
        const __m256i bottom = _mm256_shuffle_epi8(
            _mm256_or_si256(_mm256_i32gather_epi64(base, _mm_add_epi32(offsets, pitch), 1), fill), interleave);
        const __m256i even = FilterPairs(_mm256_unpacklo_epi8(top, zero), _mm256_unpacklo_epi8(bottom, zero),
                                         _mm256_permutevar8x32_epi32(horizontal, evenPixels),
                                         _mm256_permutevar8x32_epi32(vertical, evenPixels));
        const __m256i odd = FilterPairs(_mm256_unpackhi_epi8(top, zero), _mm256_unpackhi_epi8(bottom, zero),
                                        _mm256_permutevar8x32_epi32(horizontal, oddPixels),
                                        _mm256_permutevar8x32_epi32(vertical, oddPixels));
        // Words p0 p1 | p2 p3, bytes p0 p1 p0 p1 | p2 p3 p2 p3, then the first eight bytes of each half.
        const __m256i words = _mm256_packus_epi32(even, odd);
        const __m256i bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(words, words), 0x08);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(colours + j), _mm256_castsi256_si128(bytes));
    }
    return j;
}
#endif

// Shaded colours of `count` pixels of one run into `colours`.
template <class Texture, bool kLinear, bool kInside, class Along, class Across>
void SampleRun(const TexelSource& texels, Along along, Across across, uint32_t textureWhite, uint32_t diffuse,
               bool textureOnly, uint32_t* colours, int64_t count)
{
    const TexelSource source = texels; // a local copy: the stores below may alias anything
    int64_t first = 0;
#if defined(__x86_64__)
    if constexpr (kLinear && kInside && std::is_same_v<Texture, TextureArgb8888>) {
        if (source.wideBilinear) {
            first = BilinearInsideAvx2(source, along, across, colours, count);
            along.Skip(first);
            across.Skip(first);
            for (int64_t j = 0; j < first; ++j)
                colours[j] = textureOnly ? colours[j] | textureWhite : Shade(colours[j] | textureWhite, diffuse);
        }
    }
#endif
    if (textureOnly) {
        for (int64_t j = first; j < count; ++j) {
            const int64_t x = along.template Next<kInside>();
            colours[j] = SampleAt<Texture, kLinear, kInside>(source, x, across.template Next<kInside>()) | textureWhite;
        }
        return;
    }
    for (int64_t j = first; j < count; ++j) {
        const int64_t x = along.template Next<kInside>();
        colours[j] =
            Shade(SampleAt<Texture, kLinear, kInside>(source, x, across.template Next<kInside>()) | textureWhite,
                  diffuse);
    }
}

// SampleRun over texels known to lie inside the texture when the run's ends
// say so, else with every texel addressed.
template <class Texture, bool kLinear, class Along, class Across>
void SampleRunChecked(const TexelSource& texels, Along along, Across across, uint32_t textureWhite, uint32_t diffuse,
                      bool textureOnly, uint32_t* colours, int64_t count)
{
    const auto inside = [](int64_t first, int64_t last, uint64_t size) {
        if constexpr (kLinear) { // the texel and its neighbour after it
            first >>= 8;
            last >>= 8;
        }
        const int64_t reach = kLinear ? 1 : 0;
        return std::min(first, last) >= 0 && static_cast<uint64_t>(std::max(first, last) + reach) < size;
    };
    if (Texture::kDirect && along.Finite() && across.Finite() && inside(along.At(0), along.At(count - 1), texels.width) &&
        inside(across.At(0), across.At(count - 1), texels.height))
        SampleRun<Texture, kLinear, true>(texels, along, across, textureWhite, diffuse, textureOnly, colours, count);
    else
        SampleRun<Texture, kLinear, false>(texels, along, across, textureWhite, diffuse, textureOnly, colours, count);
}

#if defined(__SSE2__)
// (s a + d (255 - a) + 127) / 255 in 16-bit lanes of 8-bit channels: the sum
// stays below 2^16, and there x / 255 = (x + 1 + (x >> 8)) >> 8.
inline __m128i OverLanes(__m128i source, __m128i alpha, __m128i dest)
{
    const __m128i sum = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(source, alpha),
                                                    _mm_mullo_epi16(dest, _mm_sub_epi16(_mm_set1_epi16(255), alpha))),
                                      _mm_set1_epi16(127));
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(sum, _mm_set1_epi16(1)), _mm_srli_epi16(sum, 8)), 8);
}

// The channel at `shift` of four ARGB words, in the low byte of each 32-bit lane.
inline __m128i ChannelLanes(__m128i argb, int shift)
{
    return _mm_and_si128(_mm_srl_epi32(argb, _mm_cvtsi32_si128(shift)), _mm_set1_epi32(0xFF));
}

// A 5- or 6-bit field widened to 8 by repeating its top bits.
inline __m128i Widen(__m128i field, int bits)
{
    return _mm_or_si128(_mm_sll_epi16(field, _mm_cvtsi32_si128(8 - bits)),
                        _mm_srl_epi16(field, _mm_cvtsi32_si128(2 * bits - 8)));
}
#endif

#if defined(__x86_64__)
bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

// OverLanes for 16-bit channels of eight pixels, each blended by its own alpha.
__attribute__((target("avx2"))) inline __m256i OverLanesAvx2(__m256i source, __m256i dest)
{
    const __m256i alpha = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(source, 0xFF), 0xFF);
    const __m256i sum = _mm256_add_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(source, alpha),
                         _mm256_mullo_epi16(dest, _mm256_sub_epi16(_mm256_set1_epi16(255), alpha))),
        _mm256_set1_epi16(127));
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(sum, _mm256_set1_epi16(1)), _mm256_srli_epi16(sum, 8)),
                             8);
}

// Eight source pixels over eight target pixels, alpha 0 in the result.
__attribute__((target("avx2"))) inline __m256i OverEightAvx2(__m256i source, __m256i dest)
{
    const __m256i zero = _mm256_setzero_si256();
    // Unpacking and packing both work within 128-bit halves, so the order survives.
    const __m256i low = OverLanesAvx2(_mm256_unpacklo_epi8(source, zero), _mm256_unpacklo_epi8(dest, zero));
    const __m256i high = OverLanesAvx2(_mm256_unpackhi_epi8(source, zero), _mm256_unpackhi_epi8(dest, zero));
    return _mm256_and_si256(_mm256_packus_epi16(low, high), _mm256_set1_epi32(0xFFFFFF));
}

// The SRCALPHA/INVSRCALPHA texel run into a 32-bit target eight pixels at a
// time, with the same lane arithmetic as the four-pixel SSE2 loop; returns
// how many pixels it wrote, all of them.
__attribute__((target("avx2"))) int32_t OverRunAvx2(const uint8_t* texels, uint32_t white, uint8_t* pixel,
                                                     int32_t count)
{
    const __m256i whiteMask = _mm256_set1_epi32(static_cast<int>(white));
    const __m256i colourMask = _mm256_set1_epi32(0xFFFFFF);
    int32_t i = 0;
    for (; i + 8 <= count; i += 8, pixel += 32) {
        const __m256i source =
            _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(texels + 4 * i)), whiteMask);
        // Opaque texels blend to themselves: (s 255 + 127) / 255 = s.
        const __m256i opaque = _mm256_cmpeq_epi32(_mm256_or_si256(source, colourMask), _mm256_set1_epi32(-1));
        if (_mm256_movemask_epi8(opaque) == -1) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixel), _mm256_and_si256(source, colourMask));
            continue;
        }
        const __m256i dest = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixel));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixel), OverEightAvx2(source, dest));
    }
    if (i < count) {
        // The last one to seven pixels through a mask: lanes outside it are
        // neither read nor written.
        const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
        const __m256i mask = _mm256_cmpgt_epi32(_mm256_set1_epi32(count - i), lanes);
        const __m256i source = _mm256_or_si256(
            _mm256_maskload_epi32(reinterpret_cast<const int*>(texels + 4 * i), mask), whiteMask);
        const __m256i dest = _mm256_maskload_epi32(reinterpret_cast<const int*>(pixel), mask);
        _mm256_maskstore_epi32(reinterpret_cast<int*>(pixel), mask, OverEightAvx2(source, dest));
        i = count;
    }
    return i;
}

// Point texels of 32-bit words at the coordinates (us[j], vs[j]), all known
// to lie inside a texture of at most 2^31 words, four at a time: each product
// is then not negative and below the size, so its truncation is its floor.
// Each colour is the texel | `white`.
__attribute__((target("avx2"))) void GatherPointAvx2(const TexelSource& texels, const double* us, const double* vs,
                                                     int64_t count, uint32_t white, uint32_t* colours)
{
    const double width = double(texels.width);
    const double height = double(texels.height);
    const auto* words = reinterpret_cast<const int*>(texels.pixels);
    const auto rowWords = static_cast<int32_t>(texels.pitch / 4);
    const __m256d widths = _mm256_set1_pd(width);
    const __m256d heights = _mm256_set1_pd(height);
    const __m128i rows = _mm_set1_epi32(rowWords);
    const __m128i whites = _mm_set1_epi32(static_cast<int>(white));
    int64_t j = 0;
    for (; j + 4 <= count; j += 4) {
        const __m128i x = _mm256_cvttpd_epi32(_mm256_mul_pd(_mm256_loadu_pd(us + j), widths));
        const __m128i y = _mm256_cvttpd_epi32(_mm256_mul_pd(_mm256_loadu_pd(vs + j), heights));
        const __m128i texel = _mm_i32gather_epi32(words, _mm_add_epi32(_mm_mullo_epi32(y, rows), x), 4);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(colours + j), _mm_or_si128(texel, whites));
    }
    for (; j < count; ++j) {
        const auto x = static_cast<int32_t>(us[j] * width);
        const auto y = static_cast<int32_t>(vs[j] * height);
        colours[j] = static_cast<uint32_t>(words[int64_t{y} * rowWords + x]) | white;
    }
}
#else
bool HasAvx2() { return false; }
#endif

// A run of texels one per pixel, from row `texels`, shaded as texel | `white`
// and written over the target: per pixel, or several at a time where SSE2 can.
template <class Target, class Blender>
void TexelRun(const D3DSpanKernel::Context& context, const uint8_t* texels, uint32_t white, uint8_t* pixel,
              int32_t count)
{
    const D3DRenderTarget& target = context.target;
    const uint32_t bytes = Target::Bytes(target);
    int32_t i = 0;
#if defined(__SSE2__)
    constexpr bool kOver = std::is_same_v<Blender, FixedBlend<D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA>>;
    const __m128i whiteMask = _mm_set1_epi32(static_cast<int>(white));
    if constexpr (std::is_same_v<Target, TargetArgb8888> && kOver) {
#if defined(__x86_64__)
        if (context.avx2) {
            i = OverRunAvx2(texels, white, pixel, count);
            pixel += 4 * i;
        }
#endif
        const __m128i zero = _mm_setzero_si128();
        const auto blend = [&](__m128i source, __m128i dest) {
            const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(source, 0xFF), 0xFF);
            return OverLanes(source, alpha, dest);
        };
        for (; i + 4 <= count; i += 4, pixel += 16) {
            const __m128i source =
                _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(texels + 4 * i)), whiteMask);
            // Four opaque texels blend to themselves: (s 255 + 127) / 255 = s.
            const __m128i opaque = _mm_cmpeq_epi32(_mm_or_si128(source, _mm_set1_epi32(0xFFFFFF)),
                                                   _mm_set1_epi32(-1));
            if (_mm_movemask_epi8(opaque) == 0xFFFF) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(pixel), _mm_and_si128(source, _mm_set1_epi32(0xFFFFFF)));
                continue;
            }
            const __m128i dest = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixel));
            const __m128i low = blend(_mm_unpacklo_epi8(source, zero), _mm_unpacklo_epi8(dest, zero));
            const __m128i high = blend(_mm_unpackhi_epi8(source, zero), _mm_unpackhi_epi8(dest, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(pixel),
                             _mm_and_si128(_mm_packus_epi16(low, high), _mm_set1_epi32(0xFFFFFF)));
        }
    } else if constexpr (std::is_same_v<Target, TargetRgb565> && kOver) {
        // Eight pixels: each channel in its own 16-bit lanes, read by bit
        // replication and written back by its top bits.
        for (; i + 8 <= count; i += 8, pixel += 16) {
            const __m128i first =
                _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(texels + 4 * i)), whiteMask);
            const __m128i second =
                _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(texels + 4 * i + 16)), whiteMask);
            const auto channel = [&](int shift) {
                return _mm_packs_epi32(ChannelLanes(first, shift), ChannelLanes(second, shift));
            };
            const __m128i alpha = channel(24);
            const __m128i dest = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixel));
            const __m128i red = OverLanes(channel(16), alpha, Widen(_mm_srli_epi16(dest, 11), 5));
            const __m128i green =
                OverLanes(channel(8), alpha, Widen(_mm_and_si128(_mm_srli_epi16(dest, 5), _mm_set1_epi16(0x3F)), 6));
            const __m128i blue = OverLanes(channel(0), alpha, Widen(_mm_and_si128(dest, _mm_set1_epi16(0x1F)), 5));
            const __m128i packed =
                _mm_or_si128(_mm_or_si128(_mm_slli_epi16(_mm_srli_epi16(red, 3), 11),
                                          _mm_slli_epi16(_mm_srli_epi16(green, 2), 5)),
                             _mm_srli_epi16(blue, 3));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(pixel), packed);
        }
    }
#endif
    for (; i < count; ++i, pixel += bytes) {
        uint32_t colour;
        std::memcpy(&colour, texels + 4 * i, sizeof colour);
        colour |= white;
        if constexpr (Blender::kReadsTarget)
            colour = Blender::Apply(*context.pipeline, colour, Target::Read(target, pixel));
        Target::Write(target, pixel, colour);
    }
}

// Where a span whose coordinates do not step exactly in fixed point has got
// to: its next pixel, and the runs of sums that hold that pixel's coordinates.
struct TurnedRow {
    D3DRepeatedSum along;
    D3DRepeatedSum across;
    uint8_t* pixel = nullptr;
    int32_t x = 0;
    int32_t right = 0;
};

// The next `count` pixels of a long bilinear span under a flat diffuse
// colour: their coordinates come run by run from the repeated sums, with no
// chain of additions, their colours gather in a block, and the block is
// written as a texel run.
template <class Target, class Texture, bool kLinear, class Blender>
void TurnedPixels(const D3DSpanKernel::Context& context, const TexelSource& texels, TurnedRow& row, double du,
                  double dv, uint32_t diffuse, bool textureOnly, int32_t count)
{
    constexpr int64_t kBlock = 256;
    uint32_t colours[kBlock];
    const uint32_t bytes = Target::Bytes(context.target);
    const double width = double(texels.width);
    const double height = double(texels.height);
    D3DRepeatedSum& along = row.along;
    D3DRepeatedSum& across = row.across;
    // On to the sum `run` steps on: still inside the run, or one addition past its end.
    const auto advance = [](D3DRepeatedSum& sum, int64_t run, double step) {
        if (run <= sum.steps) {
            sum.bits += static_cast<uint64_t>(run * sum.increment);
            sum.steps -= run;
        } else {
            sum = D3DRepeatedSumOf(std::bit_cast<double>(sum.bits + static_cast<uint64_t>(sum.steps * sum.increment)) +
                                       step,
                                   step);
        }
    };
    int64_t done = 0;
    while (done < count) {
        const int64_t block = std::min<int64_t>(kBlock, count - done);
        int64_t filled = 0;
        while (filled < block) {
            const int64_t steps = std::min(along.steps, across.steps);
            const int64_t run = std::min(steps + 1, block - filled);
            uint32_t* out = colours + filled;
            SampleRunChecked<Texture, kLinear>(texels, DoubleIndex<kLinear>{{along.bits, along.increment}, width},
                                               DoubleIndex<kLinear>{{across.bits, across.increment}, height},
                                               context.textureWhite, diffuse, textureOnly, out, run);
            filled += run;
            advance(along, run, du);
            advance(across, run, dv);
        }
        TexelRun<Target, Blender>(context, reinterpret_cast<const uint8_t*>(colours), 0, row.pixel, int32_t(block));
        row.pixel += block * bytes;
        done += block;
    }
    row.x += count;
}

// A short turned span under a flat diffuse colour: its coordinates are the
// general loop's chain of additions, written out first so that the texel
// reads that follow do not wait on them; then the colours are written as a
// texel run. Cheaper than planning runs of sums when the span crosses the
// small binades near 0 in a few pixels, as a small sprite's spans do.
template <class Target, class Texture, bool kLinear, class Blender>
void ChainedPixels(const D3DSpanKernel::Context& context, const TexelSource& texels, double u, double v, double du,
                   double dv, uint32_t diffuse, bool textureOnly, uint8_t* pixel, int32_t count)
{
    constexpr int64_t kBlock = 128;
    double us[kBlock];
    double vs[kBlock];
    uint32_t colours[kBlock];
    const uint32_t bytes = Target::Bytes(context.target);
    const double width = double(texels.width);
    const double height = double(texels.height);
    for (int64_t done = 0; done < count;) {
        const int64_t block = std::min<int64_t>(kBlock, count - done);
        for (int64_t j = 0; j < block; ++j) {
            us[j] = u;
            vs[j] = v;
            u += du;
            v += dv;
        }
        const ChainIndex<kLinear> along{us, block, width};
        const ChainIndex<kLinear> across{vs, block, height};
        bool gathered = false;
#if defined(__x86_64__)
        if constexpr (std::is_same_v<Texture, TextureArgb8888> && !kLinear) {
            // The sums move one way, so the ends bound every texel.
            const auto inside = [](const ChainIndex<kLinear>& index, uint64_t size) {
                const int64_t first = index.At(0);
                const int64_t last = index.At(index.count - 1);
                return index.Finite() && std::min(first, last) >= 0 &&
                       static_cast<uint64_t>(std::max(first, last)) < size;
            };
            if (context.avx2 && textureOnly && texels.pitch > 0 && texels.pitch % 4 == 0 &&
                texels.height * uint64_t(texels.pitch) / 4 < (uint64_t{1} << 31) && inside(along, texels.width) &&
                inside(across, texels.height)) {
                GatherPointAvx2(texels, us, vs, block, context.textureWhite | texels.fill, colours);
                gathered = true;
            }
        }
#endif
        if (!gathered)
            SampleRunChecked<Texture, kLinear>(texels, along, across, context.textureWhite, diffuse, textureOnly,
                                               colours, block);
        TexelRun<Target, Blender>(context, reinterpret_cast<const uint8_t*>(colours), 0, pixel, int32_t(block));
        pixel += block * bytes;
        done += block;
    }
}

// Turned spans of neighbouring rows, advanced together a few columns at a
// time: their texels lie close together in the texture, so a band reuses the
// texture's cache lines and pages that one long span after another would
// have lost. Each span's pixels and sums stay its own, so the order changes
// no pixel.
template <class Target, class Texture, bool kLinear, class Blender>
class TurnedBand {
public:
    TurnedBand(const D3DSpanKernel::Context& context, const TexelSource& texels, double du, double dv,
               uint32_t diffuse, bool textureOnly)
        : mContext(context), mTexels(texels), mDu(du), mDv(dv), mDiffuse(diffuse), mTextureOnly(textureOnly)
    {
    }
    void Add(const TurnedRow& row)
    {
        mRows[mCount++] = row;
        if (mCount == kRows)
            Flush();
    }
    void Flush()
    {
        int32_t left = INT32_MAX;
        int32_t right = INT32_MIN;
        for (int r = 0; r < mCount; ++r) {
            left = std::min(left, mRows[r].x);
            right = std::max(right, mRows[r].right);
        }
        for (int64_t window = int64_t{left} + kColumns; window - kColumns < right; window += kColumns)
            for (int r = 0; r < mCount; ++r) {
                TurnedRow& row = mRows[r];
                const auto count = static_cast<int32_t>(std::min<int64_t>(row.right, window) - row.x);
                if (count > 0)
                    TurnedPixels<Target, Texture, kLinear, Blender>(mContext, mTexels, row, mDu, mDv, mDiffuse,
                                                                    mTextureOnly, count);
            }
        mCount = 0;
    }

private:
    static constexpr int kRows = 8;
    static constexpr int64_t kColumns = 64;
    const D3DSpanKernel::Context& mContext;
    const TexelSource& mTexels;
    double mDu;
    double mDv;
    uint32_t mDiffuse;
    bool mTextureOnly;
    TurnedRow mRows[kRows];
    int mCount = 0;
};

// Point-sampled turned spans take the chain of additions; linear ones up to
// this many pixels too, longer ones the runs of sums, which pay off there.
constexpr int32_t kChainedSpan = 64;

template <class Target, class Texture, bool kLinear, class Blender>
void RunSpans(const D3DSpanKernel::Context& context, const std::vector<D3DSpan>& spans,
              const D3DAttributePlane& plane)
{
    const D3DRenderTarget& target = context.target;
    const uint32_t bytes = Target::Bytes(target);
    // A diffuse colour with no slope is the same in every pixel: base + 0 * d stays base.
    bool flat = true;
    for (int k = 0; k < 4; ++k)
        flat = flat && plane.dx[k] == 0.0 && plane.dy[k] == 0.0;
    const uint32_t flatDiffuse = flat ? D3DColourOf(plane.base, 0) : 0u;
    const uint32_t textureWhite = context.textureWhite;
    const uint32_t diffuseWhite = context.diffuseWhite;
    const bool textureOnly = flat && (flatDiffuse | diffuseWhite) == 0xFFFFFFFFu;
    const TexelSource texels(context.sampler, context.avx2);
    const double du = plane.dx[kD3DTexU];
    const double dv = plane.dx[kD3DTexV];
    int duExponent = 0;
    int dvExponent = 0;
    bool exactSteps = Texture::kSamples && FixedExponent(du, duExponent) && FixedExponent(dv, dvExponent);
    const double width = Texture::kSamples ? context.sampler->Width() : 0.0;
    const double height = Texture::kSamples ? context.sampler->Height() : 0.0;
    TurnedBand<Target, Texture, kLinear, Blender> band(context, texels, du, dv, flatDiffuse | diffuseWhite,
                                                       textureOnly);
    for (size_t index = 0; index < spans.size(); ++index) {
        const D3DSpan& span = spans[index];
        if (index + 1 < spans.size()) {
            // The next row of the target is a page away: ask for its ends early.
            const D3DSpan& next = spans[index + 1];
            const uint8_t* row = target.pixels + int64_t{next.y} * target.pitch;
            __builtin_prefetch(row + int64_t{next.left} * bytes, 1);
            __builtin_prefetch(row + int64_t{next.right - 1} * bytes, 1);
        }
        const double dy = double(span.y) - plane.originY;
        const double dx = double(span.left) - plane.originX;
        std::array<double, 4> diffuse{};
        if (!flat)
            for (int k = 0; k < 4; ++k)
                diffuse[size_t(k)] = plane.base[size_t(k)] + plane.dx[size_t(k)] * dx + plane.dy[size_t(k)] * dy;
        double u = plane.base[kD3DTexU] + plane.dx[kD3DTexU] * dx + plane.dy[kD3DTexU] * dy;
        double v = plane.base[kD3DTexV] + plane.dx[kD3DTexV] * dx + plane.dy[kD3DTexV] * dy;
        uint8_t* pixel = target.pixels + int64_t{span.y} * target.pitch + int64_t{span.left} * bytes;
        const int32_t count = span.right - span.left;
        const auto shadeAndWrite = [&](uint32_t texel) {
            uint32_t colour = flatDiffuse;
            if (!flat) {
                colour = D3DToChannel(diffuse[0]) | (D3DToChannel(diffuse[1]) << 8) |
                         (D3DToChannel(diffuse[2]) << 16) | (D3DToChannel(diffuse[3]) << 24);
                for (int k = 0; k < 4; ++k)
                    diffuse[size_t(k)] += plane.dx[size_t(k)];
            }
            colour = Shade(texel | textureWhite, colour | diffuseWhite);
            if constexpr (Blender::kReadsTarget)
                colour = Blender::Apply(*context.pipeline, colour, Target::Read(target, pixel));
            Target::Write(target, pixel, colour);
            pixel += bytes;
        };
        if constexpr (Texture::kSamples) {
            const D3DTextureSampler& sampler = *context.sampler;
            ExactSteps along;
            ExactSteps across;
            if (exactSteps && MakeExact<kLinear>(u, du, duExponent, count, width, along) &&
                MakeExact<kLinear>(v, dv, dvExponent, count, height, across)) {
                // One whole texel per pixel along one row of the texture: the
                // point position is the texel; a linear one whose fractions are
                // all 0 weighs that texel alone, (t * 65536 + 32768) >> 16 = t.
                constexpr int64_t kUnit = kLinear ? 256 : 1;
                const int64_t first = along.value >> along.shift;
                const int64_t last = (along.value + (count - 1) * along.step) >> along.shift;
                const int64_t row = across.value >> across.shift;
                if (std::is_same_v<Texture, TextureArgb8888> && textureOnly && across.step == 0 &&
                    along.step == (kUnit << along.shift) && first % kUnit == 0 && row % kUnit == 0 && first >= 0 &&
                    last / kUnit < sampler.Width() && row >= 0 && row / kUnit < sampler.Height()) {
                    TexelRun<Target, Blender>(context, sampler.Row(row / kUnit) + 4 * (first / kUnit),
                                              textureWhite | texels.fill, pixel, count);
                    continue;
                }
                for (int32_t i = 0; i < count; ++i) {
                    shadeAndWrite(SampleAt<Texture, kLinear>(texels, along.value >> along.shift,
                                                             across.value >> across.shift));
                    along.value += along.step;
                    across.value += across.step;
                }
                continue;
            }
            if (flat && (!kLinear || count <= kChainedSpan)) {
                ChainedPixels<Target, Texture, kLinear, Blender>(context, texels, u, v, du, dv,
                                                                 flatDiffuse | diffuseWhite, textureOnly, pixel, count);
                continue;
            }
            if (flat) {
                band.Add(TurnedRow{D3DRepeatedSumOf(u, du), D3DRepeatedSumOf(v, dv), pixel, span.left, span.right});
                continue;
            }
            for (int32_t i = 0; i < count; ++i) {
                shadeAndWrite(
                    SampleAt<Texture, kLinear>(texels, Position<kLinear>(u, width), Position<kLinear>(v, height)));
                u += du;
                v += dv;
            }
        } else {
            for (int32_t i = 0; i < count; ++i)
                shadeAndWrite(0xFFFFFFFFu);
        }
    }
    if constexpr (Texture::kSamples)
        band.Flush();
}

// What a stage's operation takes from the texture and the diffuse colour.
enum class Role { Texture, Diffuse, Modulate, Other };

Role ArgumentRole(uint32_t argument)
{
    if (argument == D3DTA_TEXTURE)
        return Role::Texture;
    if (argument == D3DTA_DIFFUSE || argument == D3DTA_CURRENT) // the current colour of stage 0 is the diffuse
        return Role::Diffuse;
    return Role::Other;
}

Role OperationRole(uint32_t op, uint32_t arg1, uint32_t arg2)
{
    switch (op) {
    case D3DTOP_SELECTARG1: return ArgumentRole(arg1);
    case D3DTOP_SELECTARG2: return ArgumentRole(arg2);
    case D3DTOP_MODULATE: {
        const Role first = ArgumentRole(arg1);
        const Role second = ArgumentRole(arg2);
        const bool pair = (first == Role::Texture && second == Role::Diffuse) ||
                          (first == Role::Diffuse && second == Role::Texture);
        return pair ? Role::Modulate : Role::Other;
    }
    default: return Role::Other;
    }
}

template <class Target, class Texture, class Blender>
void PickLoops(D3DSpanKernel::Loop& point, D3DSpanKernel::Loop& linear)
{
    point = &RunSpans<Target, Texture, false, Blender>;
    if constexpr (Texture::kSamples)
        linear = &RunSpans<Target, Texture, true, Blender>;
    else
        linear = point;
}

template <class Target, class Texture>
void PickBlend(const D3DPixelPipeline& pipeline, D3DSpanKernel::Loop& point, D3DSpanKernel::Loop& linear)
{
    const uint32_t source = pipeline.SourceBlend();
    const uint32_t dest = pipeline.DestBlend();
    if (!pipeline.Blends())
        PickLoops<Target, Texture, NoBlend>(point, linear);
    else if (source == D3DBLEND_SRCALPHA && dest == D3DBLEND_INVSRCALPHA)
        PickLoops<Target, Texture, FixedBlend<D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA>>(point, linear);
    else if (source == D3DBLEND_SRCALPHA && dest == D3DBLEND_ONE)
        PickLoops<Target, Texture, FixedBlend<D3DBLEND_SRCALPHA, D3DBLEND_ONE>>(point, linear);
    else if (source == D3DBLEND_ONE && dest == D3DBLEND_ONE)
        PickLoops<Target, Texture, FixedBlend<D3DBLEND_ONE, D3DBLEND_ONE>>(point, linear);
    else if (source == D3DBLEND_ONE && dest == D3DBLEND_INVSRCALPHA)
        PickLoops<Target, Texture, FixedBlend<D3DBLEND_ONE, D3DBLEND_INVSRCALPHA>>(point, linear);
    else
        PickLoops<Target, Texture, AnyBlend>(point, linear);
}

template <class Target>
void PickTexture(const D3DSpanKernel::Context& context, D3DSpanKernel::Loop& point, D3DSpanKernel::Loop& linear)
{
    if (context.sampler == nullptr)
        PickBlend<Target, NoTexture>(*context.pipeline, point, linear);
    else if (context.sampler->IsArgb8888())
        PickBlend<Target, TextureArgb8888>(*context.pipeline, point, linear);
    else
        PickBlend<Target, TextureAny>(*context.pipeline, point, linear);
}

} // namespace

std::optional<D3DSpanKernel> D3DSpanKernel::Choose(const D3DRenderTarget& target, const D3DPixelPipeline& pipeline,
                                                   const std::vector<std::optional<D3DTextureSampler>>& samplers,
                                                   bool wideLanes)
{
    if (pipeline.UsesSpecular() || pipeline.StageCount() > 1 || samplers.size() != size_t(pipeline.StageCount()))
        return std::nullopt;
    D3DSpanKernel kernel;
    Context& context = kernel.mContext;
    context.target = target;
    context.pipeline = &pipeline;
    context.avx2 = wideLanes && HasAvx2();
    if (pipeline.StageCount() == 0) {
        context.textureWhite = 0xFFFFFFFFu; // no stage: the diffuse colour throughout
    } else {
        const D3DStageOps& stage = pipeline.Stage(0);
        const Role colour = OperationRole(stage.colourOp, stage.colourArg1, stage.colourArg2);
        // Without an alpha operation the alpha stays the current one, the diffuse's.
        const Role alpha = stage.alphaOp == D3DTOP_DISABLE
                               ? Role::Diffuse
                               : OperationRole(stage.alphaOp, stage.alphaArg1, stage.alphaArg2);
        if (colour == Role::Other || alpha == Role::Other)
            return std::nullopt;
        for (const auto& [role, mask] : {std::pair{colour, 0x00FFFFFFu}, std::pair{alpha, 0xFF000000u}}) {
            if (role == Role::Texture)
                context.diffuseWhite |= mask;
            else if (role == Role::Diffuse)
                context.textureWhite |= mask;
        }
        if (samplers[0])
            context.sampler = &*samplers[0];
    }
    if (target.layout.IsArgb8888())
        PickTexture<TargetArgb8888>(context, kernel.mPoint, kernel.mLinear);
    else if (target.layout.IsRgb565())
        PickTexture<TargetRgb565>(context, kernel.mPoint, kernel.mLinear);
    else
        PickTexture<TargetAny>(context, kernel.mPoint, kernel.mLinear);
    return kernel;
}

} // namespace Platform
