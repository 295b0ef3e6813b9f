#include "resources/pak/PakFile.h"

#include "resources/pak/PakInterface.h"

#include <memory>
#include <new>

namespace Tandry {

// Opening and listing ask the published interface, since only it knows the
// packs; without one they see the disk alone. Everything done with a handle
// is the handle's own, whether or not an interface is published. A null
// handle, the result of a failed open, answers as a file that cannot be read.

PakFileHandle* PakOpen(const std::string& name, const char* mode)
{
    PakInterface* pak = GetSharedPakInterface();
    if (pak == nullptr)
        return PakFileHandle::OpenLoose(name, mode);
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
    delete file;
}

void PakCloseIfOpen(PakFileHandle* file)
{
    if (file != nullptr)
        PakClose(file);
}

size_t PakRead(void* buffer, size_t elementSize, size_t count, PakFileHandle* file)
{
    return file == nullptr ? 0 : file->Read(buffer, elementSize, count);
}

size_t PakReadBytes(PakFileHandle* file, void* buffer, size_t count)
{
    return PakRead(buffer, 1, count, file);
}

int PakSeek(PakFileHandle* file, int64_t offset, int origin)
{
    return file == nullptr ? -1 : file->Seek(offset, origin);
}

int64_t PakTell(PakFileHandle* file)
{
    return file == nullptr ? -1 : file->Tell();
}

int PakGetChar(PakFileHandle* file)
{
    return file == nullptr ? -1 : file->GetChar();
}

int PakUngetChar(int c, PakFileHandle* file)
{
    return file == nullptr ? -1 : file->UngetChar(c);
}

bool PakAtEnd(PakFileHandle* file)
{
    return file == nullptr || file->AtEnd();
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
    auto find = std::make_unique<PakFindRecord>();
    find->diskPattern = pattern;
    return find->ListDisk(data) ? find.release() : nullptr;
}

bool PakFindNext(PakFindRecord* find, Platform::FindData& data)
{
    if (PakInterface* pak = GetSharedPakInterface())
        return pak->FindNext(find, data);
    return find != nullptr && find->findHandle != nullptr && find->findHandle->Next(data);
}

void PakFindClose(PakFindRecord* find)
{
    delete find;
}

} // namespace Tandry
