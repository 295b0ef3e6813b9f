// The global settings of "res\\game.ini", loaded once by the game's start-up
// and read everywhere through the three GetGameSetting helpers. Names are
// case-insensitive; every read that names its key starts it at its first item.
#pragma once

#include "resources/ini/IniFile.h"

#include <string>

namespace Tandry {

extern IniFile gGameIni;

// IniSection::GetInt on the section: an index other than -1 reads that item.
int GetGameSettingInt(const std::string& key, const std::string& section, int index, int defaultValue);
// The key's next item read as hexadecimal (colours such as "HintColor").
int GetGameSettingHex(const std::string& section, const std::string& key, int defaultValue);
// Four items as x, y, width, height.
IniRect GetGameSettingRect(const std::string& key, const std::string& section, const IniRect& defaultValue);

// Tests only: empties gGameIni so that no test depends on another.
void ResetGameIni();

} // namespace Tandry
