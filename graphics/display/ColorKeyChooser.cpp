#include "graphics/display/ColorKeyChooser.h"

#include <algorithm>
#include <bit>
#include <memory>

#include "graphics/display/SurfaceConverter.h"
#include "graphics/image/VectorClones.h"

namespace Tandry {

namespace {

const uint32_t* FirstNotOpaque(const uint32_t* pixels, size_t count)
{
    return std::find_if(pixels, pixels + count, [](uint32_t p) { return (p >> 24) != 255; });
}

TANDRY_VECTOR_CLONES
bool AnyOpaqueStores(const uint32_t* __restrict pixels, const uint16_t* __restrict words, size_t count,
                     uint32_t value)
{
    uint32_t found = 0;
    for (size_t i = 0; i < count; ++i)
        found |= static_cast<uint32_t>((pixels[i] >> 24) == 255u) & static_cast<uint32_t>(words[i] == value);
    return found != 0;
}

} // namespace

uint32_t ColorKeyChooser::Choose16(const uint32_t* pixels, const uint16_t* words, size_t count)
{
    const uint32_t* first = FirstNotOpaque(pixels, count);
    const uint32_t candidate = first != pixels + count ? words[first - pixels] : 0;
    uint32_t key = candidate;
    if (AnyOpaqueStores(pixels, words, count, candidate))
        FindFree16(pixels, words, count, key);
    return key;
}

uint32_t ColorKeyChooser::Choose32(const SurfaceConverter& converter, const uint32_t* pixels, size_t count)
{
    const uint32_t* first = FirstNotOpaque(pixels, count);
    const uint32_t candidate = first != pixels + count ? *first : 0;
    uint32_t key = candidate;
    if (converter.AnyOpaqueConvertsTo(pixels, count, candidate, 0xFFFFFF))
        FindFree24(converter, pixels, count, key);
    return key;
}

// A byte per value rather than a bit: marking is then a plain store. The
// transparent pixels mark a spare entry past the values, so the loop needs no
// branch.
bool ColorKeyChooser::FindFree16(const uint32_t* pixels, const uint16_t* words, size_t count, uint32_t& key)
{
    constexpr size_t kValues = 65536;
    auto used = std::make_unique<uint8_t[]>(kValues + 1);
    for (size_t i = 0; i < count; ++i) {
        const size_t visible = size_t{0} - static_cast<size_t>((pixels[i] >> 24) != 0);
        used[(words[i] & visible) | (kValues & ~visible)] = 1;
    }
    for (size_t group = kValues / 32; group-- > 0;) {
        const uint8_t* values = used.get() + group * 32;
        const uint8_t* free = std::find(values, values + 32, uint8_t{0});
        if (free != values + 32) {
            key = static_cast<uint32_t>(free - used.get());
            return true;
        }
    }
    return false;
}

// 2^24 values take a table of bits; the pixels are converted a part at a
// time and the transparent ones mark a spare word past the table.
bool ColorKeyChooser::FindFree24(const SurfaceConverter& converter, const uint32_t* pixels, size_t count,
                                 uint32_t& key)
{
    constexpr size_t kWords = (size_t{1} << 24) / 64;
    auto used = std::make_unique<uint64_t[]>(kWords + 1);
    constexpr size_t kPart = 1024;
    uint32_t values[kPart];
    for (size_t start = 0; start < count; start += kPart) {
        const size_t n = std::min(kPart, count - start);
        converter.ToSurface(pixels + start, values, n);
        for (size_t i = 0; i < n; ++i) {
            const size_t value = (pixels[start + i] >> 24) != 0 ? values[i] & 0xFFFFFFu : kWords * 64;
            used[value / 64] |= uint64_t{1} << (value % 64);
        }
    }
    for (size_t word = 0; word < kWords; ++word) {
        if (used[word] != ~uint64_t{0}) {
            key = static_cast<uint32_t>(word * 64) + static_cast<uint32_t>(std::countr_one(used[word]));
            return true;
        }
    }
    return false;
}

} // namespace Tandry
