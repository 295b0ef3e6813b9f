#include "resources/pak/PakFile.h"

#include "platform/fs/FileOps.h"
#include "resources/pak/PakInterface.h"

#include <new>

namespace Tandry {

// Without a published interface a handle is always a plain file; a pack
// handle left over from before an unpublish reads as an empty file. Null
// handles answer as in PakInterface.

PakFileHandle* PakOpen(const std::string& name, const char* mode)
{
    PakInterface* pak = GetSharedPakInterface();
    if (pak == nullptr) {
        FILE* plain = Platform::OpenFile(name, mode);
        return plain == nullptr ? nullptr : new PakFileHandle{nullptr, 0, plain};
    }
    if (!pak->PrefixFolder().empty()) {
        if (PakFileHandle* file = pak->Open(pak->PrefixFolder() + name, mode))
            return file;
    }
    if (PakFileHandle* file = pak->Open(name, mode))
        return file;
    const std::string alias = pak->LookupAlias(name);
    if (alias.empty())
        return nullptr;
    return pak->Open(alias, mode);
}

void PakClose(PakFileHandle* file)
{
    if (PakInterface* pak = GetSharedPakInterface()) {
        pak->Close(file);
        return;
    }
    if (file != nullptr && file->file != nullptr)
        std::fclose(file->file);
    delete file;
}

void PakCloseIfOpen(PakFileHandle* file)
{
    if (file != nullptr)
        PakClose(file);
}

size_t PakRead(void* buffer, size_t elementSize, size_t count, PakFileHandle* file)
{
    if (PakInterface* pak = GetSharedPakInterface())
        return pak->Read(buffer, elementSize, count, file);
    return file == nullptr || file->file == nullptr ? 0 : std::fread(buffer, elementSize, count, file->file);
}

size_t PakReadBytes(PakFileHandle* file, void* buffer, size_t count)
{
    return PakRead(buffer, 1, count, file);
}

int PakSeek(PakFileHandle* file, int64_t offset, int origin)
{
    if (PakInterface* pak = GetSharedPakInterface())
        return pak->Seek(file, offset, origin);
    return file == nullptr || file->file == nullptr ? -1 : fseeko(file->file, static_cast<off_t>(offset), origin);
}

int64_t PakTell(PakFileHandle* file)
{
    if (PakInterface* pak = GetSharedPakInterface())
        return pak->Tell(file);
    return file == nullptr || file->file == nullptr ? -1 : ftello(file->file);
}

int PakGetChar(PakFileHandle* file)
{
    if (PakInterface* pak = GetSharedPakInterface())
        return pak->GetChar(file);
    return file == nullptr || file->file == nullptr ? -1 : std::fgetc(file->file);
}

int PakUngetChar(int c, PakFileHandle* file)
{
    if (PakInterface* pak = GetSharedPakInterface())
        return pak->UngetChar(c, file);
    return file == nullptr || file->file == nullptr ? -1 : std::ungetc(c, file->file);
}

bool PakAtEnd(PakFileHandle* file)
{
    if (PakInterface* pak = GetSharedPakInterface())
        return pak->AtEnd(file);
    return file == nullptr || file->file == nullptr || std::feof(file->file) != 0;
}

char* PakReadWholeFile(const std::string& name)
{
    PakFileHandle* file = PakOpen(name);
    if (file == nullptr)
        return nullptr;
    PakSeek(file, 0, 2);
    const int64_t length = PakTell(file);
    char* buffer = nullptr;
    if (length > 0)
        buffer = new (std::nothrow) char[static_cast<size_t>(length) + 1];
    if (buffer == nullptr) {
        PakClose(file);
        return nullptr;
    }
    PakSeek(file, 0, 0);
    if (PakRead(buffer, static_cast<size_t>(length), 1, file) != 1) {
        delete[] buffer;
        PakClose(file);
        return nullptr;
    }
    buffer[length] = '\0';
    PakClose(file);
    return buffer;
}

int PakSeekCallback(PakFileHandle* file, int64_t offset, int origin)
{
    if (file == nullptr)
        return -1;
    return PakSeek(file, offset, origin);
}

size_t PakCodecRead(void* buffer, size_t size, PakFileHandle* file)
{
    return PakRead(buffer, 1, size, file);
}

int PakCodecSeek(PakFileHandle* file, int64_t offset)
{
    return PakSeek(file, offset, 0);
}

PakFindRecord* PakFindFirst(const std::string& pattern, Platform::FindData& data)
{
    if (PakInterface* pak = GetSharedPakInterface())
        return pak->FindFirst(pattern, data);
    auto finder = Platform::FileFinder::First(pattern, data);
    if (finder == nullptr)
        return nullptr;
    auto* find = new PakFindRecord;
    find->findHandle = std::move(finder);
    find->diskPattern = pattern;
    return find;
}

bool PakFindNext(PakFindRecord* find, Platform::FindData& data)
{
    if (PakInterface* pak = GetSharedPakInterface())
        return pak->FindNext(find, data);
    return find != nullptr && find->findHandle != nullptr && find->findHandle->Next(data);
}

void PakFindClose(PakFindRecord* find)
{
    if (PakInterface* pak = GetSharedPakInterface()) {
        pak->FindClose(find);
        return;
    }
    delete find;
}

} // namespace Tandry
