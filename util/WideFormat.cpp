// Wide printf-style formatting with the conventions the game's texts are
// written for: %s and %c take wide arguments, %S and %C narrow ones (h forces
// narrow, l and w force wide). glibc's wide formatter reads them the other
// way round and converts narrow text through the C locale, so conversions are
// parsed here; strings and characters are copied by hand (narrow text widened
// byte by byte) and each numeric conversion is handed to snprintf alone.
#include "util/Format.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <type_traits>

namespace Tandry {
namespace {

// The last wide try of the doubling holds half its capacity of 1,310,720;
// longer texts are cut here.
constexpr size_t kLongestText = 655360;

enum class Size { Default, Char, Short, Long, LongLong, IntMax, SizeT, PtrDiff, LongDouble, Wide };

struct Conversion {
    std::string flags;
    bool leftAlign = false;
    int64_t width = -1;
    int64_t precision = -1;
    Size size = Size::Default;
    char kind = 0;
};

// The text being built, cut at the longest text allowed.
class BoundedText {
public:
    void Put(wchar_t c)
    {
        if (mText.size() < kLongestText)
            mText += c;
    }

    void Repeat(wchar_t c, size_t count) { mText.append(std::min(count, Room()), c); }

    size_t Room() const { return kLongestText - mText.size(); }

    template <typename Char>
    void PutAll(const Char* chars, size_t count)
    {
        count = std::min(count, Room());
        for (size_t i = 0; i < count; ++i)
            mText += static_cast<wchar_t>(static_cast<std::make_unsigned_t<Char>>(chars[i]));
    }

