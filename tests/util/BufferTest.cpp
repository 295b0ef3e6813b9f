#include "util/Buffer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Tandry::Buffer;

std::vector<uint8_t> Bytes(const Buffer& buffer)
{
    const uint8_t* data = buffer.GetData();
    if (data == nullptr)
        return {};
    return std::vector<uint8_t>(data, data + buffer.GetByteSize());
}

struct WriteCase {
    const char* name;
    std::function<void(Buffer&)> write;
    std::vector<uint8_t> bytes;
    int bitSize;
};

TEST(Buffer, WritesGoldenBytes)
{
    const WriteCase cases[] = {
        {"3-bit 5", [](Buffer& b) { b.PutBits(5, 3); }, {0x05}, 3},
        {"bits above n ignored", [](Buffer& b) { b.PutBits(0xFFFFFFF5u, 3); }, {0x05}, 3},
        {"one bit then 0xFF straddles", [](Buffer& b) { b.PutBits(1, 1); b.PutByte(0xFF); }, {0xFF, 0x01}, 9},
        {"short is little-endian", [](Buffer& b) { b.PutShort(0x1234); }, {0x34, 0x12}, 16},
        {"long is little-endian", [](Buffer& b) { b.PutLong(0x11223344u); }, {0x44, 0x33, 0x22, 0x11}, 32},
        {"unaligned short", [](Buffer& b) { b.PutBits(0, 4); b.PutShort(0xABCD); }, {0xD0, 0xBC, 0x0A}, 20},
        {"32 bits at once", [](Buffer& b) { b.PutBits(0x80000001u, 32); }, {0x01, 0x00, 0x00, 0x80}, 32},
        {"bools", [](Buffer& b) { b.PutBool(true); b.PutBool(false); }, {0x01, 0x00}, 16},
        {"empty string", [](Buffer& b) { b.PutString(""); }, {0x00, 0x00}, 16},
        {"string", [](Buffer& b) { b.PutString("ab"); }, {0x02, 0x00, 'a', 'b'}, 32},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        Buffer buffer;
        c.write(buffer);
        EXPECT_EQ(Bytes(buffer), c.bytes);
        EXPECT_EQ(buffer.GetDataBitSize(), c.bitSize);
        EXPECT_EQ(buffer.GetWriteBitPos(), c.bitSize);
        EXPECT_EQ(buffer.GetByteSize(), static_cast<int>(c.bytes.size()));
    }
}

TEST(Buffer, ReadsBackUnalignedValues)
{
    Buffer buffer;
    buffer.PutBits(1, 1);
    buffer.PutByte(0xFF);
    buffer.PutShort(0xBEEF);
    buffer.PutBits(6, 3);
    buffer.PutLong(0xDEADBEEFu);
    buffer.PutBool(true);
    buffer.PutString("hello");
    buffer.PutBits(0x2A, 32);

    EXPECT_EQ(buffer.GetBits(1, false), 1u);
    EXPECT_EQ(buffer.GetByte(), 0xFF);
    EXPECT_EQ(buffer.GetShort(), 0xBEEF);
    EXPECT_EQ(buffer.GetBits(3, false), 6u);
    EXPECT_EQ(buffer.GetLong(), 0xDEADBEEFu);
    EXPECT_TRUE(buffer.GetBool());
    EXPECT_EQ(buffer.GetString(), "hello");
    EXPECT_FALSE(buffer.IsAtEnd());
    EXPECT_EQ(buffer.GetBits(32, false), 0x2Au);
    EXPECT_TRUE(buffer.IsAtEnd());
}

