// The one writer of IniDocument: lays a document out as text in the layout
// the grammar reads back as the same document (same sections, keys, values
// and comments in the same order), and encodes that text as file bytes.
#pragma once

#include "resources/ini/IniDocument.h"

#include <string>

namespace Tandry {

template <typename Char>
std::basic_string<Char> WriteIniText(const IniDocument<Char>& doc);

// Narrow text is its own bytes. Wide text becomes the byte-order mark and
// little-endian 16-bit units; a character above 0xFFFF becomes a surrogate
// pair, and one outside Unicode the replacement character.
std::string EncodeIniText(const std::string& text);
std::string EncodeIniText(const std::wstring& text);

} // namespace Tandry