    std::wstring Take() { return std::move(mText); }

private:
    std::wstring mText;
};

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Reads digits or '*'; false for a number beyond an int, which glibc refuses too.
bool ReadCount(const wchar_t*& p, va_list& args, int64_t& count)
{
    if (*p == L'*') {
        ++p;
        count = va_arg(args, int);
        return true;
    }
    count = 0;
    for (; IsDigit(*p); ++p) {
        count = count * 10 + (*p - L'0');
        if (count > INT_MAX)
            return false;
    }
    return true;
}

Size ReadSize(const wchar_t*& p)
{
    switch (*p) {
    case L'h':
        ++p;
        return *p == L'h' ? (++p, Size::Char) : Size::Short;
    case L'l':
        ++p;
        return *p == L'l' ? (++p, Size::LongLong) : Size::Long;
    case L'L': ++p; return Size::LongDouble;
    case L'j': ++p; return Size::IntMax;
    case L'z': ++p; return Size::SizeT;
    case L't': ++p; return Size::PtrDiff;
    case L'w': ++p; return Size::Wide;
    default: return Size::Default;
    }
}

// Parses the conversion after a '%', taking '*' values from the arguments.
bool ParseConversion(const wchar_t*& p, va_list& args, Conversion& conv)
{
    for (; *p == L'-' || *p == L'+' || *p == L' ' || *p == L'#' || *p == L'0'; ++p) {
        conv.flags += static_cast<char>(*p);
        conv.leftAlign = conv.leftAlign || *p == L'-';
    }
    if (*p == L'*' || IsDigit(*p)) {
        if (!ReadCount(p, args, conv.width))
            return false;
        if (conv.width < 0) {
            // A negative '*' width is a '-' flag and its size.
            conv.leftAlign = true;
            conv.flags += '-';
            conv.width = -conv.width;
            if (conv.width > INT_MAX)
                return false;
        }
    }
    if (*p == L'.') {
        ++p;
        if (!ReadCount(p, args, conv.precision))
            return false;
        if (conv.precision < 0)
            conv.precision = -1;
    }
    conv.size = ReadSize(p);
    if (*p == L'\0' || *p > 0x7F)
        return false;
    conv.kind = static_cast<char>(*p++);
    return true;
}

template <typename Char>
void PutField(BoundedText& out, const Conversion& conv, const Char* chars, size_t count)
{
    const size_t pad = conv.width > static_cast<int64_t>(count) ? static_cast<size_t>(conv.width) - count : 0;
    if (!conv.leftAlign)
        out.Repeat(L' ', pad);
    out.PutAll(chars, count);
    if (conv.leftAlign)
        out.Repeat(L' ', pad);
}

template <typename Char>
void PutString(BoundedText& out, const Conversion& conv, const Char* text)
{
    static const Char kNull[] = {'(', 'n', 'u', 'l', 'l', ')', 0};
    if (text == nullptr)
        text = kNull;
    size_t count = 0;
    while ((conv.precision < 0 || count < static_cast<size_t>(conv.precision)) && text[count] != 0)
        ++count;
    PutField(out, conv, text, count);
}

// One numeric conversion through snprintf, which reads numbers the same way
// in every locale the program runs in (it never leaves the classic one).
template <typename T>
bool PutNumber(BoundedText& out, const Conversion& conv, const char* lengthModifier, T value)
{
    std::string format = "%" + conv.flags;
    if (conv.width >= 0)
        format += std::to_string(conv.width);
    if (conv.precision >= 0)
        format += "." + std::to_string(conv.precision);
    format += lengthModifier;
    format += conv.kind;

    char stack[64];
    const int length = std::snprintf(stack, sizeof stack, format.c_str(), value);
    if (length < 0)
        return false;
    if (static_cast<size_t>(length) < sizeof stack) {
        out.PutAll(stack, static_cast<size_t>(length));
        return true;
    }
    // Only what still fits is kept, so a huge width costs no more than the limit.
    std::string heap(std::min(static_cast<size_t>(length), out.Room()), '\0');
    std::snprintf(heap.data(), heap.size() + 1, format.c_str(), value);
    out.PutAll(heap.data(), heap.size());
    return true;
}

bool PutSigned(BoundedText& out, const Conversion& conv, va_list& args)
{
    switch (conv.size) {
    case Size::Default: return PutNumber(out, conv, "", va_arg(args, int));
    case Size::Char: return PutNumber(out, conv, "hh", va_arg(args, int));
    case Size::Short: return PutNumber(out, conv, "h", va_arg(args, int));
    case Size::Long: return PutNumber(out, conv, "l", va_arg(args, long));
    case Size::LongLong: return PutNumber(out, conv, "ll", va_arg(args, long long));
    case Size::IntMax: return PutNumber(out, conv, "j", va_arg(args, intmax_t));
    case Size::SizeT: return PutNumber(out, conv, "z", va_arg(args, ptrdiff_t));
    case Size::PtrDiff: return PutNumber(out, conv, "t", va_arg(args, ptrdiff_t));
    default: return false;
    }
}

bool PutUnsigned(BoundedText& out, const Conversion& conv, va_list& args)
{
    switch (conv.size) {
    case Size::Default: return PutNumber(out, conv, "", va_arg(args, unsigned));
    case Size::Char: return PutNumber(out, conv, "hh", va_arg(args, unsigned));
    case Size::Short: return PutNumber(out, conv, "h", va_arg(args, unsigned));
    case Size::Long: return PutNumber(out, conv, "l", va_arg(args, unsigned long));
    case Size::LongLong: return PutNumber(out, conv, "ll", va_arg(args, unsigned long long));
    case Size::IntMax: return PutNumber(out, conv, "j", va_arg(args, uintmax_t));
    case Size::SizeT: return PutNumber(out, conv, "z", va_arg(args, size_t));
    case Size::PtrDiff: return PutNumber(out, conv, "t", va_arg(args, size_t));
    default: return false;
    }
}

bool PutFloat(BoundedText& out, const Conversion& conv, va_list& args)
{
    if (conv.size == Size::LongDouble)
        return PutNumber(out, conv, "L", va_arg(args, long double));
    if (conv.size == Size::Default || conv.size == Size::Long)
        return PutNumber(out, conv, "", va_arg(args, double));
    return false;
}

bool PutConversion(BoundedText& out, const Conversion& conv, va_list& args)
{
    // The upper-case letter names the other width than the format's own.
    const bool upper = conv.kind == 'S' || conv.kind == 'C';
    const bool narrow = conv.size == Size::Short || (upper && conv.size == Size::Default);
    const bool textSize = conv.size == Size::Default || conv.size == Size::Short || conv.size == Size::Long
        || conv.size == Size::Wide;
    switch (conv.kind) {
    case 's':
    case 'S':
        if (!textSize)
            return false;
        if (narrow)
            PutString(out, conv, va_arg(args, const char*));
        else
            PutString(out, conv, va_arg(args, const wchar_t*));
        return true;
    case 'c':
    case 'C': {
        if (!textSize)
            return false;
        const wchar_t c = narrow ? static_cast<wchar_t>(static_cast<unsigned char>(va_arg(args, int)))
                                 : static_cast<wchar_t>(va_arg(args, wint_t));
        PutField(out, conv, &c, 1);
        return true;
    }
    case 'd':
    case 'i':
        return PutSigned(out, conv, args);
    case 'u':
    case 'o':
    case 'x':
    case 'X':
        return PutUnsigned(out, conv, args);
    case 'e':
    case 'E':
    case 'f':
    case 'F':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
        return PutFloat(out, conv, args);
    case '%':
        out.Put(L'%');
        return true;
    case 'p':
        return conv.size == Size::Default && PutNumber(out, conv, "", va_arg(args, void*));
    default:
        // Unknown conversions, and %n, which would write through an argument.
        return false;
    }
}

} // namespace

std::wstring FormatWString(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring text = WStrFormatV(format, args);
    va_end(args);
    return text;
}

std::wstring WStrFormatV(const wchar_t* format, va_list args)
{
    if (format == nullptr)
        return std::wstring();
    va_list rest;
    va_copy(rest, args);
    BoundedText out;
    bool ok = true;
    for (const wchar_t* p = format; *p != L'\0' && ok;) {
        if (*p != L'%') {
            out.Put(*p++);
            continue;
        }
        ++p;
        if (*p == L'%') {
            out.Put(*p++);
            continue;
        }
        Conversion conv;
        ok = ParseConversion(p, rest, conv) && PutConversion(out, conv, rest);
    }
    va_end(rest);
    return ok ? out.Take() : std::wstring();
}

} // namespace Tandry
