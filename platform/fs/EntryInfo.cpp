#include "platform/fs/EntryInfo.h"

#include <sys/stat.h>

namespace Platform {
namespace {

// Seconds from 1601-01-01 to 1970-01-01.
constexpr int64_t kFileTimeEpochOffset = 11644473600LL;

uint64_t ToFileTime(const timespec& t)
{
    return static_cast<uint64_t>((static_cast<int64_t>(t.tv_sec) + kFileTimeEpochOffset) * 10000000LL
        + t.tv_nsec / 100);
}

} // namespace

bool ReadEntryInfo(const std::string& path, FindData& out)
{
    struct stat st{};
    if (lstat(path.c_str(), &st) != 0)
        return false;
    uint32_t attributes = 0;
    if (S_ISLNK(st.st_mode)) {
        attributes |= kFileAttributeReparsePoint;
        struct stat target{};
        if (stat(path.c_str(), &target) == 0)
            st = target;
    }
    const bool folder = S_ISDIR(st.st_mode);
    if (folder)
        attributes |= kFileAttributeDirectory;
    out.attributes = attributes;
    // The system keeps no creation time in stat; the last write stands in for it.
    out.creationTime = ToFileTime(st.st_mtim);
    out.lastAccessTime = ToFileTime(st.st_atim);
    out.lastWriteTime = ToFileTime(st.st_mtim);
    out.size = folder ? 0 : static_cast<uint64_t>(st.st_size);
    return true;
}

} // namespace Platform
