// A handle on one setting of the current profile, handed out by the profile
// store: reads fall back to the game's defaults document, writes go to the
// profile's document only. Copied freely; owns neither document, so it is
// used at once and not kept past the next profile store operation.
#pragma once

#include "resources/ini/IniDocument.h"

#include <string>

namespace Tandry {

class ProfileValue {
public:
    // profile may be null (no usable profile): reads then see the fallback
    // only and writes are dropped.
    ProfileValue(NarrowIniDocument* profile, NarrowIniDocument* fallback, std::string section, std::string key);

    // The profile's value when it has the key, else the fallback's, else empty.
    std::string GetString() const;
    // The text read as a number in the classic form; 0 when it holds none.
    int GetInt() const;
    float GetFloat() const;

    // Adds the section and key at the end when missing; nothing without a profile.
    void SetString(const std::string& value) const;
    void SetInt(int value) const;

private:
    NarrowIniDocument* mProfile;
    NarrowIniDocument* mFallback;
    std::string mSection;
    std::string mKey;
};

} // namespace Tandry
