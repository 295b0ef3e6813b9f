// The profile store: one ini document per player profile in the profiles
// folder, the current profile, and single values read from it with the
// game's "res\\game.ini" as fallback. The player data, level records and
// saved scene states all read and write through it (GetProfileManager).
// Profile files and "settings.ini" are read from disk only and saved whole
// through the safe write.
#pragma once

#include "game/shell/ProfileEntry.h"
#include "game/shell/ProfileValue.h"
#include "game/shell/StringTokenizer.h"
#include "resources/ini/IniDocument.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace Tandry {

// The game's data folder (no trailing separator) and the profiles folder
// (with one); the start-up sets both before the store is first used.
extern std::wstring gGameDataDir;
extern std::wstring gProfilesDir;
// Back to "." and "profiles\\"; for tests.
void ResetGameFolders();

class ProfileManager {
public:
    // Lists the profiles, loads the defaults and selects the profile that
    // "settings.ini" names, else the first one.
    ProfileManager();
    ProfileManager(const ProfileManager&) = delete;
    ProfileManager& operator=(const ProfileManager&) = delete;

    // True when a profile is current and its document is in memory, loading
    // and checking it first when needed.
    bool LoadCurrentProfile();
    // Stores the CRC and writes the current document when it is loaded.
    void SaveCurrentProfile();

    ProfileValue GetValue(const std::string& section, const std::string& key);
    std::string GetString(const std::string& section, const std::string& key);
    // A ',' tokenizer over GetString.
    StringTokenizer GetListReader(const std::string& section, const std::string& key);
    // Dropped when no profile can be loaded.
    void SetValue(const std::string& section, const std::string& key, const std::string& value);
    // The current profile's own document only; the defaults do not count.
    bool HasKey(const std::string& section, const std::string& key);
    // Appends the section's key names in document order; false without a
    // usable profile.
    bool GetKeyNames(const std::string& section, std::vector<std::string>& names);
    // Erases a section of the current document; nothing when none is loaded.
    void RemoveSection(const std::string& section);

    bool Exists(const std::wstring& name) const;
    // No profile is current when there is none of that name. Clears the
    // failed-check marks, so a repaired file is read again.
    void SelectProfile(const std::wstring& name);
    std::wstring GetCurrentName() const;
    void GetProfileNames(std::vector<std::wstring>& names) const;

    // A new profile with a free file name, neither selected nor written yet;
    // false when the name exists.
    bool CreateProfile(const std::wstring& name);
    // Deletes the file and the entry; a deleted current profile hands over to
    // the next one in list order. False for an unknown name.
    bool DeleteProfile(const std::wstring& name);
    // Re-files the entry (and its document) under the new name, loading the
    // document first so that the new name reaches the file. A renamed current
    // profile stays current. False when old is unknown or new exists.
    bool RenameProfile(const std::wstring& oldName, const std::wstring& newName);

    // The final write: every loaded document, then the current name into
    // "settings.ini". Run by ShutdownProfileManager.
    void WriteAll();

    // The first "profile<N>.prf" that neither a file of the folder nor an
    // entry uses, compared without regard to ASCII case.
    std::string FirstFreeFileName() const;

private:
    using Map = std::map<std::wstring, ProfileEntry>;

    void LoadAllProfiles();
    // The names of the "*.prf" files of the profiles folder.
    std::set<std::string> ListFolderFiles() const;
    // Loads and checks the entry's document; false when unreadable or damaged.
    bool LoadEntry(const std::wstring& name, ProfileEntry& entry);
    void SaveEntry(ProfileEntry& entry);
    void SelectFromSettings();

    Map mProfiles;
    Map::iterator mCurrent;
    NarrowIniDocument mDefaults;
};

// The one store, built on first use.
ProfileManager& GetProfileManager();
// The store when it is built, else null; never builds it, so that what runs
// before the start-up has set the profile folders cannot build it in the wrong one.
ProfileManager* FindProfileManager();
// Runs the store's final write and destroys it; the next GetProfileManager
// builds a new one. Does nothing when no store exists. Runs at exit too when
// it has not run.
void ShutdownProfileManager();

} // namespace Tandry
