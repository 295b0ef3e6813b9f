// The operations of the file layer as one abstract interface: opening,
// reading and seeking files that may lie in a pack or on disk, and listing
// names from both. PakInterface is the one implementation.
#pragma once

#include "platform/fs/FindData.h"
#include "resources/pak/PakFileHandle.h"
#include "resources/pak/PakFindRecord.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace Tandry {

class PakInterfaceBase {
public:
    virtual ~PakInterfaceBase() = default;

    // A new handle, or null. Only read modes ("r", "rb", "rt", any case) look
    // in the packs; every mode falls back to the file on disk.
    virtual PakFileHandle* Open(const std::string& name, const char* mode) = 0;
    // The operations on an open handle answer as the handle's own (see
    // PakFileHandle.h), and a null handle as a file that cannot be read.
    virtual int Close(PakFileHandle* file) = 0;
    virtual int Seek(PakFileHandle* file, int64_t offset, int origin) = 0;
    virtual int64_t Tell(PakFileHandle* file) = 0;
    virtual size_t Read(void* buffer, size_t elementSize, size_t count, PakFileHandle* file) = 0;
    virtual int GetChar(PakFileHandle* file) = 0;
    virtual int UngetChar(int c, PakFileHandle* file) = 0;
    // Reads nothing and answers the buffer, for either kind of file.
    virtual wchar_t* GetWideLine(wchar_t* buffer, int maximum, PakFileHandle* file) = 0;
    virtual char* GetLine(char* buffer, int maximum, PakFileHandle* file) = 0;
    virtual bool AtEnd(PakFileHandle* file) = 0;

    // Null when nothing matches (the invalid find handle).
    virtual PakFindRecord* FindFirst(const std::string& pattern, Platform::FindData& data) = 0;
    virtual bool FindNext(PakFindRecord* find, Platform::FindData& data) = 0;
    virtual bool FindClose(PakFindRecord* find) = 0;
};

} // namespace Tandry
