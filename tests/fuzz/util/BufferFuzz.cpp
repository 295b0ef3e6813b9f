// Fills a Buffer from the input and reads it back with reads chosen by the
// input; then writes values chosen by the input and checks they read back.
// Layout: byte 0 picks the mode (top bit) and the loose leading bits; in read
// mode a length byte and the payload follow, then one or two bytes per read.
#include "util/Buffer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void CheckInvariants(const Tandry::Buffer& buffer, int storedBytes)
{
    Check(buffer.GetByteSize() == storedBytes);
    Check((buffer.GetData() == nullptr) == (storedBytes == 0));
    Check(buffer.GetReadBitPos() >= 0);
    Check(buffer.GetReadBitPos() <= 8 * storedBytes);
    Check(buffer.GetWriteBitPos() == buffer.GetDataBitSize());
    Check(buffer.IsAtEnd() == (buffer.GetReadBitPos() >= buffer.GetDataBitSize()));
}

class Input {
public:
    Input(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
    bool Empty() const { return mPos >= mSize; }
    uint8_t Next() { return mPos < mSize ? mData[mPos++] : 0; }
    std::vector<uint8_t> Take(size_t n)
    {
        n = std::min(n, mSize - mPos);
        std::vector<uint8_t> out(mData + mPos, mData + mPos + n);
        mPos += n;
        return out;
    }

private:
    const uint8_t* mData;
    size_t mSize;
    size_t mPos = 0;
};

// Reads arbitrary stored bytes with the read chosen by each operation byte.
void ReadChosen(Input& in, uint8_t mode)
{
    const std::vector<uint8_t> payload = in.Take(in.Next());
    Tandry::Buffer buffer;
    // Some inputs start with a few loose bits so every later byte is unaligned.
    const int leadBits = mode & 7;
    if (leadBits != 0)
        buffer.PutBits(mode >> 3, leadBits);
    buffer.PutBytes(payload.data(), static_cast<int>(payload.size()));
    const int stored = buffer.GetByteSize();
    buffer.SetReadBitPos(0);
    CheckInvariants(buffer, stored);

    while (!in.Empty()) {
        const uint8_t op = in.Next();
        const int before = buffer.GetReadBitPos();
        switch (op % 8) {
        case 0: {
            const int n = (op >> 3) % 32 + 1;
            buffer.GetBits(n, (in.Next() & 1) != 0);
            Check(buffer.GetReadBitPos() - before <= n);
            break;
        }
        case 1: {
            buffer.GetByte();
            const int moved = buffer.GetReadBitPos() - before;
            Check(moved == 0 || moved == 8);
            break;
        }
        case 2: buffer.GetShort(); break;
        case 3: buffer.GetLong(); break;
        case 4: buffer.GetBool(); break;
        case 5: {
            const std::string s = buffer.GetString();
            Check(static_cast<int>(s.size()) <= stored);
            break;
        }
        case 6: {
            uint8_t out[64];
            buffer.GetBytes(out, (op >> 3) % 64);
            break;
        }
        default: buffer.SetReadBitPos(in.Next() * 3 - 100); break;
        }
        CheckInvariants(buffer, stored);
    }
}

// Writes values chosen by the input, then reads them back in the same order.
void RoundTrip(Input& in)
{
    struct Written {
        uint8_t kind;
        int bits;
        uint32_t value;
        std::string text;
    };
    std::vector<Written> written;
    Tandry::Buffer buffer;
    while (!in.Empty()) {
        const uint8_t op = in.Next();
        Written w{static_cast<uint8_t>(op % 6), in.Next() % 32 + 1, 0, {}};
        for (int i = 0; i < 4; ++i)
            w.value |= static_cast<uint32_t>(in.Next()) << (8 * i);
        switch (w.kind) {
        case 0: buffer.PutBits(w.value, w.bits); break;
        case 1: buffer.PutByte(static_cast<uint8_t>(w.value)); break;
        case 2: buffer.PutShort(static_cast<uint16_t>(w.value)); break;
        case 3: buffer.PutLong(w.value); break;
        case 4: buffer.PutBool((w.value & 1) != 0); break;
        default: {
            const std::vector<uint8_t> chars = in.Take(w.value % 64);
            w.text.assign(chars.begin(), chars.end());
            buffer.PutString(w.text);
            break;
        }
        }
        written.push_back(w);
        Check(buffer.GetByteSize() == (buffer.GetDataBitSize() + 7) / 8);
    }
    for (const Written& w : written) {
        switch (w.kind) {
        case 0: {
            const uint32_t mask = w.bits == 32 ? ~0u : (1u << w.bits) - 1;
            Check(buffer.GetBits(w.bits, false) == (w.value & mask));
            break;
        }
        case 1: Check(buffer.GetByte() == static_cast<uint8_t>(w.value)); break;
        case 2: Check(buffer.GetShort() == static_cast<uint16_t>(w.value)); break;
        case 3: Check(buffer.GetLong() == w.value); break;
        case 4: Check(buffer.GetBool() == ((w.value & 1) != 0)); break;
        default: Check(buffer.GetString() == w.text); break;
        }
    }
    Check(buffer.IsAtEnd());
    Check(buffer.GetReadBitPos() == buffer.GetDataBitSize());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size);
    const uint8_t mode = in.Next();
    if (mode & 0x80)
        RoundTrip(in);
    else
        ReadChosen(in, mode);
    return 0;
}