TEST(Buffer, SignExtension)
{
    struct Case {
        uint32_t stored;
        int bits;
        bool signExtend;
        uint32_t expected;
    };
    const Case cases[] = {
        {0x3F, 6, true, 0xFFFFFFFFu},  // 111111 is -1
        {0x1F, 6, true, 31u},          // 011111: top bit clear
        {0x3F, 6, false, 63u},
        {0x20, 6, true, 0xFFFFFFE0u},  // -32
        {0x80000000u, 32, true, 0x80000000u},
        {0x1, 1, true, 0xFFFFFFFFu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        Buffer buffer;
        buffer.PutBits(c.stored, c.bits);
        EXPECT_EQ(buffer.GetBits(c.bits, c.signExtend), c.expected);
    }
}

TEST(Buffer, ReadsPastTheEndGiveZeroWithoutMoving)
{
    Buffer empty;
    EXPECT_EQ(empty.GetData(), nullptr);
    EXPECT_EQ(empty.GetByteSize(), 0);
    EXPECT_TRUE(empty.IsAtEnd());
    EXPECT_EQ(empty.GetByte(), 0);
    EXPECT_EQ(empty.GetBits(32, true), 0u);
    EXPECT_EQ(empty.GetLong(), 0u);
    EXPECT_FALSE(empty.GetBool());
    EXPECT_EQ(empty.GetString(), "");
    EXPECT_EQ(empty.GetReadBitPos(), 0);
    EXPECT_TRUE(empty.IsAtEnd());

    // 3 stored bits sit in one padded byte: reads go on into the padding and
    // stop at the end of the stored bytes.
    Buffer partial;
    partial.PutBits(5, 3);
    EXPECT_EQ(partial.GetBits(12, false), 5u);
    EXPECT_EQ(partial.GetReadBitPos(), 8);
    EXPECT_TRUE(partial.IsAtEnd());
    partial.SetReadBitPos(0);
    EXPECT_EQ(partial.GetByte(), 5);
    EXPECT_EQ(partial.GetByte(), 0);
    EXPECT_EQ(partial.GetReadBitPos(), 8);

    // A byte that would need the byte after the last one is not read.
    Buffer straddle;
    straddle.PutByte(0xAB);
    straddle.GetBits(1, false);
    EXPECT_EQ(straddle.GetByte(), 0);
    EXPECT_EQ(straddle.GetReadBitPos(), 1);

    uint8_t out[3] = {9, 9, 9};
    Buffer two;
    two.PutShort(0x0201);
    two.GetBytes(out, 3);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[1], 2);
    EXPECT_EQ(out[2], 0);
}

TEST(Buffer, StringLengthRules)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> stored;
        std::string expected;
        int bitsConsumed;
    };
    const Case cases[] = {
        {"zero length", {0x00, 0x00, 'x'}, "", 16},
        {"top bit set is empty", {0x00, 0x80, 'x'}, "", 16},
        {"-1 is empty", {0xFF, 0xFF, 'x'}, "", 16},
        {"exact", {0x01, 0x00, 'x'}, "x", 24},
        {"longest", {0xFF, 0x7F, 'x', 'y'}, "xy", 32},  // corrupt length, only two characters there
        {"length cut short", {0x05}, "", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Buffer buffer;
        buffer.PutBytes(c.stored.data(), static_cast<int>(c.stored.size()));
        buffer.SetReadBitPos(0);
        EXPECT_EQ(buffer.GetString(), c.expected);
        EXPECT_EQ(buffer.GetReadBitPos(), c.bitsConsumed);
    }
}

TEST(Buffer, LongStringsAreCutSoTheStreamStaysReadable)
{
    const std::string longest(Buffer::kMaxStringLength, 'a');
    const std::string tooLong(40000, 'b');
    Buffer buffer;
    buffer.PutString(longest);
    buffer.PutString(tooLong);
    buffer.PutLong(7);
    EXPECT_EQ(buffer.GetString(), longest);
    EXPECT_EQ(buffer.GetString(), tooLong.substr(0, Buffer::kMaxStringLength));
    EXPECT_EQ(buffer.GetLong(), 7u);
    EXPECT_TRUE(buffer.IsAtEnd());
}

TEST(Buffer, LoadedAndRewoundIsAtEndAfterExactlyItsBits)
{
    const uint8_t bytes[] = {1, 2, 3, 4, 5};
    for (int k = 0; k <= 5; ++k) {
        SCOPED_TRACE(k);
        Buffer buffer;
        buffer.PutBytes(bytes, k);
        buffer.SetReadBitPos(0);
        for (int bit = 0; bit < 8 * k; ++bit) {
            EXPECT_FALSE(buffer.IsAtEnd());
            buffer.GetBits(1, false);
        }
        EXPECT_TRUE(buffer.IsAtEnd());
        EXPECT_EQ(buffer.GetReadBitPos(), 8 * k);
    }
}

TEST(Buffer, ClearEmptiesEverything)
{
    Buffer buffer;
    buffer.PutLong(0xFFFFFFFFu);
    buffer.GetByte();
    buffer.Clear();
    EXPECT_EQ(buffer.GetData(), nullptr);
    EXPECT_EQ(buffer.GetDataBitSize(), 0);
    EXPECT_EQ(buffer.GetReadBitPos(), 0);
    EXPECT_EQ(buffer.GetWriteBitPos(), 0);
    // A new write after Clear starts a fresh byte, not ORed into old data.
    buffer.PutBits(0, 3);
    EXPECT_EQ(Bytes(buffer), std::vector<uint8_t>{0x00});
}

TEST(Buffer, ReadPositionStaysWithinTheStoredBits)
{
    Buffer buffer;
    buffer.PutShort(0x0102);
    buffer.SetReadBitPos(-5);
    EXPECT_EQ(buffer.GetReadBitPos(), 0);
    buffer.SetReadBitPos(1000);
    EXPECT_EQ(buffer.GetReadBitPos(), 16);
    EXPECT_EQ(buffer.GetByte(), 0);
}

} // namespace
