// A destination for rasteriser tests: pixels of one format in a byte buffer
// with guard bands before and after and a gap at the end of every row, so a
// test can see any byte written outside the clip rectangle.
#pragma once

#include "graphics/types/Rect.h"

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace Tandry::Testing {

class RasterCanvas {
public:
    static constexpr int kGuard = 256;

    // gap: bytes after each row's pixels; the pitch is width * pixel size + gap.
    RasterCanvas(int32_t format, int width, int height, int gap = 8)
        : mFormat(format), mWidth(width), mHeight(height),
          mPitch(width * PixelSize(format) + gap),
          mBytes(static_cast<size_t>(2 * kGuard + mPitch * height), 0xA5)
    {
    }

    static int PixelSize(int32_t format) { return format == 0x565 || format == 0x555 ? 2 : 4; }

    int32_t Format() const { return mFormat; }
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    int32_t Pitch() const { return mPitch; }
    void* Origin() { return mBytes.data() + kGuard; }
    uint8_t* Bytes() { return mBytes.data() + kGuard; }

    uint32_t At(int x, int y) const
    {
        return Read(mBytes.data() + kGuard + y * mPitch + x * PixelSize(mFormat), mFormat);
    }

    void Set(int x, int y, uint32_t value)
    {
        Write(mBytes.data() + kGuard + y * mPitch + x * PixelSize(mFormat), mFormat, value);
    }

    // One pixel of the format at a byte address; 16-bit formats use the low half.
    static uint32_t Read(const uint8_t* at, int32_t format)
    {
        if (PixelSize(format) == 4) {
            uint32_t v;
            std::memcpy(&v, at, 4);
            return v;
        }
        uint16_t v;
        std::memcpy(&v, at, 2);
        return v;
    }

    static void Write(uint8_t* at, int32_t format, uint32_t value)
    {
        if (PixelSize(format) == 4) {
            std::memcpy(at, &value, 4);
        } else {
            const auto v = static_cast<uint16_t>(value);
            std::memcpy(at, &v, 2);
        }
    }

    void Fill(uint32_t value)
    {
        for (int y = 0; y < mHeight; ++y)
            for (int x = 0; x < mWidth; ++x)
                Set(x, y, value);
    }

    void FillRandom(std::mt19937& random)
    {
        for (int y = 0; y < mHeight; ++y)
            for (int x = 0; x < mWidth; ++x)
                Set(x, y, static_cast<uint32_t>(random()));
    }

    // Whether any byte outside `clip` differs from `before`: guard bands, row
    // gaps and pixels of the canvas alike.
    bool ChangedOutside(const RasterCanvas& before, const Rect& clip) const
    {
        for (size_t i = 0; i < mBytes.size(); ++i) {
            if (mBytes[i] == before.mBytes[i])
                continue;
            const auto offset = static_cast<int64_t>(i) - kGuard;
            if (offset < 0 || offset >= int64_t{mPitch} * mHeight)
                return true;
            const int64_t y = offset / mPitch;
            const int64_t x = (offset % mPitch) / PixelSize(mFormat);
            if ((offset % mPitch) >= int64_t{mWidth} * PixelSize(mFormat) || x < clip.x ||
                x >= int64_t{clip.x} + clip.width || y < clip.y || y >= int64_t{clip.y} + clip.height)
                return true;
        }
        return false;
    }

    bool operator==(const RasterCanvas& other) const { return mBytes == other.mBytes; }

private:
    int32_t mFormat;
    int mWidth;
    int mHeight;
    int32_t mPitch;
    std::vector<uint8_t> mBytes;
};

} // namespace Tandry::Testing
