// A growable byte array written and read bit by bit: the serialisation buffer
// of the demo recorder (event stream, marker block, values passed through the
// demo). Writing appends; reading walks its own position from the start.
// Multi-byte values are little-endian and need not be byte-aligned. Reads past
// the end never fail: missing bits read as 0; callers test IsAtEnd.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Tandry {

class Buffer {
public:
    // Strings longer than this cannot be told apart from a corrupt length.
    static constexpr int kMaxStringLength = 32767;

    Buffer() = default;
    virtual ~Buffer() = default;

    // n is 1 to 32; bits of value above n-1 are ignored.
    void PutBits(uint32_t value, int n);
    void PutByte(uint8_t b);
    void PutShort(uint16_t v);
    void PutLong(uint32_t v);
    void PutBool(bool b);
    // A 16-bit length, then one byte per character; cut at kMaxStringLength.
    void PutString(const std::string& s);
    void PutBytes(const void* p, int n);

    // With signExtend, a last bit read of 1 sets bits n..31 of the result.
    uint32_t GetBits(int n, bool signExtend);
    // 0, without moving, when fewer than 8 bits are left in the stored bytes.
    uint8_t GetByte();
    uint16_t GetShort();
    uint32_t GetLong();
    bool GetBool();
    // Empty for a length of 0 or with the top bit set; a length larger than
    // what is left gives only the characters that are there.
    std::string GetString();
    void GetBytes(void* p, int n);

    bool IsAtEnd() const { return mReadBitPos >= mDataBitSize; }
    // Bytes to store; the last one is padded with zero bits.
    int GetByteSize() const { return (mDataBitSize + 7) / 8; }
    // Null when empty.
    const uint8_t* GetData() const { return mData.empty() ? nullptr : mData.data(); }
    void Clear();

    int GetDataBitSize() const { return mDataBitSize; }
    int GetReadBitPos() const { return mReadBitPos; }
    int GetWriteBitPos() const { return mWriteBitPos; }
    // The demo reader rewinds to 0 after loading a file; kept within the stored bits.
    void SetReadBitPos(int pos);

private:
    void AdvanceWrite(int bits);
    // Whole bytes still readable from the read position.
    int BytesLeft() const;

    std::vector<uint8_t> mData;
    int mDataBitSize = 0;
    int mReadBitPos = 0;
    int mWriteBitPos = 0;
};

} // namespace Tandry
