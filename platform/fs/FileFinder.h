// Folder listing in place of FindFirstFileA/FindNextFileA and the runtime's
// _findfirst: the pattern's last component is a Windows wildcard mask ('*',
// '?', "*.*" for every name) matched without regard to case, the folder before
// it goes through the resolver. "." and ".." are listed like other names, and
// entries come sorted by upper-cased name, so that listings and the packs
// written from them are the same on every machine.
#pragma once

#include "platform/fs/FindData.h"

#include <memory>
#include <string>
#include <vector>

namespace Platform {

class FileFinder {
public:
    // Starts a listing and fills data with its first entry; null when the
    // folder cannot be listed or nothing in it matches.
    static std::unique_ptr<FileFinder> First(const std::string& pattern, FindData& data);

    // The next entry; false once the listing is exhausted.
    bool Next(FindData& data);

private:
    FileFinder(std::string folder, std::vector<std::string> names);

    std::string mFolder;
    std::vector<std::string> mNames;
    size_t mNext = 0;
};

} // namespace Platform
