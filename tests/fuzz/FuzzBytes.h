// Draws small values out of a fuzz input: bytes, bounded ints and floats
// with an occasional value that is not a number or out of every range.
// Reading past the end gives zeros, so every input is a whole program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>

class FuzzBytes {
public:
    FuzzBytes(const uint8_t* data, size_t size) : mData(data), mSize(size) {}

    bool Empty() const { return mPos >= mSize; }
    uint8_t Byte() { return mPos < mSize ? mData[mPos++] : 0; }
    bool Bool() { return (Byte() & 1) != 0; }
    // A value in lo..hi.
    int Range(int lo, int hi)
    {
        const uint32_t raw = static_cast<uint32_t>(Byte()) | (static_cast<uint32_t>(Byte()) << 8);
        return lo + static_cast<int>(raw % static_cast<uint32_t>(hi - lo + 1));
    }
    // Mostly a value in lo..hi with a fraction in sixteenths; now and then
    // not a number, an infinity or far out of range.
    float Float(int lo, int hi)
    {
        switch (Byte() % 32) {
        case 0:
            return std::numeric_limits<float>::quiet_NaN();
        case 1:
            return std::numeric_limits<float>::infinity();
        case 2:
            return -1e30f;
        default:
            return static_cast<float>(Range(lo * 16, hi * 16)) / 16.0f;
        }
    }

private:
    const uint8_t* mData;
    size_t mSize;
    size_t mPos = 0;
};

inline void FuzzCheck(bool ok)
{
    if (!ok)
        std::abort();
}
