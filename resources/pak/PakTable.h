// Reads the header and entry table of a pack file from its scrambled bytes.
// Pack layout (little-endian, every byte XOR kPakXorKey): magic 0xBAC04AC0,
// version 0, entries {flags (bit 7 clear), name length N, N name bytes, 4-byte
// size, 8-byte FILETIME}, one end byte with bit 7 set, then the data of every
// entry in table order. The whole table is read and checked before the file
// layer enters any of it, so a damaged pack adds nothing.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace Tandry {

constexpr uint32_t kPakMagic = 0xBAC04AC0u;
constexpr uint32_t kPakVersion = 0;

struct PakTableEntry {
    std::string name;
    uint64_t fileTime = 0;
    uint64_t start = 0;   // offset of the first data byte in the pack file
    uint64_t size = 0;
};

enum class PakTableStatus {
    Ok,
    BadMagic,
    BadVersion,
    EntryCutShort,   // the file ends inside an entry
    DataPastEnd,     // an entry's data would end beyond the end of the file
};

struct PakTable {
    PakTableStatus status = PakTableStatus::Ok;
    std::vector<PakTableEntry> entries;   // empty unless status is Ok
};

// A table that ends at the end of the file without an end byte is complete.
PakTable ParsePakTable(std::span<const uint8_t> file);

const char* DescribePakTableStatus(PakTableStatus status);

} // namespace Tandry
