#include "platform/fs/FileFinder.h"

#include "platform/fs/EntryInfo.h"
#include "platform/fs/FolderCache.h"
#include "platform/fs/PathResolver.h"
#include "platform/fs/WildcardMatch.h"

namespace Platform {

FileFinder::FileFinder(std::string folder, std::vector<std::string> names)
    : mFolder(std::move(folder)), mNames(std::move(names))
{
}

std::unique_ptr<FileFinder> FileFinder::First(const std::string& pattern, FindData& data)
{
    const size_t cut = pattern.find_last_of("/\\");
    const std::string mask = cut == std::string::npos ? pattern : pattern.substr(cut + 1);
    if (mask.empty())
        return nullptr;
    std::string folder = ".";
    if (cut != std::string::npos)
        folder = cut == 0 ? "/" : PathResolver::Resolve(pattern.substr(0, cut));
    const std::shared_ptr<const FolderListing> listing = FolderCache::Get(folder);
    if (listing == nullptr)
        return nullptr;

    std::vector<std::string> names;
    for (const FolderListing::Entry& entry : listing->entries) {
        if (MatchWildcard(mask, entry.name))
            names.push_back(entry.name);
    }
    if (folder.back() != '/')
        folder += '/';
    std::unique_ptr<FileFinder> finder(new FileFinder(std::move(folder), std::move(names)));
    if (!finder->Next(data))
        return nullptr;
    return finder;
}

bool FileFinder::Next(FindData& data)
{
    // Entries are described when reached, so a caller that stops early stats
    // no more than it saw; one removed since the listing is passed over.
    while (mNext < mNames.size()) {
        const std::string& name = mNames[mNext++];
        if (ReadEntryInfo(mFolder + name, data)) {
            data.name = name;
            return true;
        }
    }
    return false;
}

} // namespace Platform
