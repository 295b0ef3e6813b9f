#include "game/shell/ProfileValue.h"

#include "game/shell/StringTokenizer.h"

namespace Tandry {

ProfileValue::ProfileValue(NarrowIniDocument* profile, NarrowIniDocument* fallback, std::string section,
                           std::string key)
    : mProfile(profile), mFallback(fallback), mSection(std::move(section)), mKey(std::move(key))
{
}

std::string ProfileValue::GetString() const
{
    for (NarrowIniDocument* doc : {mProfile, mFallback}) {
        if (doc == nullptr)
            continue;
        const NarrowIniDocument::Cursor found = doc->FindKey(mSection, mKey);
        if (!(found == NarrowIniDocument::NotFound()))
            return found.GetValue();
    }
    return {};
}

int ProfileValue::GetInt() const
{
    int value = 0;
    ParseClassicInt(GetString(), value);
    return value;
}

float ProfileValue::GetFloat() const
{
    float value = 0.0f;
    ParseClassicFloat(GetString(), value);
    return value;
}

void ProfileValue::SetString(const std::string& value) const
{
    if (mProfile == nullptr)
        return;
    const NarrowIniDocument::Cursor section = mProfile->FindOrAddSection(mSection);
    mProfile->FindOrAddKey(section, mKey).SetValue(value);
}

void ProfileValue::SetInt(int value) const
{
    SetString(std::to_string(value));
}

} // namespace Tandry
