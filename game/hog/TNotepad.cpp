#include "game/hog/TNotepad.h"

#include "game/shell/ProfileManager.h"
#include "resources/pak/FileUtils.h"

#include <climits>
#include <cstdio>

namespace Tandry {

namespace {

constexpr char kNotepadKey[] = "Notepad";

// The decimal digits after any blanks, saturating; 0 when there are none. A
// sign is not a digit: a hand-edited negative count would never reach 0, and
// its record would keep the level from ever being complete.
int LeadingCount(const std::string& text)
{
    long long value = 0;
    const size_t start = text.find_first_not_of(" \t");
    for (size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > INT_MAX)
            return INT_MAX;
    }
    return static_cast<int>(value);
}

} // namespace

TNotepad::TRecord::TRecord(std::wstring text, int remaining)
    : itemText(std::move(text))
    , count(remaining)
{
}

void TNotepad::AddRecord(const std::wstring& itemText, int count)
{
    mRecords.emplace_back(itemText, count);
}

void TNotepad::ShowFirstRecords()
{
}

void TNotepad::ArrangeItems()
{
}

void TNotepad::SaveState(const std::string& section) const
{
    std::string value;
    for (const TRecord& record : mRecords) {
        if (!value.empty())
            value += ',';
        char count[16];
        std::snprintf(count, sizeof count, "%d", record.count);
        value += WideStringToHex(record.itemText) + "/" + count;
    }
    GetProfileManager().GetValue(section, kNotepadKey).SetString(value);
}

void TNotepad::LoadState(const std::string& section)
{
    mRecords.clear();
    mShownCount = 0;
    StringTokenizer tokens = GetProfileManager().GetListReader(section, kNotepadKey);
    std::string token;
    while (tokens.Next(token)) {
        const size_t slash = token.find('/');
        if (slash == std::string::npos)
            continue;
        AddRecord(HexToWideString(token.substr(0, slash)), LeadingCount(token.substr(slash + 1)));
    }
    ShowFirstRecords();
    ArrangeItems();
}

} // namespace Tandry
