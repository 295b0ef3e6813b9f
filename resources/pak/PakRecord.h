// One file inside a pack: where its bytes lie in the collection's view. The
// file layer keeps records in its map for the life of the process; a handle
// to a pack member points at its record.
#pragma once

#include "resources/pak/PakCollection.h"

#include <cstdint>
#include <string>

namespace Tandry {

struct PakRecord {
    PakCollection* collection = nullptr;
    std::string name;        // as stored in the table
    uint64_t fileTime = 0;   // FILETIME from the table
    uint64_t start = 0;      // offset of the first data byte in the pack file
    uint64_t size = 0;
};

} // namespace Tandry
