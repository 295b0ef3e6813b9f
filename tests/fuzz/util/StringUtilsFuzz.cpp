// Feeds arbitrary bytes to the text parsers that read outside data (comma and
// integer lists, paths, UTF-8) and checks the code-page codecs round-trip
// whatever they accept.
#include "platform/codepage/CodePages.h"
#include "util/PathUtils.h"
#include "util/StringUtils.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// ok tells whether the conversion was exact, with nothing substituted.
std::wstring DecodeAll(uint32_t page, const std::string& bytes, bool& ok)
{
    bool substituted = true;
    std::wstring wide = Platform::MultiByteToWideChar(page, bytes, &substituted);
    ok = !substituted;
    return wide;
}

std::string EncodeAll(uint32_t page, const std::wstring& wide, bool& ok)
{
    bool substituted = true;
    std::string bytes = Platform::WideCharToMultiByte(page, wide, &substituted);
    ok = !substituted;
    return bytes;
}

void CheckLists(const std::string& text)
{
    std::vector<std::string> items;
    Tandry::SplitCommaList(items, text);
    Check(items.size() == static_cast<size_t>(std::count(text.begin(), text.end(), ',')) + 1);
    for (const std::string& item : items)
        Check(item.empty() || (item.front() != ' ' && item.back() != ' '));
    std::vector<std::string> again;
    Tandry::SplitCommaList(again, Tandry::JoinCommaList(items));
    Check(again == items);

    std::vector<int> numbers;
    Tandry::ParseIntList(numbers, text);
    Check(numbers.size() <= items.size());
}

void CheckCodecs(const std::string& bytes)
{
    using Platform::CP_ACP;
    using Platform::CP_UTF8;
    bool ok;

    // Every byte string is Windows-1252 and comes back unchanged.
    const std::wstring fromAnsi = DecodeAll(CP_ACP, bytes, ok);
    Check(ok);
    Check(EncodeAll(CP_ACP, fromAnsi, ok) == bytes && ok);

    // Accepted UTF-8 comes back unchanged.
    const std::wstring fromUtf8 = DecodeAll(CP_UTF8, bytes, ok);
    if (ok) {
        Check(EncodeAll(CP_UTF8, fromUtf8, ok) == bytes);
        Check(ok);
    }

    // The bytes read as UTF-16 units: what UTF-8 accepts decodes back to them.
    std::wstring units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        units += static_cast<wchar_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8);
    const std::string utf8 = EncodeAll(CP_UTF8, units, ok);
    if (ok) {
        Check(DecodeAll(CP_UTF8, utf8, ok) == units);
        Check(ok);
    }
    // One byte per character, a surrogate pair being one.
    Check(EncodeAll(CP_ACP, units, ok).size() <= units.size());
}

void CheckUtf8ToAnsi(const std::string& bytes)
{
    std::string ansi = "untouched";
    if (!Tandry::Utf8ToAnsi(bytes, ansi)) {
        Check(ansi == "untouched");
        return;
    }
    Check(ansi.size() <= 259);
    // The text up to its first NUL, one byte per character: the code page's
    // own byte, or '?' for a character it lacks (a surrogate pair is one).
    const std::string head = bytes.substr(0, bytes.find('\0'));
    bool ok;
    const std::wstring wide = DecodeAll(Platform::CP_UTF8, head, ok);
    Check(ok);
    std::string expected;
    for (size_t i = 0; i < wide.size(); ++i) {
        const bool pair = wide[i] >= 0xD800 && wide[i] < 0xDC00 && i + 1 < wide.size();
        const std::string byte = EncodeAll(Platform::CP_ACP, wide.substr(i, pair ? 2 : 1), ok);
        Check(byte.size() == 1);
        expected += ok ? byte : "?";
        i += pair ? 1 : 0;
    }
    Check(ansi == expected);
    // When nothing stood in, back through the code page and UTF-8 the text returns.
    EncodeAll(Platform::CP_ACP, wide, ok);
    if (ok)
        Check(EncodeAll(Platform::CP_UTF8, DecodeAll(Platform::CP_ACP, ansi, ok), ok) == head);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckLists(bytes);
    CheckCodecs(bytes);
    CheckUtf8ToAnsi(bytes);

    // The first byte chooses where the base ends and the relative path begins.
    const size_t split = size > 0 ? std::min<size_t>(data[0], size - 1) : 0;
    const std::string base = size > 0 ? bytes.substr(1, split) : std::string();
    const std::string relative = size > 0 ? bytes.substr(1 + std::min(split, size - 1)) : std::string();
    const std::string joined = Tandry::JoinPath(base, relative);
    // Resolution only consumes the relative path; the base gains one separator at most.
    Check(joined.size() <= base.size() + relative.size() + 1);
    Tandry::StripTrailingSlash(joined);
    return 0;
}
