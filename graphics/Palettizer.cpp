#include "graphics/Palettizer.h"

#include <cstring>

namespace Tandry {

bool Palettizer::Run(const uint32_t* pixels, size_t count, uint32_t* table, uint8_t* indices)
{
    for (int i = 0; i < 256; ++i)
        table[i] = kUnusedEntry;
    if (count == 0)
        return true;

    // The colours found so far, sorted by value, each with its index: a
    // binary search needs at most 9 probes once all 256 are known.
    uint32_t sorted[256];
    uint8_t sortedIndex[256];
    int used = 1;
    sorted[0] = pixels[0];
    sortedIndex[0] = 0;
    table[0] = pixels[0];
    indices[0] = 0;

    // Neighbouring pixels usually share a colour; remembering the last one
    // skips the search for them.
    uint32_t lastColor = pixels[0];
    uint8_t lastIndex = 0;
    for (size_t p = 1; p < count; ++p) {
        const uint32_t color = pixels[p];
        if (color == lastColor) {
            indices[p] = lastIndex;
            continue;
        }
        int low = 0;
        int high = used - 1;
        int mid = 0;
        bool found = false;
        while (low <= high) {
            mid = (low + high) / 2;
            if (sorted[mid] == color) {
                found = true;
                break;
            }
            if (sorted[mid] < color)
                low = mid + 1;
            else
                high = mid - 1;
        }
        uint8_t index;
        if (found) {
            index = sortedIndex[mid];
        } else {
            if (used == 256)
                return false;
            const int at = color > sorted[mid] ? mid + 1 : mid;
            std::memmove(sorted + at + 1, sorted + at, sizeof(sorted[0]) * static_cast<size_t>(used - at));
            std::memmove(sortedIndex + at + 1, sortedIndex + at, static_cast<size_t>(used - at));
            index = static_cast<uint8_t>(used);
            sorted[at] = color;
            sortedIndex[at] = index;
            table[used] = color;
            ++used;
        }
        indices[p] = index;
        lastColor = color;
        lastIndex = index;
    }
    return true;
}

} // namespace Tandry
