// Writes pack files in the layout that the file layer reads (PakTable.h). The
// core writes a list of entries, each read from a file on disk or given as
// bytes, to a file (through the platform's safe write, so a failed run never
// leaves a truncated pack and a mapped pack is never rewritten in place) or
// into memory. CreatePakFromFolder packs the folder "Data" into "game.dat";
// the makepak tool packs the folders it is given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace Tandry {

// The table holds a name of at most this many bytes.
constexpr size_t kPakMaxNameLength = 255;

struct PakWriteEntry {
    std::string name;         // as stored: "DATA\\SOUNDS\\CLICK.WAV"
    uint64_t size = 0;        // from the listing; the file must still have it
    uint64_t fileTime = 0;    // always 0 from the collector
    std::string path;         // read from here when not empty ...
    std::vector<uint8_t> bytes;   // ... else these are the data

    static PakWriteEntry FromBytes(std::string name, std::vector<uint8_t> bytes);
};

// Appends an entry for every file below folder, depth first in listing order
// (upper-cased names, byte-wise). Entry names are folder + "\\" + the relative
// path, '/' turned into '\\' and 'a'..'z' upper-cased; each entry is read
// later by the path the listing gave, so names that differ only in case are
// both read correctly. Links to folders are not followed.
void CollectPakFiles(const std::string& folder, std::vector<PakWriteEntry>& entries);

// Writes the bytes XOR 0x5D; false when fwrite wrote less.
bool WriteScrambled(const void* bytes, size_t length, FILE* file);

// False, with a message naming the entry in error, when a name is longer
// than kPakMaxNameLength, a file is 4 GiB or more, or a file cannot be read
// in full at its listed size when its turn comes. The file variant then
// leaves an existing output as it was and no temporary file behind.
bool WritePakFile(const std::vector<PakWriteEntry>& entries, const std::string& output, std::string& error);
bool WritePakToMemory(const std::vector<PakWriteEntry>& entries, std::vector<uint8_t>& output, std::string& error);

// Packs "Data" into "game.dat". Names too long for the table are skipped
// with a message on the debug output; any other failure keeps the old pack.
void CreatePakFromFolder();

// Test hook: called once the table is written, before the first file is
// read, so a test can remove or shrink a listed file. Empty to clear.
void SetPakWriteHookForTests(std::function<void()> hook);

} // namespace Tandry
