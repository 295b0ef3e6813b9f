#include "game/shell/LogoList.h"

#include "game/shell/StringTokenizer.h"

namespace Tandry {

namespace {

bool EndsWith(const std::string& text, const char* suffix)
{
    const std::string tail(suffix);
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

bool IsFlashPageName(const std::string& name)
{
    return name.size() > 4 && (EndsWith(name, ".swf") || EndsWith(name, ".dat"));
}

LogoEntry ParseLogoEntry(const std::string& item, float showTime)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t colon = item.find(':', start);
        fields.push_back(item.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
        if (colon == std::string::npos)
            break;
        start = colon + 1;
    }

    LogoEntry entry;
    entry.name = fields[0];
    entry.isFlash = IsFlashPageName(entry.name);
    entry.time = showTime;
    if (fields.size() > 1) {
        int flag = 0;
        if (!ParseClassicInt(fields[1], flag))
            flag = 0;
        entry.skippable = flag != 0;
    }
    if (fields.size() > 2) {
        float time = 0;
        if (!ParseClassicFloat(fields[2], time))
            time = 0;
        entry.time = time;
    }
    return entry;
}

std::vector<LogoEntry> ParseLogoList(const std::vector<std::string>& items, float showTime)
{
    std::vector<LogoEntry> entries;
    entries.reserve(items.size());
    for (const std::string& item : items)
        entries.push_back(ParseLogoEntry(item, showTime));
    return entries;
}

} // namespace Tandry
