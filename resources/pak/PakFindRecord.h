// One enumeration of the file layer (its find handle): first the pack records
// that match the pattern, in key order, then the folder listing on disk.
#pragma once

#include "platform/fs/FileFinder.h"

#include <memory>
#include <optional>
#include <string>

namespace Tandry {

struct PakFindRecord {
    // The disk listing; null while pack records are being enumerated.
    std::unique_ptr<Platform::FileFinder> findHandle;
    // The key of the last pack record reported; none before the first, so
    // that an empty key cannot restart the walk.
    std::optional<std::string> lastKey;
    std::string pattern;       // normalised, for the pack match
    std::string diskPattern;   // as the caller wrote it, for the disk listing

    // Starts the disk listing; false when it finds nothing.
    bool ListDisk(Platform::FindData& data)
    {
        findHandle = Platform::FileFinder::First(diskPattern, data);
        return findHandle != nullptr;
    }
};

} // namespace Tandry
