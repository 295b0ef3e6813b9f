#include "game/shell/ProfileManager.h"

#include "game/shell/ShellConstants.h"
#include "platform/Platform.h"
#include "platform/debug/DebugOutput.h"
#include "platform/dialog/DialogService.h"
#include "platform/fs/FileFinder.h"
#include "platform/fs/FileOps.h"
#include "platform/fs/SafeWrite.h"
#include "resources/ini/IniCaseCompare.h"
#include "resources/ini/IniStdIFile.h"
#include "resources/pak/FileUtils.h"
#include "util/StringUtils.h"

#include <cstdio>
#include <memory>

namespace Tandry {

std::wstring gGameDataDir{FallbackDataFolder};
std::wstring gProfilesDir{ProfilesFolderPrefix};

void ResetGameFolders()
{
    gGameDataDir = FallbackDataFolder;
    gProfilesDir = ProfilesFolderPrefix;
}

namespace {

// The folders were widened byte by byte from the file system's names.
std::string FolderBytes(const std::wstring& folder)
{
    std::string bytes;
    bytes.reserve(folder.size());
    for (const wchar_t c : folder)
        bytes += static_cast<char>(c);
    return bytes;
}

std::string ProfilePath(const std::string& fileName)
{
    return FolderBytes(gProfilesDir) + fileName;
}

std::string DataPath(std::string_view fileName)
{
    return FolderBytes(gGameDataDir) + "\\" + std::string(fileName);
}

// The whole file from disk, never from a pack: a pack must not shadow a
// player's own file.
bool ReadDiskFile(const std::string& path, std::string& bytes)
{
    FILE* file = Platform::OpenFile(path, "rb");
    if (file == nullptr)
        return false;
    bytes.clear();
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, n);
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

void WriteDiskFile(const std::string& path, const std::string& bytes)
{
    if (Platform::SafeWrite::WriteBytes(path, bytes.data(), bytes.size()))
        return;
    // The player is not told; the document stays in memory for the next try.
    Platform::OutputDebugStringA(("ProfileManager: cannot write \"" + path + "\"\n").c_str());
}

constexpr char kMain[] = "Main";
constexpr char kName[] = "Name";
constexpr char kCrc[] = "CRC";

void StoreCrc(NarrowIniDocument& doc)
{
    const uint16_t crc = doc.ComputeCrc16(kCrc);
    doc.FindOrAddKey(doc.FindOrAddSection(kMain), kCrc).SetValue(std::to_string(crc));
}

void StoreName(NarrowIniDocument& doc, const std::wstring& name)
{
    doc.FindOrAddKey(doc.FindOrAddSection(kMain), kName).SetValue(WideStringToHex(name));
}

// The stored name: the last key "Name" (any case) from the first section
// "Main" to the end of the document, later sections included.
bool FindStoredName(NarrowIniDocument& doc, std::wstring& name)
{
    NarrowIniDocument::Cursor cursor = doc.FindSection(kMain);
    if (cursor == NarrowIniDocument::NotFound())
        return false;
    cursor.SetMask(IniKind::Key);
    bool found = false;
    while (cursor.Next() != IniKind::None) {
        if (AsciiCaseEqual(cursor.GetKeyName(), std::string(kName))) {
            name = HexToWideString(cursor.GetValue());
            found = true;
        }
    }
    return found;
}

std::unique_ptr<ProfileManager>& Store()
{
    static std::unique_ptr<ProfileManager> store;
    return store;
}

// Runs the final write at exit when ShutdownProfileManager has not (an exit
// through DoExit).
struct ExitWriter {
    ~ExitWriter() { ShutdownProfileManager(); }
};

} // namespace

ProfileManager::ProfileManager()
    : mCurrent(mProfiles.end())
{
    LoadAllProfiles();
    NarrowIniDocument::Load(std::string(GameIniPath), mDefaults);
    SelectFromSettings();
    if (mCurrent == mProfiles.end())
        mCurrent = mProfiles.begin();
}

void ProfileManager::SelectFromSettings()
{
    std::string bytes;
    if (!ReadDiskFile(DataPath(SettingsFileName), bytes))
        return;
    WideIniDocument settings;
    WideIniDocument::LoadBytes(bytes.data(), bytes.size(), settings);
    const WideIniDocument::Cursor found = settings.FindKey(L"Main", L"Profile");
    if (found == WideIniDocument::NotFound())
        return;
    const std::wstring value = found.GetValue();
    if (value.size() > 2 && value.front() == L'"' && value.back() == L'"')
        mCurrent = mProfiles.find(value.substr(1, value.size() - 2));
}

std::set<std::string> ProfileManager::ListFolderFiles() const
{
    std::set<std::string> names;
    Platform::FindData data;
    const std::string pattern = ProfilePath("*" + std::string(ProfileFileExtension));
    if (std::unique_ptr<Platform::FileFinder> finder = Platform::FileFinder::First(pattern, data)) {
        do {
            if ((data.attributes & Platform::kFileAttributeDirectory) == 0 && data.name != "." && data.name != "..")
                names.insert(data.name);
        } while (finder->Next(data));
    }
    for (const auto& [name, entry] : mProfiles)
        names.insert(entry.fileName);
    return names;
}

void ProfileManager::LoadAllProfiles()
{
    mProfiles.clear();
    mCurrent = mProfiles.end();
    for (const std::string& fileName : ListFolderFiles()) {
        IniStdIFile file(ProfilePath(fileName));
        if (file.Failed())
            continue;
        NarrowIniDocument doc;
        NarrowIniDocument::LoadStream(file, doc);
        std::wstring name;
        if (!FindStoredName(doc, name))
            continue;
        // The earlier file keeps a name that two files store.
        mProfiles.try_emplace(name, ProfileEntry{fileName, nullptr, false});
    }
}

std::string ProfileManager::FirstFreeFileName() const
{
    std::set<std::string, AsciiCaseLess<char>> used;
    for (const std::string& name : ListFolderFiles())
        used.insert(name);
    for (unsigned n = 0;; ++n) {
        std::string candidate =
            std::string(ProfileFilePrefix) + std::to_string(n) + std::string(ProfileFileExtension);
        if (used.count(candidate) == 0)
            return candidate;
    }
}

bool ProfileManager::LoadEntry(const std::wstring& name, ProfileEntry& entry)
{
    if (entry.document != nullptr)
        return true;
    if (entry.failedCheck)
        return false;
    IniStdIFile file(ProfilePath(entry.fileName));
    if (file.Failed())
        return false;
    auto doc = std::make_unique<NarrowIniDocument>();
    NarrowIniDocument::LoadStream(file, *doc);
    const NarrowIniDocument::Cursor crcKey = doc->FindOrAddKey(doc->FindOrAddSection(kMain), kCrc);
    if (ParseLeadingInt(crcKey.GetValue()) != int(doc->ComputeCrc16(kCrc))) {
        entry.failedCheck = true;
        Platform::GetPlatform().GetDialogs().MessageBoxA(nullptr, "Bad CRC: \"" + entry.fileName + "\"", "Error!",
                                                         Platform::MB_OK | Platform::MB_ICONWARNING);
        return false;
    }
    // The stored name always follows the map, which a rename may have changed.
    StoreName(*doc, name);
    entry.document = std::move(doc);
    return true;
}

bool ProfileManager::LoadCurrentProfile()
{
    return mCurrent != mProfiles.end() && LoadEntry(mCurrent->first, mCurrent->second);
}

void ProfileManager::SaveEntry(ProfileEntry& entry)
{
    if (entry.document == nullptr)
        return;
    StoreCrc(*entry.document);
    WriteDiskFile(ProfilePath(entry.fileName), NarrowIniDocument::SaveBytes(*entry.document));
}

void ProfileManager::SaveCurrentProfile()
{
    if (mCurrent != mProfiles.end())
        SaveEntry(mCurrent->second);
}

ProfileValue ProfileManager::GetValue(const std::string& section, const std::string& key)
{
    NarrowIniDocument* profile = LoadCurrentProfile() ? mCurrent->second.document.get() : nullptr;
    return ProfileValue(profile, &mDefaults, section, key);
}

std::string ProfileManager::GetString(const std::string& section, const std::string& key)
{
    return GetValue(section, key).GetString();
}

StringTokenizer ProfileManager::GetListReader(const std::string& section, const std::string& key)
{
    return StringTokenizer(GetString(section, key), ',');
}

void ProfileManager::SetValue(const std::string& section, const std::string& key, const std::string& value)
{
    GetValue(section, key).SetString(value);
}

bool ProfileManager::HasKey(const std::string& section, const std::string& key)
{
    return LoadCurrentProfile() && mCurrent->second.document->HasKey(section, key);
}

bool ProfileManager::GetKeyNames(const std::string& section, std::vector<std::string>& names)
{
    if (!LoadCurrentProfile())
        return false;
    NarrowIniDocument& doc = *mCurrent->second.document;
    NarrowIniDocument::Cursor cursor = doc.FindSection(section);
    if (cursor == NarrowIniDocument::NotFound())
        return true;
    cursor.SetMask(IniKind::Key | IniKind::WithinSection);
    while (cursor.Next() != IniKind::None)
        names.push_back(cursor.GetKeyName());
    return true;
}

void ProfileManager::RemoveSection(const std::string& section)
{
    if (mCurrent == mProfiles.end() || mCurrent->second.document == nullptr)
        return;
    NarrowIniDocument& doc = *mCurrent->second.document;
    const NarrowIniDocument::Cursor found = doc.FindSection(section);
    if (!(found == NarrowIniDocument::NotFound()))
        doc.Erase(found);
}

bool ProfileManager::Exists(const std::wstring& name) const
{
    return mProfiles.count(name) != 0;
}

void ProfileManager::SelectProfile(const std::wstring& name)
{
    for (auto& [entryName, entry] : mProfiles)
        entry.failedCheck = false;
    mCurrent = mProfiles.find(name);
}

std::wstring ProfileManager::GetCurrentName() const
{
    return mCurrent == mProfiles.end() ? std::wstring() : mCurrent->first;
}

void ProfileManager::GetProfileNames(std::vector<std::wstring>& names) const
{
    names.clear();
    names.reserve(mProfiles.size());
    for (const auto& [name, entry] : mProfiles)
        names.push_back(name);
}

bool ProfileManager::CreateProfile(const std::wstring& name)
{
    if (Exists(name))
        return false;
    auto doc = std::make_unique<NarrowIniDocument>();
    StoreName(*doc, name);
    mProfiles.try_emplace(name, ProfileEntry{FirstFreeFileName(), std::move(doc), false});
    return true;
}

bool ProfileManager::DeleteProfile(const std::wstring& name)
{
    const Map::iterator found = mProfiles.find(name);
    if (found == mProfiles.end())
        return false;
    // A missing file is not an error.
    Platform::RemoveFile(ProfilePath(found->second.fileName));
    const Map::iterator next = mProfiles.erase(found);
    if (mCurrent == found)
        mCurrent = next;
    return true;
}

bool ProfileManager::RenameProfile(const std::wstring& oldName, const std::wstring& newName)
{
    const Map::iterator found = mProfiles.find(oldName);
    if (found == mProfiles.end() || Exists(newName))
        return false;
    // Loaded now, the document carries the new name to the next write; a file
    // that cannot be read or fails its check is left as it is.
    if (LoadEntry(oldName, found->second))
        StoreName(*found->second.document, newName);
    const bool wasCurrent = mCurrent == found;
    ProfileEntry moved = std::move(found->second);
    mProfiles.erase(found);
    const Map::iterator added = mProfiles.try_emplace(newName, std::move(moved)).first;
    if (wasCurrent)
        mCurrent = added;
    return true;
}

void ProfileManager::WriteAll()
{
    Platform::MakeFolder(DataPath(FolderBytes(std::wstring(ProfilesFolderName))));
    for (auto& [name, entry] : mProfiles)
        SaveEntry(entry);
    if (mCurrent == mProfiles.end())
        return;
    const std::string path = DataPath(SettingsFileName);
    WideIniDocument settings;
    std::string bytes;
    if (ReadDiskFile(path, bytes))
        WideIniDocument::LoadBytes(bytes.data(), bytes.size(), settings);
    settings.FindOrAddKey(settings.FindOrAddSection(L"Main"), L"Profile").SetValue(L"\"" + mCurrent->first + L"\"");
    WriteDiskFile(path, WideIniDocument::SaveBytes(settings));
}

ProfileManager& GetProfileManager()
{
    std::unique_ptr<ProfileManager>& store = Store();
    // Made after the store's holder, so it is destroyed before it.
    static ExitWriter exitWriter;
    if (store == nullptr)
        store = std::make_unique<ProfileManager>();
    return *store;
}

ProfileManager* FindProfileManager()
{
    return Store().get();
}

void ShutdownProfileManager()
{
    std::unique_ptr<ProfileManager> store = std::move(Store());
    if (store != nullptr)
        store->WriteAll();
}

} // namespace Tandry
