#include "resources/ini/IniSection.h"

#include "util/StringUtils.h"

namespace Tandry {

IniKey* IniSection::FindKey(const std::string& name)
{
    for (IniKey& key : mKeys) {
        if (key.GetName() == name)
            return &key;
    }
    return nullptr;
}

void IniSection::SelectKey(const std::string& name)
{
    mCurrentKey = FindKey(name);
    if (mCurrentKey)
        mCurrentKey->SetCursor(0);
}

void IniSection::SetKey(const std::string& keyText, const std::string& valueText)
{
    const std::string name = LowerCaseCopy(TrimSpaces(keyText));
    IniKey* key = FindKey(name);
    if (!key)
        key = &mKeys.emplace_back(name);
    key->SetValues(valueText);
    mCurrentKey = key;
}

IniKey* IniSection::UseKey(const std::string& name)
{
    if (!name.empty())
        SelectKey(name);
    return mCurrentKey;
}

std::string IniSection::GetString(const std::string& key, const std::string& defaultValue)
{
    IniKey* selected = UseKey(key);
    return selected ? selected->NextString(defaultValue) : defaultValue;
}

float IniSection::GetFloat(const std::string& key, float defaultValue)
{
    IniKey* selected = UseKey(key);
    return selected ? selected->NextFloat(defaultValue) : defaultValue;
}

int IniSection::GetInt(const std::string& key, int index, int defaultValue)
{
    IniKey* selected = UseKey(key);
    if (!selected)
        return defaultValue;
    if (index != -1)
        selected->SetCursor(index);
    return selected->NextInt(defaultValue);
}

int IniSection::GetHex(int defaultValue, const std::string& key)
{
    IniKey* selected = UseKey(key);
    return selected ? selected->NextHex(defaultValue) : defaultValue;
}

} // namespace Tandry
