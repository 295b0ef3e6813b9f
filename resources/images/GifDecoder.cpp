#include "resources/images/ImageDecoders.h"

#include <array>
#include <cstring>

// The first image of a GIF file, decoded by hand. Every bound is checked
// here: indices beyond the colour table, codes that name nothing yet, data
// that stop early or run on past the image. Pixels the data never reach stay
// 0, fully transparent black, like the transparent index.

namespace Tandry::ImageLib {
namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxMinimumCodeSize = 11;

class Cursor {
public:
    Cursor(const uint8_t* data, size_t size) : mAt(data), mEnd(data + size) {}
    bool Byte(uint8_t& out)
    {
        if (mAt == mEnd)
            return false;
        out = *mAt++;
        return true;
    }
    // Points `out` at the next count bytes and steps over them.
    bool Bytes(size_t count, const uint8_t*& out)
    {
        if (static_cast<size_t>(mEnd - mAt) < count)
            return false;
        out = mAt;
        mAt += count;
        return true;
    }

private:
    const uint8_t* mAt;
    const uint8_t* mEnd;
};

uint16_t Le16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

struct ColorTable {
    std::array<uint32_t, 256> colors{};
    int size = 0;
};

// Reads a table of 2^(bits+1) entries of red, green, blue.
bool ReadColorTable(Cursor& in, uint8_t packed, ColorTable& table)
{
    const int count = 2 << (packed & 7);
    const uint8_t* rgb = nullptr;
    if (!in.Bytes(static_cast<size_t>(count) * 3, rgb))
        return false;
    for (int i = 0; i < count; ++i, rgb += 3)
        table.colors[i] = 0xFF000000u | uint32_t{rgb[0]} << 16 | uint32_t{rgb[1]} << 8 | rgb[2];
    table.size = count;
    return true;
}

// Skips an extension's sub-blocks; a graphic-control block may name the transparent index.
bool ReadExtension(Cursor& in, int& transparent)
{
    uint8_t label = 0;
    if (!in.Byte(label))
        return false;
    bool firstBlock = true;
    for (;;) {
        uint8_t count = 0;
        const uint8_t* data = nullptr;
        if (!in.Byte(count))
            return false;
        if (count == 0)
            return true;
        if (!in.Bytes(count, data))
            return false;
        // Fewer than 4 bytes carry no index: nothing is read past them.
        if (label == 0xF9 && firstBlock && count >= 4 && (data[0] & 1) != 0)
            transparent = data[3];
        firstBlock = false;
    }
}

// LZW codes, least significant bit first, out of the data sub-blocks.
class CodeReader {
public:
    explicit CodeReader(Cursor& in) : mIn(in) {}
    bool Next(int width, int& code)
    {
        while (mBitCount < width) {
            if (mBlockLeft == 0) {
                uint8_t count = 0;
                if (!mIn.Byte(count) || count == 0)
                    return false;
                mBlockLeft = count;
            }
            uint8_t byte = 0;
            if (!mIn.Byte(byte))
                return false;
            --mBlockLeft;
            mBits |= uint32_t{byte} << mBitCount;
            mBitCount += 8;
        }
        code = static_cast<int>(mBits & ((1u << width) - 1));
        mBits >>= width;
        mBitCount -= width;
        return true;
    }

private:
    Cursor& mIn;
    uint32_t mBits = 0;
    int mBitCount = 0;
    int mBlockLeft = 0;
};

// Places colour indices row by row, in the four interlace passes when asked,
// and says when the image is full.
class PixelSink {
public:
    PixelSink(Image& image, const ColorTable& table, int transparent, bool interlaced)
        : mImage(image), mTable(table), mTransparent(transparent), mInterlaced(interlaced)
    {
    }

    bool Full() const { return mRow >= mImage.height; }

    void Put(int index)
    {
        if (Full())
            return;
        uint32_t color = 0;
        if (index != mTransparent && index < mTable.size)
            color = mTable.colors[index];
        mImage.bits[static_cast<size_t>(mRow) * mImage.width + mX] = color;
        if (++mX == mImage.width) {
            mX = 0;
            NextRow();
        }
    }

private:
    void NextRow()
    {
        static constexpr int kStart[4] = {0, 4, 2, 1};
        static constexpr int kStep[4] = {8, 8, 4, 2};
        if (!mInterlaced) {
            ++mRow;
            return;
        }
        mRow += kStep[mPass];
        while (mRow >= mImage.height && mPass < 3)
            mRow = kStart[++mPass];
    }

