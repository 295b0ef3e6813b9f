// One key of an IniFile: its lower-case name, its comma-separated items, and
// the read cursor that lets callers take the items one call after another.
// A cursor outside the items (used up, or set to a negative index) answers
// the caller's default and stays where it is.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace Tandry {

// x, y, width, height as four integer items of a key.
struct IniRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const IniRect&) const = default;
};

class IniKey {
public:
    explicit IniKey(std::string name) : mName(std::move(name)) {}

    const std::string& GetName() const { return mName; }
    const std::vector<std::string>& GetValues() const { return mValues; }
    // Splits the value text at every ',' and trims each item of spaces.
    void SetValues(const std::string& valueText);

    int GetCursor() const { return mCursor; }
    void SetCursor(int cursor) { mCursor = cursor; }

    // Each reads the item(s) at the cursor and moves past them, or answers
    // the default and leaves the cursor when too few items are left.
    std::string NextString(const std::string& defaultValue);
    int NextInt(int defaultValue);                 // as atoi reads it
    float NextFloat(float defaultValue);           // as atof reads it, then rounded to float
    int NextHex(int defaultValue);
    std::pair<int, int> NextIntPair(std::pair<int, int> defaultValue);
    IniRect NextRect(const IniRect& defaultValue);

private:
    bool HasItems(int count) const;
    const std::string& Take();

    std::string mName;
    std::vector<std::string> mValues;
    int mCursor = 0;
};

} // namespace Tandry
