#include "platform/registry/RegistryFile.h"

#include "platform/codepage/HexDigit.h"

#include <charconv>
#include <cstring>
#include <set>

namespace Platform {
namespace {

constexpr std::string_view kEndLine = ";end";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char kHexDigits[] = "0123456789abcdef";
constexpr char kUpperHexDigits[] = "0123456789ABCDEF";

bool NeedsEscape(unsigned char c)
{
    return c < 0x21 || c > 0x7E || std::strchr("%=[];\"\\#", c) != nullptr;
}

std::string EscapeName(const std::string& name)
{
    std::string out;
    for (unsigned char c : name) {
        if (NeedsEscape(c)) {
            out += '%';
            out += kUpperHexDigits[c >> 4];
            out += kUpperHexDigits[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool UnescapeName(std::string_view text, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '%') {
            if (i + 2 >= text.size())
                return false;
            int high = HexDigit(text[i + 1]);
            int low = HexDigit(text[i + 2]);
            if (high < 0 || low < 0)
                return false;
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else if (NeedsEscape(c)) {
            return false; // the writer never leaves these bare
        } else {
            out += static_cast<char>(c);
        }
    }
    return true;
}

bool ParseSection(std::string_view body, std::string& path)
{
    path.clear();
    size_t start = 0;
    bool first = true;
    while (start <= body.size() && !body.empty()) {
        size_t end = body.find('\\', start);
        if (end == std::string_view::npos)
            end = body.size();
        std::string level;
        if (end == start || !UnescapeName(body.substr(start, end - start), level))
            return false;
        if (!first)
            path += '\\';
        path += level;
        first = false;
        start = end + 1;
    }
    return true;
}

bool ParseValue(std::string_view line, std::string& name, uint32_t& type, std::vector<uint8_t>& data)
{
    size_t equals = line.find('=');
    if (equals == std::string_view::npos || !UnescapeName(line.substr(0, equals), name))
        return false;
    std::string_view rest = line.substr(equals + 1);
    size_t colon = rest.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return false;
    auto [stop, error] = std::from_chars(rest.data(), rest.data() + colon, type);
    if (error != std::errc() || stop != rest.data() + colon)
        return false;
    std::string_view hex = rest.substr(colon + 1);
    if (hex.size() % 2 != 0)
        return false;
    data.clear();
    data.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        int high = HexDigit(hex[i]);
        int low = HexDigit(hex[i + 1]);
        if (high < 0 || low < 0)
            return false;
        data.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return true;
}

} // namespace

std::string FormatRegistryFile(const RegistryStore& store)
{
    std::string text = "; Settings of the program, one section per key, one line per value:\n"
                       "; name=type:bytes in hex. Names escape special bytes as %XX.\n";
    for (const auto& [folded, key] : store.Keys()) {
        text += '[';
        std::vector<std::string> levels = RegistryStore::SplitPath(key.path);
        for (size_t i = 0; i < levels.size(); ++i) {
            if (i > 0)
                text += '\\';
            text += EscapeName(levels[i]);
        }
        text += "]\n";
        for (const RegistryValue& value : key.values) {
            text += EscapeName(value.name);
            text += '=';
            text += std::to_string(value.type);
            text += ':';
            for (uint8_t byte : value.data) {
                text += kHexDigits[byte >> 4];
                text += kHexDigits[byte & 15];
            }
            text += '\n';
        }
    }
    text += kEndLine;
    text += '\n';
    return text;
}

bool ParseRegistryFile(std::string_view text, RegistryStore& store, std::string& error)
{
    bool closed = false;
    return ParseRegistryFile(text, store, error, closed);
}

bool ParseRegistryFile(std::string_view text, RegistryStore& store, std::string& error, bool& closed)
{
    store.Clear();
    closed = false;
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    RegistryStore parsed;
    bool haveSection = false;
    std::string section;
    size_t lineNumber = 0;
    size_t start = 0;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(lineNumber) + ": " + why;
        return false;
    };
    while (start < text.size()) {
        ++lineNumber;
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            return fail("the file is truncated: its last line has no line end");
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        if (line.empty())
            continue;
        if (closed)
            return fail("text after the closing \";end\" line");
        if (line == kEndLine) {
            closed = true;
            continue;
        }
        if (line.front() == ';')
            continue;
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 2 || !ParseSection(line.substr(1, line.size() - 2), section))
                return fail("a key line must be [level\\level...] with escaped names");
            parsed.CreateKey(section);
            haveSection = true;
            continue;
        }
        if (!haveSection)
            return fail("a value before the first key line");
        std::string name;
        uint32_t type = 0;
        std::vector<uint8_t> data;
        if (!ParseValue(line, name, type, data))
            return fail("a value line must be name=type:hexbytes");
        if (parsed.FindValue(section, name) != nullptr)
            return fail("the value \"" + name + "\" appears twice in its key");
        parsed.SetValue(section, name, type, std::move(data));
    }
    store = std::move(parsed);
    return true;
}

} // namespace Platform
