#include "platform/fs/FolderListing.h"

#include "platform/fs/AsciiCase.h"

#include <algorithm>

namespace Platform {
namespace {

bool Before(const FolderListing::Entry& a, const FolderListing::Entry& b)
{
    if (a.upper != b.upper)
        return a.upper < b.upper;
    return a.name < b.name;
}

} // namespace

FolderListing FolderListing::FromNames(std::vector<std::string> names)
{
    FolderListing listing;
    listing.entries.reserve(names.size());
    for (std::string& name : names) {
        std::string upper = AsciiUpperCopy(name);
        listing.entries.push_back({std::move(upper), std::move(name)});
    }
    std::sort(listing.entries.begin(), listing.entries.end(), Before);
    return listing;
}

const std::string* FolderListing::Match(std::string_view name) const
{
    const std::string upper = AsciiUpperCopy(name);
    auto it = std::lower_bound(entries.begin(), entries.end(), upper,
        [](const Entry& e, const std::string& key) { return e.upper < key; });
    const std::string* first = nullptr;
    for (; it != entries.end() && it->upper == upper; ++it) {
        if (it->name == name)
            return &it->name;
        if (first == nullptr)
            first = &it->name;
    }
    return first;
}

} // namespace Platform
