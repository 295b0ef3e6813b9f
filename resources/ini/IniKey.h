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
    explicit IniKey(std::string name) : name_(std::move(name)) {}

    const std::string& GetName() const { return name_; }
    const std::vector<std::string>& GetValues() const { return values_; }
    // Splits the value text at every ',' and trims each item of spaces.
    void SetValues(const std::string& valueText);

    int GetCursor() const { return cursor_; }
    void SetCursor(int cursor) { cursor_ = cursor; }

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

    std::string name_;
    std::vector<std::string> values_;
    int cursor_ = 0;
};

} // namespace Tandry
