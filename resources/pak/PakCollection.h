// One pack file added to the file layer: the read-only bytes of the whole file
// that its records point into, either mapped from disk or held in memory
// (tests and fuzz targets build packs in memory).
#pragma once

#include "platform/fs/MappedFile.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Tandry {

struct PakCollection {
    std::unique_ptr<Platform::MappedFile> mapping;
    std::vector<uint8_t> memory;
    const uint8_t* view = nullptr;
    uint64_t size = 0;
};

} // namespace Tandry
