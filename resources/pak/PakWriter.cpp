#include "resources/pak/PakWriter.h"

#include "platform/debug/DebugOutput.h"
#include "platform/fs/FileFinder.h"
#include "platform/fs/FileOps.h"
#include "platform/fs/SafeWrite.h"
#include "resources/pak/PakScramble.h"
#include "resources/pak/PakTable.h"
#include "util/StringUtils.h"

#include <algorithm>
#include <array>

namespace Tandry {
namespace {

constexpr size_t kChunk = 64 * 1024;
constexpr uint64_t kMaxEntrySize = 0xFFFFFFFFu;
constexpr uint8_t kEndOfTable = 0x80;

std::function<void()>& WriteHook()
{
    static std::function<void()> hook;
    return hook;
}

void PutValue(std::vector<uint8_t>& out, uint64_t value, size_t width)
{
    for (size_t i = 0; i < width; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

class FileSink {
public:
    explicit FileSink(FILE* file) : mFile(file) {}
    bool Write(const void* bytes, size_t length) { return WriteScrambled(bytes, length, mFile); }

private:
    FILE* mFile;
};

class MemorySink {
public:
    explicit MemorySink(std::vector<uint8_t>& out) : mOut(out) {}
    bool Write(const void* bytes, size_t length)
    {
        const size_t old = mOut.size();
        mOut.resize(old + length);
        PakXorCopy(mOut.data() + old, static_cast<const uint8_t*>(bytes), length);
        return true;
    }

private:
    std::vector<uint8_t>& mOut;
};

bool CheckEntries(const std::vector<PakWriteEntry>& entries, std::string& error)
{
    for (const PakWriteEntry& entry : entries) {
        if (entry.name.size() > kPakMaxNameLength) {
            error = "name longer than 255 bytes: " + entry.name;
            return false;
        }
        if (entry.size > kMaxEntrySize) {
            error = "file of 4 GiB or more: " + (entry.path.empty() ? entry.name : entry.path);
            return false;
        }
        if (entry.path.empty() && entry.bytes.size() != entry.size) {
            error = "entry size does not match its bytes: " + entry.name;
            return false;
        }
    }
    return true;
}

std::vector<uint8_t> BuildHeaderAndTable(const std::vector<PakWriteEntry>& entries)
{
    std::vector<uint8_t> out;
    PutValue(out, kPakMagic, 4);
    PutValue(out, kPakVersion, 4);
    for (const PakWriteEntry& entry : entries) {
        out.push_back(0);
        out.push_back(static_cast<uint8_t>(entry.name.size()));
        out.insert(out.end(), entry.name.begin(), entry.name.end());
        PutValue(out, entry.size, 4);
        PutValue(out, entry.fileTime, 8);
    }
    out.push_back(kEndOfTable);
    return out;
}

// The table already declared the size, so a file that shrank or grew since
// the listing would shift every later entry's data: it fails the write.
template <class Sink>
bool CopyFileData(const PakWriteEntry& entry, Sink& sink, std::string& error)
{
    FILE* in = Platform::OpenFile(entry.path, "rb");
    if (in == nullptr) {
        error = "cannot open " + entry.path;
        return false;
    }
    std::array<uint8_t, kChunk> buffer;
    uint64_t left = entry.size;
    bool ok = true;
    while (ok && left > 0) {
        const size_t want = static_cast<size_t>(std::min<uint64_t>(left, buffer.size()));
        const size_t got = std::fread(buffer.data(), 1, want, in);
        if (got != want) {
            error = "cannot read " + entry.path + " in full at its listed size of " + std::to_string(entry.size) + " bytes";
            ok = false;
        } else if (!sink.Write(buffer.data(), got)) {
            error = "cannot write the data of " + entry.path;
            ok = false;
        }
        left -= got;
    }
    if (ok && std::fgetc(in) != EOF) {
        error = entry.path + " grew beyond its listed size of " + std::to_string(entry.size) + " bytes";
        ok = false;
    }
    std::fclose(in);
    return ok;
}

template <class Sink>
bool WriteEntries(const std::vector<PakWriteEntry>& entries, Sink& sink, std::string& error)
{
    if (!CheckEntries(entries, error))
        return false;
    const std::vector<uint8_t> table = BuildHeaderAndTable(entries);
    if (!sink.Write(table.data(), table.size())) {
        error = "cannot write the table";
        return false;
    }
    if (WriteHook())
        WriteHook()();
    for (const PakWriteEntry& entry : entries) {
        if (!entry.path.empty()) {
            if (!CopyFileData(entry, sink, error))
                return false;
        } else if (!entry.bytes.empty() && !sink.Write(entry.bytes.data(), entry.bytes.size())) {
            error = "cannot write the data of " + entry.name;
            return false;
        }
    }
    return true;
}

void Collect(const std::string& diskFolder, const std::string& entryFolder, std::vector<PakWriteEntry>& entries)
{
    Platform::FindData data;
    auto listing = Platform::FileFinder::First(diskFolder + "/*.*", data);
    if (listing == nullptr)
        return;
    do {
        if (data.name == "." || data.name == "..")
            continue;
        const std::string path = diskFolder + "/" + data.name;
        const std::string name = entryFolder + "\\" + UpperCaseCopy(data.name);
        if ((data.attributes & Platform::kFileAttributeDirectory) == 0) {
            PakWriteEntry entry;
            entry.name = name;
            entry.size = data.size;
            entry.path = path;
            entries.push_back(std::move(entry));
        } else if ((data.attributes & Platform::kFileAttributeReparsePoint) != 0) {
            // A link may lead back up the tree; packing stays within real folders.
            Platform::OutputDebugText("CollectPakFiles: not following the folder link " + path + "\n");
        } else {
            Collect(path, name, entries);
        }
    } while (listing->Next(data));
}

} // namespace

PakWriteEntry PakWriteEntry::FromBytes(std::string name, std::vector<uint8_t> bytes)
{
    PakWriteEntry entry;
    entry.name = std::move(name);
    entry.size = bytes.size();
    entry.bytes = std::move(bytes);
    return entry;
}

void CollectPakFiles(const std::string& folder, std::vector<PakWriteEntry>& entries)
{
    std::string entryFolder = UpperCaseCopy(folder);
    std::replace(entryFolder.begin(), entryFolder.end(), '/', '\\');
    Collect(folder, entryFolder, entries);
}

bool WriteScrambled(const void* bytes, size_t length, FILE* file)
{
    const uint8_t* in = static_cast<const uint8_t*>(bytes);
    std::array<uint8_t, kChunk> buffer;
    while (length > 0) {
        const size_t n = std::min(length, buffer.size());
        PakXorCopy(buffer.data(), in, n);
        if (std::fwrite(buffer.data(), 1, n, file) != n)
            return false;
        in += n;
        length -= n;
    }
    return true;
}

bool WritePakFile(const std::vector<PakWriteEntry>& entries, const std::string& output, std::string& error)
{
    Platform::SafeWrite write(output);
    if (!write.IsOpen()) {
        error = "cannot create " + output;
        return false;
    }
    FileSink sink(write.File());
    if (!WriteEntries(entries, sink, error)) {
        write.Abandon();
        return false;
    }
    if (!write.Commit()) {
        error = "cannot write " + output;
        return false;
    }
    return true;
}

bool WritePakToMemory(const std::vector<PakWriteEntry>& entries, std::vector<uint8_t>& output, std::string& error)
{
    std::vector<uint8_t> bytes;
    MemorySink sink(bytes);
    if (!WriteEntries(entries, sink, error))
        return false;
    output = std::move(bytes);
    return true;
}

void CreatePakFromFolder()
{
    std::vector<PakWriteEntry> entries;
    CollectPakFiles("Data", entries);
    std::erase_if(entries, [](const PakWriteEntry& entry) {
        if (entry.name.size() <= kPakMaxNameLength)
            return false;
        Platform::OutputDebugText("CreatePakFromFolder: skipped " + entry.path + ": name longer than 255 bytes\n");
        return true;
    });
    std::string error;
    if (!WritePakFile(entries, "game.dat", error))
        Platform::OutputDebugText("CreatePakFromFolder: " + error + "\n");
}

void SetPakWriteHookForTests(std::function<void()> hook)
{
    WriteHook() = std::move(hook);
}

} // namespace Tandry
