#include "platform/codepage/CodePages.h"

#include "platform/codepage/Windows1252.h"

#include <array>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace Platform {
namespace {

constexpr uint32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The number of continuation bytes a lead byte announces; -1 for a byte that
// cannot start a sequence.
int AnnouncedContinuations(unsigned char lead)
{
    if ((lead & 0xE0) == 0xC0)
        return 1;
    if ((lead & 0xF0) == 0xE0)
        return 2;
    if ((lead & 0xF8) == 0xF0)
        return 3;
    return -1;
}

bool IsHighSurrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The code point of a lead byte followed by all the continuation bytes it
// announces, or false when strict UTF-8 refuses it. The lead byte fixes the range of the
// first continuation byte, which is what rules out overlong forms, surrogates
// and code points past U+10FFFF.
bool StrictCodePoint(const unsigned char* sequence, int continuations, uint32_t& code)
{
    const unsigned char lead = sequence[0];
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        code = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        code = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return false;
    }
    if (sequence[1] < low || sequence[1] > high)
        return false;
    for (int k = 1; k <= continuations; ++k)
        code = (code << 6) | (sequence[k] & 0x3F);
    return true;
}

// Widens bytes whose units have the same value (ASCII; Latin-1 outside 0x80..0x9F).
void Widen(const unsigned char* from, size_t count, wchar_t* to)
{
    for (size_t i = 0; i < count; ++i)
        to[i] = static_cast<wchar_t>(from[i]);
}

size_t AsciiRunLength(const unsigned char* from, size_t count)
{
    // Eight bytes at a time while none has its top bit set.
    constexpr uint64_t kTopBits = 0x8080808080808080ull;
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        uint64_t word;
        std::memcpy(&word, from + i, 8);
        if ((word & kTopBits) != 0)
            break;
    }
    while (i < count && from[i] < 0x80)
        ++i;
    return i;
}

std::wstring DecodeUtf8(std::string_view text, bool& substituted)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    std::wstring wide(size, L'\0'); // never more units than bytes
    size_t written = 0;
    size_t i = 0;
    while (i < size) {
        // ASCII is most text: widened a run at a time.
        const size_t ascii = AsciiRunLength(bytes + i, size - i);
        Widen(bytes + i, ascii, wide.data() + written);
        written += ascii;
        i += ascii;
        if (i == size)
            break;
        // One sequence: the lead byte and as many of the continuation bytes it
        // announces as follow it. A malformed one becomes one U+FFFD.
        const int announced = AnnouncedContinuations(bytes[i]);
        size_t end = i + 1;
        while (announced > 0 && end < size && end - i <= static_cast<size_t>(announced) &&
               IsContinuation(bytes[end]))
            ++end;
        uint32_t code = 0;
        const bool complete = announced > 0 && end - i == static_cast<size_t>(announced) + 1;
        if (!complete || !StrictCodePoint(bytes + i, announced, code)) {
            code = kReplacement;
            substituted = true;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            wide[written++] = static_cast<wchar_t>(0xD800 + (code >> 10));
            wide[written++] = static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
        } else {
            wide[written++] = static_cast<wchar_t>(code);
        }
        i = end;
    }
    wide.resize(written);
    return wide;
}

// Windows-1252 agrees with Latin-1 except in 0x80..0x9F, whose units are
// taken once from the code page's table.
const std::array<wchar_t, 32>& Windows1252Controls()
{
    static const auto table = [] {
        std::array<wchar_t, 32> units{};
        for (int i = 0; i < 32; ++i)
            units[i] = static_cast<wchar_t>(Windows1252HighToUnit(static_cast<uint8_t>(0x80 + i)));
        return units;
    }();
    return table;
}

#if defined(__x86_64__)
// Sixteen bytes at a time with a byte shuffle: the 32 units of 0x80..0x9F
// are looked up as low and high bytes in two halves of 16, and every other
// byte is widened as it is. Returns how many bytes it did (a multiple of 16).
__attribute__((target("ssse3"))) size_t DecodeWindows1252Blocks(const unsigned char* bytes, size_t count,
                                                                 wchar_t* out)
{
    static_assert(sizeof(wchar_t) == 4, "the stores below write 32-bit units");
    const std::array<wchar_t, 32>& controls = Windows1252Controls();
    alignas(16) uint8_t lowA[16], lowB[16], highA[16], highB[16];
    for (int k = 0; k < 16; ++k) {
        lowA[k] = static_cast<uint8_t>(controls[k] & 0xFF);
        highA[k] = static_cast<uint8_t>(controls[k] >> 8);
        lowB[k] = static_cast<uint8_t>(controls[16 + k] & 0xFF);
        highB[k] = static_cast<uint8_t>(controls[16 + k] >> 8);
    }
    const __m128i tableLowA = _mm_load_si128(reinterpret_cast<const __m128i*>(lowA));
    const __m128i tableLowB = _mm_load_si128(reinterpret_cast<const __m128i*>(lowB));
    const __m128i tableHighA = _mm_load_si128(reinterpret_cast<const __m128i*>(highA));
    const __m128i tableHighB = _mm_load_si128(reinterpret_cast<const __m128i*>(highB));
    const __m128i zero = _mm_setzero_si128();
    const __m128i topThree = _mm_set1_epi8(static_cast<char>(0xE0));
    const __m128i rangeStart = _mm_set1_epi8(static_cast<char>(0x80));
    const __m128i lowNibble = _mm_set1_epi8(0x0F);
    const __m128i secondHalf = _mm_set1_epi8(0x10);
    auto select = [](__m128i mask, __m128i yes, __m128i no) {
        return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
    };
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        __m128i low = v;
        __m128i high = zero;
        __m128i special = _mm_cmpeq_epi8(_mm_and_si128(v, topThree), rangeStart);
        if (_mm_movemask_epi8(special) != 0) { // rare in most text
            __m128i index = _mm_and_si128(v, lowNibble);
            __m128i useB = _mm_cmpeq_epi8(_mm_and_si128(v, secondHalf), secondHalf);
            __m128i mappedLow =
                select(useB, _mm_shuffle_epi8(tableLowB, index), _mm_shuffle_epi8(tableLowA, index));
            __m128i mappedHigh =
                select(useB, _mm_shuffle_epi8(tableHighB, index), _mm_shuffle_epi8(tableHighA, index));
            low = select(special, mappedLow, v);
            high = _mm_and_si128(special, mappedHigh);
        }
        __m128i first = _mm_unpacklo_epi8(low, high);
        __m128i second = _mm_unpackhi_epi8(low, high);
        auto* to = reinterpret_cast<__m128i*>(out + i);
        _mm_storeu_si128(to, _mm_unpacklo_epi16(first, zero));
        _mm_storeu_si128(to + 1, _mm_unpackhi_epi16(first, zero));
        _mm_storeu_si128(to + 2, _mm_unpacklo_epi16(second, zero));
        _mm_storeu_si128(to + 3, _mm_unpackhi_epi16(second, zero));
    }
    return i;
}
#endif

