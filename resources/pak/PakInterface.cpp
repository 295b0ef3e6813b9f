#include "resources/pak/PakInterface.h"

#include "platform/debug/DebugOutput.h"
#include "resources/pak/NormalizePakPath.h"
#include "resources/pak/PakFile.h"
#include "resources/pak/PakTable.h"
#include "util/StringUtils.h"

#include <algorithm>
#include <atomic>
#include <mutex>

namespace Tandry {

namespace {

bool IsPackReadMode(const char* mode)
{
    if (mode == nullptr)
        return false;
    const std::string upper = UpperCaseCopy(std::string(mode));
    return upper == "R" || upper == "RB" || upper == "RT";
}

} // namespace

PakFileHandle* PakInterface::Open(const std::string& name, const char* mode)
{
    if (IsPackReadMode(mode)) {
        auto it = mRecords.find(NormalizePakPath(name));
        if (it != mRecords.end())
            return new PakFileHandle(it->second);
    }
    return PakFileHandle::OpenLoose(name, mode);
}

// What is done with an open handle is the handle's own; these forward to the
// free functions, which answer for a null handle.

int PakInterface::Close(PakFileHandle* file)
{
    PakClose(file);
    return 0;
}

int PakInterface::Seek(PakFileHandle* file, int64_t offset, int origin)
{
    return PakSeek(file, offset, origin);
}

int64_t PakInterface::Tell(PakFileHandle* file)
{
    return PakTell(file);
}

size_t PakInterface::Read(void* buffer, size_t elementSize, size_t count, PakFileHandle* file)
{
    return PakRead(buffer, elementSize, count, file);
}

int PakInterface::GetChar(PakFileHandle* file)
{
    return PakGetChar(file);
}

int PakInterface::UngetChar(int c, PakFileHandle* file)
{
    return PakUngetChar(c, file);
}

wchar_t* PakInterface::GetWideLine(wchar_t* buffer, int, PakFileHandle*)
{
    return buffer;
}

char* PakInterface::GetLine(char* buffer, int maximum, PakFileHandle* file)
{
    return file == nullptr ? nullptr : file->GetLine(buffer, maximum);
}

bool PakInterface::AtEnd(PakFileHandle* file)
{
    return PakAtEnd(file);
}

PakFindRecord* PakInterface::FindFirst(const std::string& pattern, Platform::FindData& data)
{
    auto find = std::make_unique<PakFindRecord>();
    find->pattern = NormalizePakPath(pattern);
    find->diskPattern = pattern;
    if (PackMatch(*find, data) || find->ListDisk(data))
        return find.release();
    return nullptr;
}

bool PakInterface::FindNext(PakFindRecord* find, Platform::FindData& data)
{
    if (find == nullptr)
        return false;
    if (find->findHandle != nullptr)
        return find->findHandle->Next(data);
    return PackMatch(*find, data) || find->ListDisk(data);
}

bool PakInterface::FindClose(PakFindRecord* find)
{
    PakFindClose(find);
    return true;
}

bool PakInterface::PackMatch(PakFindRecord& find, Platform::FindData& data) const
{
    const size_t star = find.pattern.find('*');
    if (star == std::string::npos)
        return false;
    const std::string_view prefix = std::string_view(find.pattern).substr(0, star);
    const std::string_view tail = std::string_view(find.pattern).substr(star + 1);

    // Keys that begin with the prefix are contiguous in key order.
    auto it = mRecords.lower_bound(prefix);
    if (find.lastKey.has_value() && *find.lastKey >= prefix)
        it = mRecords.upper_bound(*find.lastKey);
    for (; it != mRecords.end(); ++it) {
        const std::string& key = it->first;
        if (key.compare(0, prefix.size(), prefix) != 0)
            break;
        const bool matches = tail.empty() || tail == ".*"
            || (key.size() >= tail.size() && key.compare(key.size() - tail.size(), tail.size(), tail) == 0);
        if (!matches)
            continue;

        const PakRecord& record = it->second;
        const size_t tailLength = std::min(tail.size(), key.size());
        const bool folder = key.find('\\', key.size() - tailLength) != std::string::npos;
        data.attributes = folder ? Platform::kFileAttributeDirectory : 0;
        const size_t cut = record.name.rfind('\\');
        data.name = cut == std::string::npos ? record.name : record.name.substr(cut + 1);
        data.creationTime = record.fileTime;
        data.lastAccessTime = record.fileTime;
        data.lastWriteTime = record.fileTime;
        data.size = record.size;
        find.lastKey = key;
        return true;
    }
    return false;
}

bool PakInterface::AddPakFile(const std::string& path)
{
    std::unique_ptr<Platform::MappedFile> mapping = Platform::MappedFile::Open(path);
    if (mapping == nullptr)
        return false;
    auto collection = std::make_unique<PakCollection>();
    collection->view = mapping->Data();
    collection->size = mapping->Size();
    collection->mapping = std::move(mapping);
    return AddCollection(path, std::move(collection));
}

bool PakInterface::AddPakMemory(const std::string& path, std::vector<uint8_t> bytes)
{
    auto collection = std::make_unique<PakCollection>();
    collection->memory = std::move(bytes);
    collection->view = collection->memory.data();
    collection->size = collection->memory.size();
    return AddCollection(path, std::move(collection));
}

bool PakInterface::AddCollection(const std::string& path, std::unique_ptr<PakCollection> collection)
{
    PakCollection* added = collection.get();
    mCollections.push_back(std::move(collection));
    // The pack's own record covers the whole file: opening the pack by its
    // path reads it unscrambled.
    mRecords[FoldPakKey(path)] = PakRecord{added, path, 0, 0, added->size};

    const PakTable table = ParsePakTable(std::span<const uint8_t>(added->view, added->size));
    if (table.status != PakTableStatus::Ok) {
        Platform::OutputDebugText("AddPakFile: " + path + ": " + DescribePakTableStatus(table.status) + "\n");
        return false;
    }
    for (const PakTableEntry& entry : table.entries)
        mRecords[FoldPakKey(entry.name)] = PakRecord{added, entry.name, entry.fileTime, entry.start, entry.size};
    return true;
}

std::string PakInterface::LookupAlias(const std::string& name) const
{
    auto it = mAliases.find(NormalizePakPath(name));
    return it == mAliases.end() ? std::string() : it->second;
}

void PakInterface::Reset()
{
    mRecords.clear();
    mCollections.clear();
    mPrefixFolder.clear();
    mAliases.clear();
}

namespace {

std::atomic<PakInterface*> gPublished{nullptr};
std::once_flag gBuilt;

void BuildOnce()
{
    // Built on first use rather than as a static object, so no module can
    // reach it before it exists; never destroyed, since files may be read
    // while other static objects go away.
    std::call_once(gBuilt, [] { gPublished.store(new PakInterface); });
}

} // namespace

PakInterface* GetSharedPakInterface()
{
    BuildOnce();
    return gPublished.load();
}

void PublishPakInterface(PakInterface* pak)
{
    BuildOnce();
    gPublished.store(pak);
}

} // namespace Tandry
