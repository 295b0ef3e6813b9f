#include "util/Buffer.h"

#include <algorithm>

namespace Tandry {

void Buffer::AdvanceWrite(int bits)
{
    mWriteBitPos += bits;
    if (mWriteBitPos > mDataBitSize)
        mDataBitSize = mWriteBitPos;
}

void Buffer::PutBits(uint32_t value, int n)
{
    n = std::min(n, 32);
    for (int i = 0; i < n; ++i) {
        if (mWriteBitPos % 8 == 0)
            mData.push_back(0);
        if ((value >> i) & 1u)
            mData[mWriteBitPos / 8] |= static_cast<uint8_t>(1u << (mWriteBitPos % 8));
        AdvanceWrite(1);
    }
}

void Buffer::PutByte(uint8_t b)
{
    const int c = mWriteBitPos % 8;
    if (c == 0) {
        mData.push_back(b);
    } else {
        mData.back() |= static_cast<uint8_t>(b << c);
        mData.push_back(static_cast<uint8_t>(b >> (8 - c)));
    }
    AdvanceWrite(8);
}

void Buffer::PutShort(uint16_t v)
{
    PutByte(static_cast<uint8_t>(v));
    PutByte(static_cast<uint8_t>(v >> 8));
}

void Buffer::PutLong(uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        PutByte(static_cast<uint8_t>(v >> shift));
}

void Buffer::PutBool(bool b)
{
    PutByte(b ? 1 : 0);
}

void Buffer::PutString(const std::string& s)
{
    // A longer text would write a length the reader takes as negative (or cut
    // to 16 bits) and then misread every character as the values after it.
    const int length = static_cast<int>(std::min<size_t>(s.size(), kMaxStringLength));
    PutShort(static_cast<uint16_t>(length));
    PutBytes(s.data(), length);
}

void Buffer::PutBytes(const void* p, int n)
{
    const auto* bytes = static_cast<const uint8_t*>(p);
    for (int i = 0; i < n; ++i)
        PutByte(bytes[i]);
}

uint32_t Buffer::GetBits(int n, bool signExtend)
{
    n = std::min(n, 32);
    const int byteCount = static_cast<int>(mData.size());
    uint32_t result = 0;
    uint32_t lastBit = 0;
    for (int i = 0; i < n; ++i) {
        if (mReadBitPos / 8 >= byteCount)
            break;
        lastBit = (mData[mReadBitPos / 8] >> (mReadBitPos % 8)) & 1u;
        result |= lastBit << i;
        ++mReadBitPos;
    }
    if (signExtend && lastBit != 0 && n < 32)
        result |= ~0u << n;
    return result;
}

int Buffer::BytesLeft() const
{
    return static_cast<int>(mData.size()) - (mReadBitPos + 7) / 8;
}

uint8_t Buffer::GetByte()
{
    if (BytesLeft() <= 0)
        return 0;
    const int c = mReadBitPos % 8;
    const int k = mReadBitPos / 8;
    uint8_t b = mData[k];
    if (c != 0)
        b = static_cast<uint8_t>((mData[k] >> c) | (mData[k + 1] << (8 - c)));
    mReadBitPos += 8;
    return b;
}

uint16_t Buffer::GetShort()
{
    const uint16_t low = GetByte();
    return static_cast<uint16_t>(low | (GetByte() << 8));
}

uint32_t Buffer::GetLong()
{
    uint32_t v = 0;
    for (int shift = 0; shift < 32; shift += 8)
        v |= static_cast<uint32_t>(GetByte()) << shift;
    return v;
}

bool Buffer::GetBool()
{
    return GetByte() != 0;
}

std::string Buffer::GetString()
{
    const int length = static_cast<int16_t>(GetShort());
    std::string s;
    if (length <= 0)
        return s;
    // A corrupt length must not turn into thousands of padding zeros.
    s.resize(std::min(length, std::max(BytesLeft(), 0)));
    for (char& ch : s)
        ch = static_cast<char>(GetByte());
    return s;
}

void Buffer::GetBytes(void* p, int n)
{
    auto* bytes = static_cast<uint8_t*>(p);
    for (int i = 0; i < n; ++i)
        bytes[i] = GetByte();
}

void Buffer::Clear()
{
    mData.clear();
    mDataBitSize = 0;
    mReadBitPos = 0;
    mWriteBitPos = 0;
}

void Buffer::SetReadBitPos(int pos)
{
    mReadBitPos = std::clamp(pos, 0, mDataBitSize);
}

} // namespace Tandry
