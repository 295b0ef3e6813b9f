#include "platform/text/CodePage.h"

#include "platform/text/Windows1252.h"

#include <climits>
#include <cstddef>
#include <cstring>
#include <cwchar>

namespace Platform {
namespace {

// Collects output units: counts only when there is no destination, otherwise
// writes until the destination is full and remembers that it overflowed.
template <typename Unit>
class Output {
public:
    Output(Unit* dst, int capacity) : mDst(capacity > 0 ? dst : nullptr), mCapacity(capacity) {}

    void Put(uint32_t unit)
    {
        if (mDst != nullptr) {
            if (mCount >= mCapacity) {
                mOverflow = true;
                return;
            }
            mDst[mCount] = static_cast<Unit>(unit);
        }
        ++mCount;
    }

    bool Full() const { return mOverflow; }

    // The system call's answer: the unit count, or 0 for a failure.
    int Result(bool ok) const { return ok && !mOverflow && mCount <= INT_MAX ? static_cast<int>(mCount) : 0; }

private:
    Unit* mDst;
    int64_t mCapacity;
    int64_t mCount = 0;
    bool mOverflow = false;
};

// The number of source units to convert, or -1 when the request is invalid.
template <typename Unit>
int64_t SourceLength(const Unit* src, int srcLen)
{
    if (src == nullptr || srcLen == 0 || srcLen < -1)
        return -1;
    if (srcLen > 0)
        return srcLen;
    size_t length;
    if constexpr (sizeof(Unit) == 1)
        length = std::strlen(src) + 1;
    else
        length = std::wcslen(src) + 1;
    return length <= INT_MAX ? static_cast<int64_t>(length) : -1;
}

bool IsHighSurrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void DecodeWindows1252(const unsigned char* src, int64_t length, Output<wchar_t>& out)
{
    for (int64_t i = 0; i < length && !out.Full(); ++i)
        out.Put(Windows1252HighToUnit(src[i]));
}

// Strict UTF-8: each lead byte fixes the range of its first continuation byte,
// which is what rules out overlong forms, surrogates and code points past U+10FFFF.
bool DecodeUtf8(const unsigned char* src, int64_t length, Output<wchar_t>& out)
{
    int64_t i = 0;
    while (i < length && !out.Full()) {
        const uint32_t lead = src[i];
        if (lead < 0x80) {
            out.Put(lead);
            ++i;
            continue;
        }
        int extra;
        uint32_t code;
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            code = lead & 0x0F;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            code = lead & 0x07;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (length - i - 1 < extra)
            return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = src[i + k];
            if (next < low || next > high)
                return false;
            low = 0x80;
            high = 0xBF;
            code = (code << 6) | (next & 0x3F);
        }
        i += extra + 1;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.Put(0xD800 + (code >> 10));
            out.Put(0xDC00 + (code & 0x3FF));
        } else {
            out.Put(code);
        }
    }
    return true;
}

void EncodeWindows1252(const wchar_t* src, int64_t length, Output<char>& out, bool& usedDefault)
{
    for (int64_t i = 0; i < length && !out.Full(); ++i) {
        const uint32_t unit = static_cast<uint32_t>(src[i]);
        if (unit < 0x80) {
            out.Put(unit);
            continue;
        }
        const int byte = Windows1252UnitToHigh(unit);
        if (byte >= 0) {
            out.Put(static_cast<uint32_t>(byte));
            continue;
        }
        if (IsHighSurrogate(unit) && i + 1 < length && IsLowSurrogate(static_cast<uint32_t>(src[i + 1])))
            ++i;
        out.Put('?');
        usedDefault = true;
    }
}

bool EncodeUtf8(const wchar_t* src, int64_t length, Output<char>& out)
{
    for (int64_t i = 0; i < length && !out.Full(); ++i) {
        uint32_t code = static_cast<uint32_t>(src[i]);
        if (IsLowSurrogate(code) || code > 0xFFFF)
            return false;
        if (IsHighSurrogate(code)) {
            if (i + 1 >= length || !IsLowSurrogate(static_cast<uint32_t>(src[i + 1])))
                return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<uint32_t>(src[i + 1]) - 0xDC00);
            ++i;
        }
        if (code < 0x80) {
            out.Put(code);
        } else if (code < 0x800) {
            out.Put(0xC0 | (code >> 6));
            out.Put(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out.Put(0xE0 | (code >> 12));
            out.Put(0x80 | ((code >> 6) & 0x3F));
            out.Put(0x80 | (code & 0x3F));
        } else {
            out.Put(0xF0 | (code >> 18));
            out.Put(0x80 | ((code >> 12) & 0x3F));
            out.Put(0x80 | ((code >> 6) & 0x3F));
            out.Put(0x80 | (code & 0x3F));
        }
    }
    return true;
}

} // namespace

int MultiByteToWide(CodePage page, const char* src, int srcLen, wchar_t* dst, int dstLen)
{
    const int64_t length = SourceLength(src, srcLen);
    if (length < 0 || dstLen < 0 || (dstLen > 0 && dst == nullptr))
        return 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(src);
    Output<wchar_t> out(dst, dstLen);
    switch (page) {
    case CodePage::Ansi:
        DecodeWindows1252(bytes, length, out);
        return out.Result(true);
    case CodePage::Utf8:
        return out.Result(DecodeUtf8(bytes, length, out));
    }
    return 0;
}

int WideToMultiByte(CodePage page, const wchar_t* src, int srcLen, char* dst, int dstLen, bool* usedDefaultChar)
{
    bool usedDefault = false;
    int result = 0;
    const int64_t length = SourceLength(src, srcLen);
    if (length >= 0 && dstLen >= 0 && (dstLen == 0 || dst != nullptr)) {
        Output<char> out(dst, dstLen);
        switch (page) {
        case CodePage::Ansi:
            EncodeWindows1252(src, length, out, usedDefault);
            result = out.Result(true);
            break;
        case CodePage::Utf8:
            result = out.Result(EncodeUtf8(src, length, out));
            break;
        }
    }
    if (usedDefaultChar != nullptr)
        *usedDefaultChar = usedDefault;
    return result;
}

} // namespace Platform
