#include "platform/fs/FolderCache.h"

#include <dirent.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdint>
#include <cstddef>
#include <ctime>
#include <mutex>
#include <unordered_map>

namespace Platform {
namespace {

constexpr int64_t kNanosPerSecond = 1000000000;

// How far a folder's last change must lie before the start of a read for the
// listing to be trusted afterwards. File times follow the kernel's coarse
// clock (a few milliseconds per tick); a time with no nanoseconds suggests a
// file system that keeps whole seconds (two on FAT).
constexpr int64_t kFineTickMargin = 20 * 1000 * 1000;
constexpr int64_t kCoarseTickMargin = 2 * kNanosPerSecond;

struct CachedFolder {
    FolderStamp stamp;
    bool trusted = false;
    std::shared_ptr<const FolderListing> listing;
};

int64_t ToNanos(const timespec& t)
{
    return static_cast<int64_t>(t.tv_sec) * kNanosPerSecond + t.tv_nsec;
}

int64_t NowNanos()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return ToNanos(now);
}

bool StatStamp(const std::string& folder, FolderStamp& stamp)
{
    struct stat st{};
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    stamp = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino), ToNanos(st.st_mtim),
             ToNanos(st.st_ctim)};
    return true;
}

bool ReadNames(const std::string& folder, std::vector<std::string>& names)
{
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return false;
    while (const dirent* entry = readdir(dir))
        names.emplace_back(entry->d_name);
    closedir(dir);
    return true;
}

class Cache {
public:
    std::shared_ptr<const FolderListing> Get(const std::string& folder)
    {
        FolderStamp stamp;
        if (!mStamps.load()(folder, stamp))
            return nullptr;
        {
            std::lock_guard<std::mutex> hold(mLock);
            auto it = mFolders.find(folder);
            if (it != mFolders.end() && it->second.trusted && it->second.stamp == stamp)
                return it->second.listing;
        }

        const int64_t readStart = mNow.load()();
        std::vector<std::string> names;
        if (!ReadNames(folder, names))
            return nullptr;
        auto listing = std::make_shared<const FolderListing>(FolderListing::FromNames(std::move(names)));

        // Adding, removing or renaming an entry always moves the modification
        // time; the change time only has to match, which catches a
        // modification time set back by hand.
        const int64_t lastChange = stamp.modified;
        const int64_t margin = (lastChange % kNanosPerSecond == 0) ? kCoarseTickMargin : kFineTickMargin;
        const bool trusted = readStart - lastChange > margin;
        std::lock_guard<std::mutex> hold(mLock);
        // Paths come from data; a bound keeps a long run from hoarding them.
        if (mFolders.size() >= kMaxFolders && mFolders.find(folder) == mFolders.end())
            mFolders.clear();
        mFolders[folder] = CachedFolder{stamp, trusted, listing};
        return listing;
    }

    size_t KnownDepth(const std::string& folder)
    {
        std::lock_guard<std::mutex> hold(mLock);
        auto it = mDepths.find(folder);
        return it == mDepths.end() ? SIZE_MAX : it->second;
    }

    void RememberDepth(const std::string& folder, size_t depth)
    {
        std::lock_guard<std::mutex> hold(mLock);
        if (mDepths.size() >= kMaxDepths)
            mDepths.clear();
        mDepths[folder] = depth;
    }

    void Reset()
    {
        std::lock_guard<std::mutex> hold(mLock);
        mFolders.clear();
        mDepths.clear();
        mStamps = &StatStamp;
        mNow = &NowNanos;
    }

    void SetStampSource(FolderCache::StampReader stamps, FolderCache::NowReader now)
    {
        mStamps = stamps;
        mNow = now;
    }

private:
    static constexpr size_t kMaxFolders = 1024;
    static constexpr size_t kMaxDepths = 4096;

    std::mutex mLock;
    // Atomic, so that a test may swap them while the loading thread looks files up.
    std::atomic<FolderCache::StampReader> mStamps{&StatStamp};
    std::atomic<FolderCache::NowReader> mNow{&NowNanos};
    std::unordered_map<std::string, CachedFolder> mFolders;
    std::unordered_map<std::string, size_t> mDepths;
};

Cache& TheCache()
{
    // Never destroyed: files may still be opened while static objects go away.
    static Cache* cache = new Cache;
    return *cache;
}

} // namespace

std::shared_ptr<const FolderListing> FolderCache::Get(const std::string& folder)
{
    return TheCache().Get(folder);
}

size_t FolderCache::KnownDepth(const std::string& folder)
{
    return TheCache().KnownDepth(folder);
}

void FolderCache::RememberDepth(const std::string& folder, size_t depth)
{
    TheCache().RememberDepth(folder, depth);
}

void FolderCache::Reset()
{
    TheCache().Reset();
}

void FolderCache::SetStampSource(StampReader stamps, NowReader now)
{
    TheCache().SetStampSource(stamps, now);
}

} // namespace Platform
