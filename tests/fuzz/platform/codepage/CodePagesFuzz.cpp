// Clipboard text and file names from elsewhere can be any bytes. UTF-8 and
// Windows-1252 text must convert without failing, the second round trip must
// be exact, and no output may hold an unpaired surrogate. Text converted
// without a substitution must come back exactly.
#include "platform/codepage/CodePages.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool HasUnpairedSurrogate(const std::wstring& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t unit = static_cast<uint32_t>(text[i]);
        if (unit > 0xFFFF)
            return true;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 >= text.size())
                return true;
            uint32_t next = static_cast<uint32_t>(text[i + 1]);
            if (next < 0xDC00 || next > 0xDFFF)
                return true;
            ++i;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace Platform;
    std::string bytes(reinterpret_cast<const char*>(data), size);

    bool substituted = false;
    std::wstring fromUtf8 = MultiByteToWideChar(CP_UTF8, bytes, &substituted);
    const bool utf8Exact = !substituted;
    Check(!HasUnpairedSurrogate(fromUtf8));
    Check(fromUtf8.empty() == bytes.empty());
    std::string utf8 = WideCharToMultiByte(CP_UTF8, fromUtf8, &substituted);
    Check(!substituted);
    Check(!utf8Exact || utf8 == bytes);
    Check(MultiByteToWideChar(CP_UTF8, utf8, &substituted) == fromUtf8 && !substituted);
    Check(WideCharToMultiByte(CP_UTF8, MultiByteToWideChar(CP_UTF8, utf8)) == utf8);

    std::wstring fromAnsi = MultiByteToWideChar(CP_ACP, bytes, &substituted);
    Check(!substituted);
    Check(fromAnsi.size() == bytes.size());
    Check(!HasUnpairedSurrogate(fromAnsi));
    Check(WideCharToMultiByte(CP_ACP, fromAnsi, &substituted) == bytes && !substituted);

    // The same bytes read as UTF-16 units: lone surrogates must come out replaced,
    // and well-formed units must come back.
    std::wstring units;
    for (size_t i = 0; i + 1 < size; i += 2)
        units.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
    std::string encoded = WideCharToMultiByte(CP_UTF8, units, &substituted);
    Check(substituted == HasUnpairedSurrogate(units));
    std::wstring decoded = MultiByteToWideChar(CP_UTF8, encoded, &substituted);
    Check(!substituted && !HasUnpairedSurrogate(decoded));
    Check(HasUnpairedSurrogate(units) || decoded == units);
    Check(WideCharToMultiByte(CP_ACP, units).size() <= units.size());
    return 0;
}
