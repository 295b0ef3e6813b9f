#include "resources/ini/LangTable.h"

#include "util/StringUtils.h"

#include <atomic>

namespace Tandry {

namespace {

const char* const kLangFile = "res\\lang.ini";
const size_t kMaxKeyLength = 1024;

struct LangTableState {
    WideIniDocument table;
    std::atomic<bool> reloadRequested{false};
};

LangTableState& State()
{
    static LangTableState state;
    return state;
}

LangTableState& InitLangTable()
{
    LangTableState& state = State();
    ReloadLangTable(state.table);
    return state;
}

} // namespace

WideIniDocument& GetLangTable()
{
    // The first call loads the table; callers on other threads wait for it.
    static LangTableState& state = InitLangTable();
    if (state.reloadRequested.exchange(false))
        ReloadLangTable(state.table);
    return state.table;
}

void ReloadLangTable(WideIniDocument& table)
{
    table.Clear();
    WideIniDocument::LoadUtf16(kLangFile, table);
}

std::wstring GetLangString(const std::string& key, WideIniDocument& table, const std::wstring& section)
{
    if (key.empty())
        return std::wstring();
    const std::wstring wideKey = NarrowToWideAnsi(key.substr(0, kMaxKeyLength));
    const auto found = table.FindKey(section, wideKey);
    if (!(found == WideIniDocument::NotFound()))
        return found.GetValue();

    const std::wstring missing = L"???";
    // A key the file cannot hold is refused here; there is nothing to save.
    const auto added = table.AddKey(table.FindOrAddSection(section), wideKey, missing);
    if (!(added == WideIniDocument::NotFound()))
        WideIniDocument::SaveUtf16(kLangFile, table);
    return missing;
}

void ResetLangTableForTests()
{
    LangTableState& state = State();
    state.table.Clear();
    state.reloadRequested = true;
}

} // namespace Tandry
