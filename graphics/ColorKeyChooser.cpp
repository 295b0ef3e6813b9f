#include "graphics/ColorKeyChooser.h"

#include <algorithm>
#include <bit>
#include <memory>

#include "graphics/SurfaceConverter.h"

namespace Tandry {

namespace {

template <class Word>
std::unique_ptr<Word[]> MarkUsed(const SurfaceConverter& converter, const uint32_t* pixels, size_t count,
                                 uint32_t valueMask, size_t words)
{
    auto table = std::make_unique<Word[]>(words);
    constexpr unsigned kBits = sizeof(Word) * 8;
    for (size_t i = 0; i < count; ++i) {
        if ((pixels[i] >> 24) == 0)
            continue;
        const uint32_t value = converter.ToSurface(pixels[i]) & valueMask;
        table[value / kBits] |= Word{1} << (value % kBits);
    }
    return table;
}

} // namespace

uint32_t ColorKeyChooser::Choose(const SurfaceConverter& converter, const uint32_t* pixels, size_t count,
                                 int bitsPerPixel)
{
    const bool wide = bitsPerPixel == 32;
    const uint32_t* first = std::find_if(pixels, pixels + count, [](uint32_t p) { return (p >> 24) != 255; });
    uint32_t candidate = 0;
    if (first != pixels + count)
        candidate = wide ? *first : converter.ToSurface(*first) & 0xFFFF;
    const uint32_t valueMask = wide ? 0xFFFFFFu : 0xFFFFu;
    if (!converter.AnyOpaqueConvertsTo(pixels, count, candidate, valueMask))
        return candidate;
    uint32_t key = candidate;
    if (wide)
        FindFree24(converter, pixels, count, key);
    else
        FindFree16(converter, pixels, count, key);
    return key;
}

bool ColorKeyChooser::FindFree16(const SurfaceConverter& converter, const uint32_t* pixels, size_t count,
                                 uint32_t& key)
{
    constexpr size_t kGroups = 65536 / 32;
    const auto table = MarkUsed<uint32_t>(converter, pixels, count, 0xFFFF, kGroups);
    for (size_t group = kGroups; group-- > 0;) {
        if (table[group] != 0xFFFFFFFFu) {
            key = static_cast<uint32_t>(group * 32) + static_cast<uint32_t>(std::countr_one(table[group]));
            return true;
        }
    }
    return false;
}

bool ColorKeyChooser::FindFree24(const SurfaceConverter& converter, const uint32_t* pixels, size_t count,
                                 uint32_t& key)
{
    constexpr size_t kWords = (size_t{1} << 24) / 64;
    const auto table = MarkUsed<uint64_t>(converter, pixels, count, 0xFFFFFF, kWords);
    for (size_t word = 0; word < kWords; ++word) {
        if (table[word] != ~uint64_t{0}) {
            key = static_cast<uint32_t>(word * 64) + static_cast<uint32_t>(std::countr_one(table[word]));
            return true;
        }
    }
    return false;
}

} // namespace Tandry
