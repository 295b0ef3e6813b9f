// Feeds arbitrary bytes to the text parsers that read outside data (comma and
// integer lists, paths, UTF-8) and checks the code-page codecs round-trip
// whatever they accept.
#include "platform/text/CodePage.h"
#include "util/PathUtils.h"
#include "util/StringUtils.h"

#include <algorithm>
#include <climits>
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

std::wstring DecodeAll(Platform::CodePage page, const std::string& bytes, bool& ok)
{
    ok = false;
    if (bytes.empty() || bytes.size() > INT_MAX)
        return std::wstring();
    const int size = static_cast<int>(bytes.size());
    const int units = Platform::MultiByteToWide(page, bytes.data(), size, nullptr, 0);
    if (units == 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(units), L'\0');
    Check(Platform::MultiByteToWide(page, bytes.data(), size, wide.data(), units) == units);
    ok = true;
    return wide;
}

std::string EncodeAll(Platform::CodePage page, const std::wstring& wide, bool& ok, bool& usedDefault)
{
    ok = false;
    usedDefault = false;
    if (wide.empty())
        return std::string();
    const int size = static_cast<int>(wide.size());
    const int count = Platform::WideToMultiByte(page, wide.data(), size, nullptr, 0, &usedDefault);
    if (count == 0)
        return std::string();
    std::string bytes(static_cast<size_t>(count), '\0');
    Check(Platform::WideToMultiByte(page, wide.data(), size, bytes.data(), count, &usedDefault) == count);
    ok = true;
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
    using Platform::CodePage;
    bool ok, usedDefault;

    // Every byte string is Windows-1252 and comes back unchanged.
    const std::wstring fromAnsi = DecodeAll(CodePage::Ansi, bytes, ok);
    Check(ok == !bytes.empty());
    Check(EncodeAll(CodePage::Ansi, fromAnsi, ok, usedDefault) == bytes && !usedDefault);

    // Accepted UTF-8 comes back unchanged.
    const std::wstring fromUtf8 = DecodeAll(CodePage::Utf8, bytes, ok);
    if (ok) {
        Check(EncodeAll(CodePage::Utf8, fromUtf8, ok, usedDefault) == bytes);
        Check(ok);
    }

    // The bytes read as UTF-16 units: what UTF-8 accepts decodes back to them.
    std::wstring units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        units += static_cast<wchar_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8);
    const std::string utf8 = EncodeAll(CodePage::Utf8, units, ok, usedDefault);
    if (ok) {
        Check(DecodeAll(CodePage::Utf8, utf8, ok) == units);
        Check(ok);
    }
    EncodeAll(CodePage::Ansi, units, ok, usedDefault);
    Check(ok == !units.empty());
}

void CheckUtf8ToAnsi(const std::string& bytes)
{
    std::string ansi = "untouched";
    if (!Tandry::Utf8ToAnsi(bytes, ansi)) {
        Check(ansi == "untouched");
        return;
    }
    Check(ansi.size() <= 259);
    // Back through the code page and UTF-8, the text up to its first NUL returns.
    const std::string head = bytes.substr(0, bytes.find('\0'));
    bool ok, usedDefault;
    const std::wstring wide = DecodeAll(Platform::CodePage::Ansi, ansi, ok);
    Check(EncodeAll(Platform::CodePage::Utf8, wide, ok, usedDefault) == head);
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
