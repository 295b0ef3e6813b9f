// A snapshot of the names in one folder ("." and ".." included), sorted by
// upper-cased name byte-wise with ties broken by the raw bytes. The resolver
// looks names up in it; folder listings walk it in order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Platform {

struct FolderListing {
    struct Entry {
        std::string upper;
        std::string name;
    };

    std::vector<Entry> entries;

    // Sorts the raw names into a listing.
    static FolderListing FromNames(std::vector<std::string> names);

    // The on-disk spelling of name: the entry spelled exactly so, else the first
    // entry in sorted order that equals it without regard to case; null when none.
    const std::string* Match(std::string_view name) const;
};

} // namespace Platform