std::wstring DecodeWindows1252(std::string_view text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::array<wchar_t, 32>& controls = Windows1252Controls();
    std::wstring wide(text.size(), L'\0');
    wchar_t* out = wide.data();
    size_t done = 0;
#if defined(__x86_64__)
    static const bool shuffle = __builtin_cpu_supports("ssse3");
    if (shuffle)
        done = DecodeWindows1252Blocks(bytes, text.size(), out);
#endif
    for (size_t i = done; i < text.size(); ++i) {
        unsigned byte = bytes[i];
        out[i] = (byte & 0xE0) == 0x80 ? controls[byte & 31] : static_cast<wchar_t>(byte);
    }
    return wide;
}

// The character starting at text[i] (a surrogate pair counts as one), with
// unpaired surrogates and values beyond UTF-16 as U+FFFD, which sets
// substituted; advances i past it.
uint32_t NextCharacter(std::wstring_view text, size_t& i, bool& substituted)
{
    const uint32_t unit = static_cast<uint32_t>(text[i++]);
    if (unit < 0xD800 || (unit > 0xDFFF && unit <= 0xFFFF))
        return unit;
    if (IsHighSurrogate(unit) && i < text.size() && IsLowSurrogate(static_cast<uint32_t>(text[i])))
        return 0x10000 + ((unit - 0xD800) << 10) + (static_cast<uint32_t>(text[i++]) - 0xDC00);
    substituted = true;
    return kReplacement;
}

std::string EncodeWindows1252(std::wstring_view text, bool& substituted)
{
    std::string bytes(text.size(), '\0'); // never more bytes than units
    size_t written = 0;
    bool any = false;
    for (size_t i = 0; i < text.size();) {
        const uint32_t character = NextCharacter(text, i, any);
        int byte = character < 0x80 ? static_cast<int>(character) : Windows1252UnitToHigh(character);
        if (byte < 0) {
            byte = '?';
            any = true;
        }
        bytes[written++] = static_cast<char>(byte);
    }
    bytes.resize(written);
    substituted = any;
    return bytes;
}

std::string EncodeUtf8(std::wstring_view text, bool& substituted)
{
    std::string bytes;
    bytes.reserve(text.size());
    auto put = [&bytes](uint32_t byte) { bytes.push_back(static_cast<char>(byte)); };
    bool any = false;
    for (size_t i = 0; i < text.size();) {
        const uint32_t code = NextCharacter(text, i, any);
        if (code < 0x80) {
            put(code);
        } else if (code < 0x800) {
            put(0xC0 | (code >> 6));
            put(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            put(0xE0 | (code >> 12));
            put(0x80 | ((code >> 6) & 0x3F));
            put(0x80 | (code & 0x3F));
        } else {
            put(0xF0 | (code >> 18));
            put(0x80 | ((code >> 12) & 0x3F));
            put(0x80 | ((code >> 6) & 0x3F));
            put(0x80 | (code & 0x3F));
        }
    }
    substituted = any;
    return bytes;
}

} // namespace

std::wstring MultiByteToWideChar(uint32_t codePage, std::string_view bytes, bool* substituted)
{
    bool any = false;
    std::wstring wide = codePage == CP_UTF8 ? DecodeUtf8(bytes, any) : DecodeWindows1252(bytes);
    if (substituted != nullptr)
        *substituted = any;
    return wide;
}

std::string WideCharToMultiByte(uint32_t codePage, std::wstring_view text, bool* substituted)
{
    bool any = false;
    std::string bytes = codePage == CP_UTF8 ? EncodeUtf8(text, any) : EncodeWindows1252(text, any);
    if (substituted != nullptr)
        *substituted = any;
    return bytes;
}

} // namespace Platform
