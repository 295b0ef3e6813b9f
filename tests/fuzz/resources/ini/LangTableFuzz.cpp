// Arbitrary bytes as the language file "res\\lang.ini", taken through the
// table's whole round trip: loaded, every key the narrow lookup can name is
// looked up, keys the table lacks are asked for (so they are added and the
// file is written), and the written file is loaded again. The reloaded table
// must hold the same sections, keys and texts in the same order, and every
// lookup must have answered with the loaded text or, for a missing key, "???".
#include "tests/fuzz/FuzzBytes.h"
#include "tests/fuzz/FuzzScratchFolder.h"

#include "resources/ini/LangTable.h"
#include "resources/pak/PakInterface.h"
#include "util/StringUtils.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

using Tandry::WideIniDocument;

namespace {

struct Text {
    std::wstring section;
    std::wstring key;
    std::wstring value;
    bool operator==(const Text&) const = default;
};

std::vector<Text> Texts(WideIniDocument& table)
{
    std::vector<Text> texts;
    std::wstring section;
    auto cursor = table.Begin(Tandry::IniKind::Section | Tandry::IniKind::Key);
    for (int kind = cursor.GetKind(); kind != Tandry::IniKind::None; kind = cursor.Next()) {
        if (kind == Tandry::IniKind::Section)
            section = cursor.GetKeyName();
        else
            texts.push_back({section, cursor.GetKeyName(), cursor.GetValue()});
    }
    return texts;
}

// The narrow name of a key when the lookup can name it: printable ASCII,
// which the lookup widens to itself.
bool NarrowName(const std::wstring& key, std::string& name)
{
    name.clear();
    for (wchar_t c : key) {
        if (c < 0x20 || c > 0x7E)
            return false;
        name += static_cast<char>(c);
    }
    return !name.empty();
}

// Whether answer is the text of a loaded line with the section and key of
// text: when a key is repeated, one of its lines answers for all of them.
bool LoadedTextOf(const std::vector<Text>& loaded, const Text& text, const std::wstring& answer)
{
    auto sameName = [](const std::wstring& a, const std::wstring& b) {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i) {
            const wchar_t x = a[i] >= L'A' && a[i] <= L'Z' ? a[i] - L'A' + L'a' : a[i];
            const wchar_t y = b[i] >= L'A' && b[i] <= L'Z' ? b[i] - L'A' + L'a' : b[i];
            if (x != y)
                return false;
        }
        return true;
    };
    for (const Text& other : loaded) {
        if (sameName(other.section, text.section) && sameName(other.key, text.key) && other.value == answer)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzScratchFolder inside;
    const std::filesystem::path& folder = FuzzScratchFolder::Path();
    std::filesystem::create_directories(folder / "res");
    Tandry::GetSharedPakInterface()->Reset();
    {
        std::ofstream out(folder / "res" / "lang.ini", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    WideIniDocument table;
    Tandry::ReloadLangTable(table);
    const std::vector<Text> loaded = Texts(table);

    std::string name;
    for (const Text& text : loaded) {
        if (NarrowName(text.key, name))
            FuzzCheck(LoadedTextOf(loaded, text, Tandry::GetLangString(name, table, text.section)));
    }

    // Missing keys: in the first section, in a new one, a key in the ANSI
    // code page, and the input's first bytes as a key.
    const std::wstring firstSection = loaded.empty() ? L"Fuzz" : loaded.front().section;
    const std::string inputKey(reinterpret_cast<const char*>(data), std::min<size_t>(size, 16));
    for (const auto& [section, key] : {std::pair<std::wstring, std::string>{firstSection, "FUZZ_MISSING_KEY"},
                                       {L"FuzzAdded", "ADDED"},
                                       {L"FuzzAdded", "caf\xE9_\x80"},
                                       {L"FuzzAdded", inputKey}}) {
        const bool missing = table.FindKey(section, Tandry::NarrowToWideAnsi(key)) == WideIniDocument::NotFound();
        const std::wstring answer = Tandry::GetLangString(key, table, section);
        if (missing && !key.empty())
            FuzzCheck(answer == L"???");
    }

    WideIniDocument again;
    Tandry::ReloadLangTable(again);
    FuzzCheck(Texts(again) == Texts(table));
    return 0;
}
