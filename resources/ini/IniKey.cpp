#include "resources/ini/IniKey.h"

#include "resources/ini/ReadHex.h"
#include "util/StringUtils.h"

#include <cstdlib>
#include <locale.h>

namespace Tandry {

namespace {

// atoi in the "C" locale: whitespace, a sign, digits; no digits give 0.
int ReadInt(const std::string& item)
{
    std::vector<int> read;
    ParseIntList(read, item);  // an item holds no comma, so at most one number
    return read.empty() ? 0 : read.front();
}

// atof in the "C" locale, whatever locale the process has set.
double ReadDouble(const std::string& item)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return strtod_l(item.c_str(), nullptr, cLocale);
}

} // namespace

void IniKey::SetValues(const std::string& valueText)
{
    SplitCommaList(mValues, valueText);
}

bool IniKey::HasItems(int count) const
{
    return mCursor >= 0 && size_t(mCursor) + size_t(count) <= mValues.size();
}

const std::string& IniKey::Take()
{
    return mValues[size_t(mCursor++)];
}

std::string IniKey::NextString(const std::string& defaultValue)
{
    return HasItems(1) ? Take() : defaultValue;
}

int IniKey::NextInt(int defaultValue)
{
    return HasItems(1) ? ReadInt(Take()) : defaultValue;
}

float IniKey::NextFloat(float defaultValue)
{
    return HasItems(1) ? float(ReadDouble(Take())) : defaultValue;
}

int IniKey::NextHex(int defaultValue)
{
    return HasItems(1) ? ReadHex(Take()) : defaultValue;
}

std::pair<int, int> IniKey::NextIntPair(std::pair<int, int> defaultValue)
{
    if (!HasItems(2))
        return defaultValue;
    const int first = ReadInt(Take());
    return {first, ReadInt(Take())};
}

IniRect IniKey::NextRect(const IniRect& defaultValue)
{
    if (!HasItems(4))
        return defaultValue;
    IniRect rect;
    rect.x = ReadInt(Take());
    rect.y = ReadInt(Take());
    rect.width = ReadInt(Take());
    rect.height = ReadInt(Take());
    return rect;
}

} // namespace Tandry
