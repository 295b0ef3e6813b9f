// Cached listings of folders, so that the resolver does not rescan an unchanged
// folder on every miss (alpha-mask probes and prefix retries make misses
// common). Every lookup stats the folder; a listing is reused only while the
// folder's identity and change times are those it was read with, and only when
// it was read in a later clock tick than the folder's last change, since a
// change within the same tick leaves the timestamps as they were. Guarded by a
// lock: the loading thread reads files too.
#pragma once

#include "platform/fs/FolderListing.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Platform {

// What a lookup reads of a folder: its identity, and its modification and
// change times in nanoseconds since the epoch.
struct FolderStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t modified = 0;
    int64_t changed = 0;

    bool operator==(const FolderStamp&) const = default;
};

class FolderCache {
public:
    // False when folder is not a folder.
    using StampReader = bool (*)(const std::string& folder, FolderStamp& stamp);
    // Now, on the clock the file times follow, in nanoseconds since the epoch.
    using NowReader = int64_t (*)();


    // The current listing of folder (a path as the system takes it), or null
    // when it is not a folder that can be listed.
    static std::shared_ptr<const FolderListing> Get(const std::string& folder);

    // How many leading components of the folder path text existed exactly
    // when it was last resolved, or SIZE_MAX when it was not. Only a place to
    // start: resolving from a shallower folder is always right, just slower.
    static size_t KnownDepth(const std::string& folder);
    static void RememberDepth(const std::string& folder, size_t depth);

    // Forgets every listing and depth, and puts back the real stamps and clock (tests).
    static void Reset();

    // Where the stamps and the time of a read come from: the only way a test
    // can place a read within the same tick as a change, or after it.
    static void SetStampSource(StampReader stamps, NowReader now);
};

} // namespace Platform
