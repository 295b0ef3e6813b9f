#include "resources/ini/GameIni.h"

#include "util/StringUtils.h"

namespace Tandry {

IniFile gGameIni;

int GetGameSettingInt(const std::string& key, const std::string& section, int index, int defaultValue)
{
    IniSection* selected = gGameIni.UseSection(section);
    return selected ? selected->GetInt(LowerCaseCopy(key), index, defaultValue) : defaultValue;
}

int GetGameSettingHex(const std::string& section, const std::string& key, int defaultValue)
{
    IniSection* selected = gGameIni.UseSection(section);
    return selected ? selected->GetHex(defaultValue, LowerCaseCopy(key)) : defaultValue;
}

IniRect GetGameSettingRect(const std::string& key, const std::string& section, const IniRect& defaultValue)
{
    IniSection* selected = gGameIni.UseSection(section);
    IniKey* selectedKey = selected ? selected->UseKey(LowerCaseCopy(key)) : nullptr;
    return selectedKey ? selectedKey->NextRect(defaultValue) : defaultValue;
}

void ResetGameIni()
{
    gGameIni.Clear();
}

} // namespace Tandry
