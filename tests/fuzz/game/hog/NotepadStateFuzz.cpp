// The items-to-find panel's saved form on arbitrary text: the bytes are the
// value of [lvl_pic] "Notepad" in the current profile. Loading never fails,
// makes at most one record per token and no negative count, and what the
// panel writes back reads back as the same records.
#include "game/hog/TNotepad.h"
#include "game/shell/ProfileManager.h"
#include "util/StringUtils.h"

#include "tests/fuzz/FuzzBytes.h"
#include "tests/fuzz/FuzzHeadlessPlatform.h"
#include "tests/fuzz/FuzzScratchFolder.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

void Setup()
{
    static const bool done = [] {
        Platform::InstallPlatform(std::make_unique<FuzzHeadlessPlatform>());
        Tandry::gGameDataDir = Tandry::WidenString(FuzzScratchFolder::Path().string());
        Tandry::gProfilesDir = Tandry::gGameDataDir + L"\\profiles\\";
        std::filesystem::create_directories(FuzzScratchFolder::Path() / "profiles");
        Tandry::ProfileManager& store = Tandry::GetProfileManager();
        store.CreateProfile(L"Fuzz");
        store.SelectProfile(L"Fuzz");
        return true;
    }();
    (void)done;
}

std::vector<std::pair<std::wstring, int>> RecordsOf(const Tandry::TNotepad& notepad)
{
    std::vector<std::pair<std::wstring, int>> records;
    for (const Tandry::TNotepad::TRecord& record : notepad.GetRecords())
        records.emplace_back(record.itemText, record.count);
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Setup();
    Tandry::ProfileManager& store = Tandry::GetProfileManager();
    FuzzCheck(store.LoadCurrentProfile());
    const std::string text(reinterpret_cast<const char*>(data), size);
    store.SetValue("lvl_pic", "Notepad", text);

    Tandry::TNotepad notepad;
    notepad.LoadState("lvl_pic");
    const auto records = RecordsOf(notepad);
    FuzzCheck(records.size() <= static_cast<size_t>(std::count(text.begin(), text.end(), ',')) + 1);
    for (const auto& [name, count] : records)
        FuzzCheck(count >= 0 && name.size() <= size / 4);

    notepad.SaveState("lvl_pic2");
    Tandry::TNotepad reread;
    reread.LoadState("lvl_pic2");
    FuzzCheck(RecordsOf(reread) == records);

    store.RemoveSection("lvl_pic");
    store.RemoveSection("lvl_pic2");
    return 0;
}
