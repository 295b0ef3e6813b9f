// The free functions through which code reads data files. Opening and
// listing use the published file layer (packs first, then disk, see
// PakInterface.h), or the disk alone when nothing is published; the
// operations on an open handle are the handle's own (PakFileHandle.h), and a
// null handle answers as a file that cannot be read.
#pragma once

#include "platform/fs/FindData.h"
#include "resources/pak/PakFileHandle.h"
#include "resources/pak/PakFindRecord.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace Tandry {

// Tries the prefix folder + name, then the name, then its alias; null when
// none opens. Only read modes look in the packs.
PakFileHandle* PakOpen(const std::string& name, const char* mode = "rb");
void PakClose(PakFileHandle* file);
void PakCloseIfOpen(PakFileHandle* file);   // nothing for null

size_t PakRead(void* buffer, size_t elementSize, size_t count, PakFileHandle* file);
size_t PakReadBytes(PakFileHandle* file, void* buffer, size_t count);
int PakSeek(PakFileHandle* file, int64_t offset, int origin);
int64_t PakTell(PakFileHandle* file);
int PakGetChar(PakFileHandle* file);
int PakUngetChar(int c, PakFileHandle* file);
bool PakAtEnd(PakFileHandle* file);

// The whole file with a NUL after it, owned by the caller (delete[]); null
// when it cannot be opened or read in full, or is empty.
char* PakReadWholeFile(const std::string& name);

// Stream functions handed to decoders: the Ogg seek (-1 for a null file),
// and the JPEG 2000 codec's read and absolute seek.
int PakSeekCallback(PakFileHandle* file, int64_t offset, int origin);
size_t PakCodecRead(void* buffer, size_t size, PakFileHandle* file);
int PakCodecSeek(PakFileHandle* file, int64_t offset);

// Lists pack records matching the pattern, then the folder on disk. Null
// when nothing matches; close every handle that is not null.
PakFindRecord* PakFindFirst(const std::string& pattern, Platform::FindData& data);
bool PakFindNext(PakFindRecord* find, Platform::FindData& data);
void PakFindClose(PakFindRecord* find);

} // namespace Tandry
