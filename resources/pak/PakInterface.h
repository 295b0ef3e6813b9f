// The file layer: every data file of the game is read through it. It looks
// first in the pack files added with AddPakFile (later packs win), then on
// disk through the platform's resolver; PakOpen also tries a prefix folder
// first and an alias last. There is one instance per process, built on first
// use and published for the Pak* free functions (resources/pak/PakFile.h).
#pragma once

#include "resources/pak/PakInterfaceBase.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Tandry {

class PakInterface : public PakInterfaceBase {
public:
    PakFileHandle* Open(const std::string& name, const char* mode) override;
    int Close(PakFileHandle* file) override;
    int Seek(PakFileHandle* file, int64_t offset, int origin) override;
    int64_t Tell(PakFileHandle* file) override;
    size_t Read(void* buffer, size_t elementSize, size_t count, PakFileHandle* file) override;
    int GetChar(PakFileHandle* file) override;
    int UngetChar(int c, PakFileHandle* file) override;
    wchar_t* GetWideLine(wchar_t* buffer, int maximum, PakFileHandle* file) override;
    char* GetLine(char* buffer, int maximum, PakFileHandle* file) override;
    bool AtEnd(PakFileHandle* file) override;
    PakFindRecord* FindFirst(const std::string& pattern, Platform::FindData& data) override;
    bool FindNext(PakFindRecord* find, Platform::FindData& data) override;
    bool FindClose(PakFindRecord* find) override;

    // Maps the pack at path and enters its records. False, with nothing of
    // its table entered, for a missing file or a damaged table; the pack's
    // own whole-file record (key: path case-folded, separators as given) is
    // entered once the file is mapped, as it always was.
    bool AddPakFile(const std::string& path);
    // The same for a pack held in memory; path names its own record.
    bool AddPakMemory(const std::string& path, std::vector<uint8_t> bytes);

    // The name that took the place of name, or "" when there is none.
    std::string LookupAlias(const std::string& name) const;

    // "data\\<language>\\" or empty; PakOpen tries it before the name itself.
    const std::string& PrefixFolder() const { return mPrefixFolder; }
    void SetPrefixFolder(const std::string& folder) { mPrefixFolder = folder; }
    // Normalised removed name -> normalised name of the file kept in its place.
    std::map<std::string, std::string, std::less<>>& Aliases() { return mAliases; }
    const std::map<std::string, PakRecord, std::less<>>& Records() const { return mRecords; }

    // Tests: unmaps every pack and drops records, prefix and aliases. Handles
    // to pack members must be closed first.
    void Reset();

private:
    bool AddCollection(const std::string& path, std::unique_ptr<PakCollection> collection);
    bool PackMatch(PakFindRecord& find, Platform::FindData& data) const;

    std::vector<std::unique_ptr<PakCollection>> mCollections;
    std::map<std::string, PakRecord, std::less<>> mRecords;
    std::string mPrefixFolder;
    std::map<std::string, std::string, std::less<>> mAliases;
};

// The published interface, or null. The first call builds the one
// PakInterface and publishes it.
PakInterface* GetSharedPakInterface();
// Replaces the published pointer; null makes the Pak* functions use plain
// files only (tests of that fallback put the old pointer back afterwards).
void PublishPakInterface(PakInterface* pak);

} // namespace Tandry
