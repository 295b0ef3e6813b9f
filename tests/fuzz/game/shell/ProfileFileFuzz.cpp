// The profile store on an arbitrary profile file: the input is profile1.prf
// beside a good profile0.prf. The store lists both, loads the fuzzed one (one
// notice at most), reads it as player data, level records and one picture's
// items-to-find panel, measures its progress for the progress bar, writes and
// saves it. When it loaded, a new store reads the saved file back, passes its
// CRC check, sees the written value and gives the same player data and
// records, which a second save leaves as they are.
#include "game/hog/TNotepad.h"
#include "game/shell/ClassicNumberText.h"
#include "game/shell/GameProgress.h"
#include "game/shell/LevelInfo.h"
#include "game/shell/PlayerInfo.h"
#include "game/shell/ProfileManager.h"
#include "platform/fs/FolderCache.h"
#include "resources/ini/IniCaseCompare.h"
#include "resources/ini/IniDocument.h"
#include "util/StringUtils.h"

#include "tests/fuzz/FuzzBytes.h"
#include "tests/fuzz/FuzzHeadlessPlatform.h"
#include "tests/fuzz/FuzzScratchFolder.h"

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The level records read: a fixed name and every key of [Levels] but the
// player data's time played.
std::vector<std::string> LevelNames(Tandry::ProfileManager& store)
{
    std::vector<std::string> names = {"s1"};
    store.GetKeyNames("Levels", names);
    std::erase_if(names, [](const std::string& name) { return Tandry::AsciiCaseEqual(name, std::string("TimePlayed")); });
    return names;
}

std::vector<std::string> RecordTexts(const std::vector<std::string>& names)
{
    std::vector<std::string> texts;
    for (const std::string& name : names) {
        Tandry::LevelInfo record(name);
        record.LoadFromProfile();
        texts.push_back(record.Serialize());
    }
    return texts;
}

// Every value the player data write, as the current document holds them.
std::vector<std::string> PlayerTexts(Tandry::ProfileManager& store)
{
    std::vector<std::string> texts;
    for (const char* key :
         {"Progress", "Notebook", "IsGameComplete", "IsShowTutorial", "CurTutor", "TutorialHogItems", "TutorialHogHint"})
        texts.push_back(store.GetString("Main", key));
    texts.push_back(store.GetString("Levels", "TimePlayed"));
    std::vector<std::string> books;
    store.GetKeyNames("Notebook", books);
    for (const std::string& book : books)
        texts.push_back(book + "=" + store.GetString("Notebook", book));
    return texts;
}

bool SameScalars(const Tandry::PlayerInfo& a, const Tandry::PlayerInfo& b)
{
    using Tandry::ClassicGeneralText;
    return ClassicGeneralText(a.progress) == ClassicGeneralText(b.progress) &&
           ClassicGeneralText(a.timePlayed) == ClassicGeneralText(b.timePlayed) && a.gameComplete == b.gameComplete &&
           a.showTutorial == b.showTutorial && a.currentTutorial == b.currentTutorial &&
           a.tutorialHogItems == b.tutorialHogItems && a.tutorialHogHint == b.tutorialHogHint &&
           a.notebooks.size() == b.notebooks.size();
}

void WriteBytes(const fs::path& path, const uint8_t* data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

FuzzHeadlessPlatform& Setup()
{
    static FuzzHeadlessPlatform* platform = [] {
        auto made = std::make_unique<FuzzHeadlessPlatform>();
        FuzzHeadlessPlatform* raw = made.get();
        Platform::InstallPlatform(std::move(made));
        Tandry::gGameDataDir = Tandry::WidenString(FuzzScratchFolder::Path().string());
        Tandry::gProfilesDir = Tandry::gGameDataDir + L"\\profiles\\";
        return raw;
    }();
    return *platform;
}

size_t Boxes(FuzzHeadlessPlatform& platform)
{
    return dynamic_cast<Platform::HeadlessDialogs&>(platform.GetDialogs()).GetBoxes().size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzHeadlessPlatform& platform = Setup();
    platform.ForgetRecords();
    const fs::path folder = FuzzScratchFolder::Path();
    std::error_code ignored;
    fs::remove_all(folder / "profiles", ignored);
    fs::remove(folder / "settings.ini", ignored);
    fs::create_directories(folder / "profiles");
    Platform::FolderCache::Reset();
    {
        Tandry::ProfileManager& store = Tandry::GetProfileManager();
        store.CreateProfile(L"Good");
        store.SelectProfile(L"Good");
        store.SetValue("Main", "Progress", "1");
        Tandry::ShutdownProfileManager();
    }
    WriteBytes(folder / "profiles" / "profile1.prf", data, size);
    Platform::FolderCache::Reset();

    Tandry::ProfileManager& store = Tandry::GetProfileManager();
    std::vector<std::wstring> names;
    store.GetProfileNames(names);
    FuzzCheck(store.Exists(L"Good") && names.size() <= 2);
    std::wstring fuzzed;
    for (const std::wstring& name : names)
        if (name != L"Good")
            fuzzed = name;
    const bool listed = names.size() == 2;
    if (listed)
        store.SelectProfile(fuzzed);
    const bool loaded = store.LoadCurrentProfile();
    for (int i = 0; i < 3; ++i) {
        store.GetValue("Main", "Progress").GetFloat();
        std::vector<std::string> keys;
        FuzzCheck(store.GetKeyNames("Main", keys) == loaded);
        Tandry::StringTokenizer list = store.GetListReader("Levels", "s1");
        std::string token;
        while (list.Next(token)) {
        }
    }
    FuzzCheck(Boxes(platform) <= 1);
    Tandry::PlayerInfo player;
    player.Load();
    for (int width : {0, 1, 200, INT_MAX}) {
        const int columns = Tandry::GameProgress::FillColumns(width, player.progress);
        FuzzCheck(columns >= 0 && columns <= width);
    }
    const std::vector<std::string> levels = LevelNames(store);
    const std::vector<std::string> records = RecordTexts(levels);
    for (size_t i = 0; i < levels.size(); ++i) {
        Tandry::LevelInfo record(levels[i]);
        record.LoadFromProfile();
        record.SaveToProfile();
    }
    Tandry::TNotepad notepad;
    notepad.LoadState("lvl_pic");
    notepad.SaveState("lvl_pic");
    player.Save();
    store.SetValue("Fuzz", "Written", "a,b");
    store.SaveCurrentProfile();
    FuzzCheck(Boxes(platform) <= 1);
    Tandry::ShutdownProfileManager();
    if (!listed || !loaded)
        return 0;

    // The check holds as far as the ini text form carries what was read (a
    // key name read with escapes is written without them).
    std::ifstream in(folder / "profiles" / "profile1.prf", std::ios::binary);
    const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Tandry::NarrowIniDocument reread;
    Tandry::NarrowIniDocument::LoadBytes(saved.data(), saved.size(), reread);
    if (Tandry::NarrowIniDocument::SaveBytes(reread) != saved)
        return 0;
    Tandry::ProfileManager& again = Tandry::GetProfileManager();
    again.SelectProfile(fuzzed);
    FuzzCheck(again.LoadCurrentProfile());
    FuzzCheck(again.GetString("Fuzz", "Written") == "a,b");
    Tandry::PlayerInfo readBack;
    readBack.Load();
    FuzzCheck(SameScalars(player, readBack));
    FuzzCheck(RecordTexts(levels) == records);
    const std::vector<std::string> stored = PlayerTexts(again);
    readBack.Save();
    FuzzCheck(PlayerTexts(again) == stored);
    Tandry::ShutdownProfileManager();
    return 0;
}
