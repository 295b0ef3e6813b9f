#include "platform/codepage/TemporaryCodec.h"

#include <string>

namespace Platform {

extern const uint16_t kHigh[32];
const uint16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                            0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                            0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

namespace {

int Emit(const std::u16string& units, wchar_t* dst, int dstLen)
{
    if (dstLen == 0)
        return static_cast<int>(units.size());
    if (static_cast<int>(units.size()) > dstLen)
        return 0;
    for (size_t i = 0; i < units.size(); ++i)
        dst[i] = static_cast<wchar_t>(units[i]);
    return static_cast<int>(units.size());
}

} // namespace

int MultiByteToWide(CodePage page, const char* src, int srcLen, wchar_t* dst, int dstLen)
{
    if (srcLen == -1)
        srcLen = static_cast<int>(std::char_traits<char>::length(src)) + 1;
    if (srcLen <= 0)
        return 0;
    std::u16string out;
    const auto* s = reinterpret_cast<const unsigned char*>(src);
    if (page == CodePage::Ansi) {
        for (int i = 0; i < srcLen; ++i)
            out += static_cast<char16_t>(s[i] >= 0x80 && s[i] < 0xA0 ? kHigh[s[i] - 0x80] : s[i]);
        return Emit(out, dst, dstLen);
    }
    for (int i = 0; i < srcLen;) {
        unsigned c = s[i];
        int need = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        if (need < 0 || i + need >= srcLen)
            return 0;
        uint32_t cp = need == 0 ? c : need == 1 ? (c & 0x1F) : need == 2 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k <= need; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return 0;
            cp = cp << 6 | (s[i + k] & 0x3F);
        }
        static const uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMin[need] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return 0;
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += need + 1;
    }
    return Emit(out, dst, dstLen);
}

int WideToMultiByte(CodePage page, const wchar_t* src, int srcLen, char* dst, int dstLen, bool* usedDefaultChar)
{
    if (srcLen == -1)
        srcLen = static_cast<int>(std::char_traits<wchar_t>::length(src)) + 1;
    if (srcLen <= 0)
        return 0;
    std::string out;
    for (int i = 0; i < srcLen; ++i) {
        uint32_t u = static_cast<uint32_t>(src[i]);
        if (u > 0xFFFF)
            return 0;
        bool high = u >= 0xD800 && u <= 0xDBFF;
        bool low = u >= 0xDC00 && u <= 0xDFFF;
        uint32_t cp = u;
        if (high && i + 1 < srcLen && static_cast<uint32_t>(src[i + 1]) >= 0xDC00 &&
            static_cast<uint32_t>(src[i + 1]) <= 0xDFFF) {
            cp = 0x10000 + ((u - 0xD800) << 10) + (static_cast<uint32_t>(src[i + 1]) - 0xDC00);
            ++i;
        } else if (high || low) {
            if (page == CodePage::Utf8)
                return 0;
            out += '?';
            if (usedDefaultChar)
                *usedDefaultChar = true;
            continue;
        }
        if (page == CodePage::Ansi) {
            int byte = -1;
            if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
                byte = static_cast<int>(cp);
            for (int k = 0; k < 32 && byte < 0; ++k)
                if (kHigh[k] == cp)
                    byte = 0x80 + k;
            if (byte < 0) {
                byte = '?';
                if (usedDefaultChar)
                    *usedDefaultChar = true;
            }
            out += static_cast<char>(byte);
        } else if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    if (dstLen == 0)
        return static_cast<int>(out.size());
    if (static_cast<int>(out.size()) > dstLen)
        return 0;
    out.copy(dst, out.size());
    return static_cast<int>(out.size());
}

} // namespace Platform

namespace Platform {

uint16_t Windows1252HighToUnit(uint8_t byte)
{
    return byte < 0xA0 ? kHigh[byte - 0x80] : byte;
}

int Windows1252UnitToHigh(uint32_t unit)
{
    if (unit >= 0xA0 && unit <= 0xFF)
        return static_cast<int>(unit);
    for (int k = 0; k < 32; ++k)
        if (kHigh[k] == unit)
            return 0x80 + k;
    return -1;
}

} // namespace Platform
