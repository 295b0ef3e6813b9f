#include "resources/pak/PakInterface.h"

#include "platform/debug/DebugOutput.h"
#include "platform/fs/FileOps.h"
#include "resources/pak/NormalizePakPath.h"
#include "resources/pak/PakScramble.h"
#include "resources/pak/PakTable.h"
#include "util/StringUtils.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <mutex>

namespace Tandry {

namespace {

constexpr int kCarriageReturn = 13;

bool IsPackReadMode(const char* mode)
{
    if (mode == nullptr)
        return false;
    const std::string upper = UpperCaseCopy(std::string(mode));
    return upper == "R" || upper == "RB" || upper == "RT";
}

int64_t Remaining(const PakFileHandle* file)
{
    const int64_t size = static_cast<int64_t>(file->record->size);
    return file->position < size ? size - file->position : 0;
}

int64_t SaturatingAdd(int64_t a, int64_t b)
{
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return sum;
}

int64_t SaturatingSub(int64_t a, int64_t b)
{
    int64_t difference = 0;
    if (__builtin_sub_overflow(a, b, &difference))
        return b < 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return difference;
}

} // namespace

PakFileHandle* PakInterface::Open(const std::string& name, const char* mode)
{
    if (IsPackReadMode(mode)) {
        auto it = mRecords.find(NormalizePakPath(name));
        if (it != mRecords.end())
            return new PakFileHandle{&it->second, 0, nullptr};
    }
    FILE* plain = Platform::OpenFile(name, mode);
    if (plain == nullptr)
        return nullptr;
    return new PakFileHandle{nullptr, 0, plain};
}

int PakInterface::Close(PakFileHandle* file)
{
    if (file != nullptr && file->file != nullptr)
        std::fclose(file->file);
    delete file;
    return 0;
}

// Every operation on a handle accepts null, the result of a failed open, and
// answers as for a file that cannot be read.

int PakInterface::Seek(PakFileHandle* file, int64_t offset, int origin)
{
    if (file == nullptr)
        return -1;
    if (file->record == nullptr)
        return fseeko(file->file, static_cast<off_t>(offset), origin);
    const int64_t size = static_cast<int64_t>(file->record->size);
    int64_t position = file->position;
    if (origin == 0)
        position = offset;
    else if (origin == 1)
        position = SaturatingAdd(position, offset);
    else if (origin == 2)
        position = SaturatingSub(size, offset);
    file->position = std::clamp<int64_t>(position, 0, size);
    return 0;
}

int64_t PakInterface::Tell(PakFileHandle* file)
{
    if (file == nullptr)
        return -1;
    if (file->record == nullptr)
        return ftello(file->file);
    return file->position;
}

size_t PakInterface::Read(void* buffer, size_t elementSize, size_t count, PakFileHandle* file)
{
    if (file == nullptr)
        return 0;
    if (file->record == nullptr)
        return std::fread(buffer, elementSize, count, file->file);
    if (elementSize == 0)
        return 0;
    const uint64_t remaining = static_cast<uint64_t>(Remaining(file));
    size_t wanted = 0;
    if (__builtin_mul_overflow(elementSize, count, &wanted) || wanted >= remaining)
        wanted = static_cast<size_t>(remaining);
    if (wanted > 0) {
        const PakRecord& record = *file->record;
        PakXorCopy(static_cast<uint8_t*>(buffer),
            record.collection->view + record.start + static_cast<uint64_t>(file->position), wanted);
        file->position += static_cast<int64_t>(wanted);
    }
    return wanted / elementSize;
}

int PakInterface::GetChar(PakFileHandle* file)
{
    if (file == nullptr)
        return -1;
    if (file->record == nullptr)
        return std::fgetc(file->file);
    const PakRecord& record = *file->record;
    const uint8_t* data = record.collection->view + record.start;
    while (Remaining(file) > 0) {
        const int c = data[file->position++] ^ kPakXorKey;
        if (c != kCarriageReturn)
            return c;
    }
    return -1;
}

int PakInterface::UngetChar(int c, PakFileHandle* file)
{
    if (file == nullptr)
        return -1;
    if (file->record == nullptr)
        return std::ungetc(c, file->file);
    file->position = std::max<int64_t>(file->position - 1, 0);
    return c;
}

wchar_t* PakInterface::GetWideLine(wchar_t* buffer, int, PakFileHandle*)
{
    return buffer;
}

char* PakInterface::GetLine(char* buffer, int maximum, PakFileHandle* file)
{
    if (file == nullptr || maximum <= 0)
        return nullptr;
    if (file->record == nullptr)
        return std::fgets(buffer, maximum, file->file);
    int stored = 0;
    while (stored < maximum - 1) {
        const int c = GetChar(file);
        if (c < 0) {
            if (stored == 0)
                return nullptr;
            break;
        }
        buffer[stored++] = static_cast<char>(c);
        if (c == '\n')
            break;
    }
    buffer[stored] = '\0';
    return buffer;
}

bool PakInterface::AtEnd(PakFileHandle* file)
{
    if (file == nullptr)
        return true;
    if (file->record == nullptr)
        return std::feof(file->file) != 0;
    return Remaining(file) == 0;
}

PakFindRecord* PakInterface::FindFirst(const std::string& pattern, Platform::FindData& data)
{
    auto find = std::make_unique<PakFindRecord>();
    find->pattern = NormalizePakPath(pattern);
    find->diskPattern = pattern;
    if (PackMatch(*find, data))
        return find.release();
    find->findHandle = Platform::FileFinder::First(find->diskPattern, data);
    if (find->findHandle == nullptr)
        return nullptr;
    return find.release();
}

bool PakInterface::FindNext(PakFindRecord* find, Platform::FindData& data)
{
    if (find == nullptr)
        return false;
    if (find->findHandle != nullptr)
        return find->findHandle->Next(data);
    if (PackMatch(*find, data))
        return true;
    find->findHandle = Platform::FileFinder::First(find->diskPattern, data);
    return find->findHandle != nullptr;
}

bool PakInterface::FindClose(PakFindRecord* find)
{
    delete find;
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
    mRecords[UpperCaseCopy(path)] = PakRecord{added, path, 0, 0, added->size};

    const PakTable table = ParsePakTable(std::span<const uint8_t>(added->view, added->size));
    if (table.status != PakTableStatus::Ok) {
        Platform::OutputDebugText("AddPakFile: " + path + ": " + DescribePakTableStatus(table.status) + "\n");
        return false;
    }
    for (const PakTableEntry& entry : table.entries)
        mRecords[UpperCaseCopy(entry.name)] = PakRecord{added, entry.name, entry.fileTime, entry.start, entry.size};
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
