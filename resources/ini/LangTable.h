// The language table: every text the game shows, by section and key, read
// from the UTF-16 file "res\\lang.ini" on first use. A key the table lacks is
// added to it with the text "???" and the file is rewritten at once, so the
// translators find every missing text in the file after a run.
#pragma once

#include "resources/ini/IniDocument.h"

#include <string>

namespace Tandry {

// The table, loaded on the first call.
WideIniDocument& GetLangTable();
// Empties the table and loads "res\\lang.ini" again.
void ReloadLangTable(WideIniDocument& table);
// The text of the key in the section. A missing key is added with "???",
// the table is saved to "res\\lang.ini", and "???" is the answer; an empty
// key gives an empty text. The key is read as Windows-1252, at most 1024
// characters of it.
std::wstring GetLangString(const std::string& key, WideIniDocument& table, const std::wstring& section);

// Tests only: empties the table so that the next GetLangTable loads it again.
void ResetLangTableForTests();

} // namespace Tandry
