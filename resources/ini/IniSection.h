// One section of an IniFile: its keys in order of first appearance and the
// key selected last, which the getters read on from when they are given an
// empty key name.
#pragma once

#include "resources/ini/IniKey.h"

#include <deque>
#include <string>

namespace Tandry {

class IniSection {
public:
    explicit IniSection(std::string name) : mName(std::move(name)) {}
    IniSection(const IniSection&) = delete;
    IniSection& operator=(const IniSection&) = delete;

    const std::string& GetName() const { return mName; }
    const std::deque<IniKey>& GetKeys() const { return mKeys; }
    IniKey* GetCurrentKey() const { return mCurrentKey; }

    // Selects the key of exactly that name (or none) and starts it again at
    // its first item.
    void SelectKey(const std::string& name);
    // Trims and lower-cases the key text, selects or appends that key and
    // replaces its items; an existing key keeps its cursor.
    void SetKey(const std::string& keyText, const std::string& valueText);
    // SelectKey when the name is not empty; then the selected key, if any.
    IniKey* UseKey(const std::string& name);

    std::string GetString(const std::string& key, const std::string& defaultValue);
    float GetFloat(const std::string& key, float defaultValue);
    // An index other than -1 first moves the key's cursor there.
    int GetInt(const std::string& key, int index, int defaultValue);
    int GetHex(int defaultValue, const std::string& key);

private:
    IniKey* FindKey(const std::string& name);

    std::string mName;
    std::deque<IniKey> mKeys;  // a deque keeps mCurrentKey valid as keys are added
    IniKey* mCurrentKey = nullptr;
};

} // namespace Tandry
