// Test support: an IniDocument as a list of readable lines, one per section,
// key and comment in document order, so that two documents compare with one
// EXPECT_EQ and a failure shows where they part. Comment flags are layout,
// not content, and are left out.
#pragma once

#include "resources/ini/IniDocument.h"

#include <string>
#include <vector>

namespace IniTest {

template <typename Char>
std::vector<std::basic_string<Char>> Dump(Tandry::IniDocument<Char>& doc)
{
    using String = std::basic_string<Char>;
    std::vector<String> lines;
    auto cursor = doc.Begin(Tandry::IniKind::Section | Tandry::IniKind::Key | Tandry::IniKind::Comment);
    for (int kind = cursor.GetKind(); kind != Tandry::IniKind::None; kind = cursor.Next()) {
        String line;
        if (kind == Tandry::IniKind::Section) {
            line = String(1, Char('[')) + cursor.GetKeyName() + String(1, Char(']'));
        } else if (kind == Tandry::IniKind::Key) {
            line = String(1, Char('k')) + cursor.GetKeyName() + String(1, Char('=')) + cursor.GetValue();
        } else {
            line = String(1, Char('c')) + cursor.GetKeyName();
        }
        lines.push_back(line);
    }
    return lines;
}

// Loads a document from the bytes of a file.
template <typename Char>
void LoadText(Tandry::IniDocument<Char>& doc, const std::string& bytes)
{
    Tandry::IniDocument<Char>::LoadBytes(bytes.data(), bytes.size(), doc);
}

// The bytes of a UTF-16 file: a byte-order mark, then each character of the
// text as one little-endian unit.
inline std::string Utf16Bytes(const std::wstring& text, bool withBom = true)
{
    std::string bytes;
    if (withBom)
        bytes = "\xFF\xFE";
    for (const wchar_t c : text) {
        bytes += char(uint32_t(c) & 0xFF);
        bytes += char((uint32_t(c) >> 8) & 0xFF);
    }
    return bytes;
}

} // namespace IniTest