    Image& mImage;
    const ColorTable& mTable;
    int mTransparent;
    bool mInterlaced;
    int mX = 0;
    int mRow = 0;
    int mPass = 0;
};

void DecodeLzw(Cursor& in, int minimumCodeSize, PixelSink& sink)
{
    const int clear = 1 << minimumCodeSize;
    const int end = clear + 1;
    std::array<uint16_t, kMaxCodes> prefix{};
    std::array<uint16_t, kMaxCodes> suffix{};
    std::array<uint16_t, kMaxCodes + 1> stack{};
    for (int i = 0; i < clear; ++i)
        suffix[i] = static_cast<uint16_t>(i);

    CodeReader codes(in);
    int width = minimumCodeSize + 1;
    int mask = (1 << width) - 1;
    int next = clear + 2;
    bool havePrevious = false;
    int previous = 0;
    int first = 0;
    int code = 0;
    while (!sink.Full() && codes.Next(width, code)) {
        if (code > next || code == end)
            return;
        if (code == clear) {
            width = minimumCodeSize + 1;
            mask = (1 << width) - 1;
            next = clear + 2;
            havePrevious = false;
            continue;
        }
        if (!havePrevious) {
            // Only a literal can start a table; anything else names a code not yet made.
            if (code >= clear)
                return;
            sink.Put(code);
            previous = first = code;
            havePrevious = true;
            continue;
        }
        const int incoming = code;
        size_t depth = 0;
        if (code == next) {
            stack[depth++] = static_cast<uint16_t>(first);
            code = previous;
        }
        // Every entry's prefix is an older code, so the walk ends below clear.
        while (code >= clear && depth < stack.size() - 1) {
            stack[depth++] = suffix[code];
            code = prefix[code];
        }
        first = suffix[code];
        if (next >= kMaxCodes)
            return;
        stack[depth++] = static_cast<uint16_t>(first);
        prefix[next] = static_cast<uint16_t>(previous);
        suffix[next] = static_cast<uint16_t>(first);
        ++next;
        if ((next & mask) == 0 && next < kMaxCodes) {
            ++width;
            mask = (1 << width) - 1;
        }
        previous = incoming;
        while (depth > 0)
            sink.Put(stack[--depth]);
    }
}

} // namespace

std::unique_ptr<Image> DecodeGif(const uint8_t* data, size_t size, const std::string& label)
{
    Cursor in(data, size);
    const uint8_t* signature = nullptr;
    if (!in.Bytes(6, signature)
        || (std::memcmp(signature, "GIF87", 5) != 0 && std::memcmp(signature, "GIF89", 5) != 0)) {
        ReportImageProblem(label, "not a GIF file");
        return nullptr;
    }
    const uint8_t* screen = nullptr;
    ColorTable globalTable;
    if (!in.Bytes(7, screen) || ((screen[4] & 0x80) != 0 && !ReadColorTable(in, screen[4], globalTable))) {
        ReportImageProblem(label, "GIF header cut short");
        return nullptr;
    }

    int transparent = -1;
    for (;;) {
        uint8_t introducer = 0;
        if (!in.Byte(introducer) || introducer == 0x3B) {
            ReportImageProblem(label, "GIF file holds no image");
            return nullptr;
        }
        if (introducer == 0x2C)
            break;
        if (introducer == 0x21 && !ReadExtension(in, transparent)) {
            ReportImageProblem(label, "GIF extension cut short");
            return nullptr;
        }
    }

    const uint8_t* descriptor = nullptr;
    if (!in.Bytes(9, descriptor)) {
        ReportImageProblem(label, "GIF image descriptor cut short");
        return nullptr;
    }
    const int width = Le16(descriptor + 4);
    const int height = Le16(descriptor + 6);
    const uint8_t packed = descriptor[8];
    if (width == 0 || height == 0) {
        ReportImageProblem(label, "GIF image is empty");
        return nullptr;
    }
    ColorTable localTable;
    if ((packed & 0x80) != 0 && !ReadColorTable(in, packed, localTable)) {
        ReportImageProblem(label, "GIF colour table cut short");
        return nullptr;
    }
    const ColorTable& table = (packed & 0x80) != 0 ? localTable : globalTable;

    uint8_t minimumCodeSize = 0;
    if (!in.Byte(minimumCodeSize) || minimumCodeSize > kMaxMinimumCodeSize) {
        ReportImageProblem(label, "GIF code size missing or above 11");
        return nullptr;
    }
    std::unique_ptr<Image> image = Image::Create(width, height, true);
    if (image == nullptr) {
        ReportImageProblem(label, "GIF image too large");
        return nullptr;
    }
    PixelSink sink(*image, table, transparent, (packed & 0x40) != 0);
    DecodeLzw(in, minimumCodeSize, sink);
    return image;
}

} // namespace Tandry::ImageLib
