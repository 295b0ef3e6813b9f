#include "graphics/image/Palettizer.h"

#include <cstring>

namespace Tandry {

namespace {

// The colours found so far. A small hash table answers almost every lookup
// in one probe; a key that finds its probe window full is looked up in a
// table sorted by value instead, so no picture costs more than a window and
// a binary search per pixel, however its colours collide.
class ColourIndex {
public:
    ColourIndex() { std::memset(mSlotIndex, 0xFF, sizeof mSlotIndex); }

    int Count() const { return mUsed; }

    // The colour's index, or -1 when it has none yet.
    int Find(uint32_t colour) const
    {
        const uint32_t home = Hash(colour);
        for (uint32_t i = 0; i < kWindow; ++i) {
            const uint32_t slot = (home + i) & (kSlots - 1);
            if (mSlotIndex[slot] < 0)
                return -1;
            if (mSlotColour[slot] == colour)
                return mSlotIndex[slot];
        }
        return FindSorted(colour);
    }

    // colour must be absent; it gets the next index, which is returned.
    int Add(uint32_t colour)
    {
        const int index = mUsed++;
        const uint32_t home = Hash(colour);
        for (uint32_t i = 0; i < kWindow; ++i) {
            const uint32_t slot = (home + i) & (kSlots - 1);
            if (mSlotIndex[slot] < 0) {
                mSlotColour[slot] = colour;
                mSlotIndex[slot] = static_cast<int16_t>(index);
                break;
            }
        }
        int at = 0;
        while (at < index && mSorted[at] < colour)
            ++at;
        std::memmove(mSorted + at + 1, mSorted + at, sizeof(mSorted[0]) * static_cast<size_t>(index - at));
        std::memmove(mSortedIndex + at + 1, mSortedIndex + at, static_cast<size_t>(index - at));
        mSorted[at] = colour;
        mSortedIndex[at] = static_cast<uint8_t>(index);
        return index;
    }

private:
    static constexpr uint32_t kSlots = 1024;
    static constexpr uint32_t kWindow = 8;

    static uint32_t Hash(uint32_t colour) { return (colour * 0x9E3779B1u) >> 22; }

    int FindSorted(uint32_t colour) const
    {
        int low = 0;
        int high = mUsed - 1;
        while (low <= high) {
            const int mid = (low + high) / 2;
            if (mSorted[mid] == colour)
                return mSortedIndex[mid];
            if (mSorted[mid] < colour)
                low = mid + 1;
            else
                high = mid - 1;
        }
        return -1;
    }

    uint32_t mSlotColour[kSlots];
    int16_t mSlotIndex[kSlots];
    uint32_t mSorted[256];
    uint8_t mSortedIndex[256];
    int mUsed = 0;
};

} // namespace

bool Palettizer::Run(const uint32_t* pixels, size_t count, uint32_t* table, uint8_t* indices)
{
    for (int i = 0; i < 256; ++i)
        table[i] = kUnusedEntry;
    ColourIndex known;
    // Neighbouring pixels usually share a colour; remembering the last one
    // skips the lookup for them.
    uint32_t lastColour = 0;
    int lastIndex = -1;
    for (size_t p = 0; p < count; ++p) {
        const uint32_t colour = pixels[p];
        if (colour != lastColour || lastIndex < 0) {
            lastIndex = known.Find(colour);
            if (lastIndex < 0) {
                if (known.Count() == 256)
                    return false;
                lastIndex = known.Add(colour);
                table[lastIndex] = colour;
            }
            lastColour = colour;
        }
        indices[p] = static_cast<uint8_t>(lastIndex);
    }
    return true;
}

} // namespace Tandry
