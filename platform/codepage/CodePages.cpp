#include "platform/codepage/CodePages.h"

#include "platform/codepage/TemporaryCodec.h"

#include <climits>

namespace Platform {
namespace {

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The number of continuation bytes a lead byte announces; -1 for a byte that
// cannot start a sequence.
int AnnouncedContinuations(unsigned char lead)
{
    if (lead < 0x80)
        return 0;
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

std::wstring Decode(CodePage page, const char* bytes, size_t length)
{
    std::wstring wide;
    if (length == 0 || length > static_cast<size_t>(INT_MAX))
        return wide;
    wide.resize(length); // never more units than bytes in either code page
    int written = MultiByteToWide(page, bytes, static_cast<int>(length), wide.data(), static_cast<int>(length));
    wide.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return written > 0 ? wide : std::wstring();
}

// Strict UTF-8 with Windows' answer for damage: every malformed sequence
// (a stray byte, or a lead byte with the continuation bytes that follow it)
// becomes one U+FFFD. Well-formed runs go to the codec in one piece.
std::wstring DecodeUtf8Replacing(std::string_view bytes)
{
    std::wstring whole = Decode(CodePage::Utf8, bytes.data(), bytes.size());
    if (!whole.empty() || bytes.empty())
        return whole;
    std::wstring wide;
    size_t i = 0;
    while (i < bytes.size()) {
        unsigned char lead = static_cast<unsigned char>(bytes[i]);
        int announced = AnnouncedContinuations(lead);
        size_t end = i + 1;
        while (announced > 0 && end < bytes.size() && end - i <= static_cast<size_t>(announced) &&
               IsContinuation(static_cast<unsigned char>(bytes[end])))
            ++end;
        std::wstring piece;
        if (announced >= 0 && end - i == static_cast<size_t>(announced) + 1)
            piece = Decode(CodePage::Utf8, bytes.data() + i, end - i);
        wide += piece.empty() ? std::wstring(1, static_cast<wchar_t>(0xFFFD)) : piece;
        i = end;
    }
    return wide;
}

// UTF-16 with every unpaired surrogate replaced by U+FFFD, and units above
// 0xFFFF (which wchar_t could hold) treated the same way.
std::wstring PairedSurrogatesOnly(std::wstring_view text)
{
    std::wstring clean(text);
    for (size_t i = 0; i < clean.size(); ++i) {
        uint32_t unit = static_cast<uint32_t>(clean[i]);
        if (unit > 0xFFFF) {
            clean[i] = 0xFFFD;
        } else if (IsHighSurrogate(unit) && i + 1 < clean.size() &&
                   IsLowSurrogate(static_cast<uint32_t>(clean[i + 1]))) {
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            clean[i] = 0xFFFD;
        }
    }
    return clean;
}

std::string Encode(CodePage page, std::wstring_view text)
{
    std::string bytes;
    if (text.empty() || text.size() > static_cast<size_t>(INT_MAX / 4))
        return bytes;
    bytes.resize(text.size() * 3); // a UTF-16 unit never takes more than 3 bytes
    int written = WideToMultiByte(page, text.data(), static_cast<int>(text.size()), bytes.data(),
                                  static_cast<int>(bytes.size()));
    bytes.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return bytes;
}

} // namespace

std::wstring MultiByteToWideChar(uint32_t codePage, std::string_view bytes)
{
    if (codePage == CP_UTF8)
        return DecodeUtf8Replacing(bytes);
    return Decode(CodePage::Ansi, bytes.data(), bytes.size());
}

std::string WideCharToMultiByte(uint32_t codePage, std::wstring_view text)
{
    std::wstring clean = PairedSurrogatesOnly(text);
    return Encode(codePage == CP_UTF8 ? CodePage::Utf8 : CodePage::Ansi, clean);
}

} // namespace Platform
