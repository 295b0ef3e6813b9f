#include "game/shell/PlayerInfo.h"

#include "game/shell/ClassicNumberText.h"
#include "game/shell/ProfileManager.h"
#include "resources/ini/GameIni.h"

#include <algorithm>
#include <optional>

namespace Tandry {

namespace {

constexpr char kMain[] = "Main";
constexpr char kLevels[] = "Levels";
constexpr char kNotebook[] = "Notebook";

std::optional<int>& CachedProgressParts()
{
    static std::optional<int> parts;
    return parts;
}

const char* BoolText(bool value)
{
    return value ? "1" : "0";
}

// Only "1" is true.
bool ReadBool(const char* section, const char* key, bool startValue)
{
    ProfileManager& store = GetProfileManager();
    return store.HasKey(section, key) ? store.GetString(section, key) == "1" : startValue;
}

float ReadFloat(const char* section, const char* key, float startValue)
{
    ProfileManager& store = GetProfileManager();
    return store.HasKey(section, key) ? store.GetValue(section, key).GetFloat() : startValue;
}

int ReadInt(const char* section, const char* key, int startValue)
{
    ProfileManager& store = GetProfileManager();
    return store.HasKey(section, key) ? store.GetValue(section, key).GetInt() : startValue;
}

} // namespace

int ProgressParts()
{
    std::optional<int>& parts = CachedProgressParts();
    if (!parts)
        parts = std::max(1, GetGameSettingInt("ProgressParts", "Game", -1, 22));
    return *parts;
}

void ResetProgressParts()
{
    CachedProgressParts().reset();
}

void PlayerInfo::Save()
{
    ProfileManager& store = GetProfileManager();
    store.SetValue(kLevels, "TimePlayed", ClassicGeneralText(timePlayed));
    store.SetValue(kMain, "Progress", ClassicGeneralText(progress));
    std::string names;
    for (const auto& [name, entry] : notebooks)
        names += (names.empty() ? "" : ",") + name;
    store.SetValue(kMain, "Notebook", names);
    for (const auto& [name, entry] : notebooks)
        store.SetValue(kNotebook, name, entry.ToText());
    store.SetValue(kMain, "IsGameComplete", BoolText(gameComplete));
    store.SetValue(kMain, "IsShowTutorial", BoolText(showTutorial));
    store.SetValue(kMain, "CurTutor", std::to_string(currentTutorial));
    store.SetValue(kMain, "TutorialHogItems", BoolText(tutorialHogItems));
    store.SetValue(kMain, "TutorialHogHint", BoolText(tutorialHogHint));
}

void PlayerInfo::Load()
{
    timePlayed = ReadFloat(kLevels, "TimePlayed", 0.0f);
    progress = ReadFloat(kMain, "Progress", 0.0f);
    gameComplete = ReadBool(kMain, "IsGameComplete", false);
    showTutorial = ReadBool(kMain, "IsShowTutorial", true);
    currentTutorial = ReadInt(kMain, "CurTutor", 0);
    tutorialHogItems = ReadBool(kMain, "TutorialHogItems", false);
    tutorialHogHint = ReadBool(kMain, "TutorialHogHint", false);

    notebooks.clear();
    ProfileManager& store = GetProfileManager();
    if (!store.HasKey(kMain, "Notebook"))
        return;
    StringTokenizer names = store.GetListReader(kMain, "Notebook");
    std::string name;
    while (names.Next(name)) {
        if (name.empty())
            continue;
        // A book listed twice is read once, not given its records twice.
        NotebookEntry entry;
        StringTokenizer tokens = store.GetListReader(kNotebook, name);
        entry.Parse(tokens);
        notebooks[name] = std::move(entry);
    }
}

void PlayerInfo::AddProgressStep()
{
    progress += 1.0f / static_cast<float>(ProgressParts());
    Save();
    GetProfileManager().SaveCurrentProfile();
}

} // namespace Tandry
