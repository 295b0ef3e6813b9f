#include "platform/fs/PathResolver.h"

#include "platform/fs/FolderCache.h"

#include <vector>

namespace Platform {
namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

struct SplitPath {
    bool absolute = false;
    std::vector<std::string_view> components;
};

SplitPath Split(std::string_view path)
{
    SplitPath out;
    out.absolute = !path.empty() && IsSeparator(path[0]);
    size_t i = 0;
    while (i < path.size()) {
        while (i < path.size() && IsSeparator(path[i]))
            ++i;
        size_t end = i;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        const std::string_view part = path.substr(i, end - i);
        i = end;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!out.components.empty() && out.components.back() != "..")
                out.components.pop_back();
            else if (!out.absolute)
                out.components.push_back(part);
            continue;
        }
        out.components.push_back(part);
    }
    return out;
}

// Joins components [0, count) onto the root of the path.
std::string Join(const SplitPath& split, size_t count)
{
    std::string out = split.absolute ? "/" : "";
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            out += '/';
        out += split.components[i];
    }
    if (out.empty())
        out = ".";
    return out;
}

void Append(std::string& path, std::string_view component)
{
    if (path == ".")
        path.clear();
    else if (path.back() != '/')
        path += '/';
    path += component;
}

} // namespace

std::string PathResolver::Normalize(std::string_view path)
{
    if (path.empty())
        return std::string();
    const SplitPath split = Split(path);
    return Join(split, split.components.size());
}

bool PathResolver::IsNormal(std::string_view path)
{
    if (path.empty() || path == "/" || path == ".")
        return true;
    const bool absolute = path[0] == '/';
    bool onlyParents = !absolute;
    size_t i = absolute ? 1 : 0;
    while (true) {
        size_t end = i;
        while (end < path.size() && path[end] != '/') {
            if (path[end] == '\\')
                return false;
            ++end;
        }
        const std::string_view part = path.substr(i, end - i);
        if (part.empty() || part == ".")
            return false;
        if (part == "..") {
            if (!onlyParents)
                return false;
        } else {
            onlyParents = false;
        }
        if (end == path.size())
            return true;
        i = end + 1;
    }
}

std::string PathResolver::Resolve(std::string_view path)
{
    if (path.empty())
        return std::string();
    const SplitPath split = Split(path);
    const size_t count = split.components.size();
    if (count == 0)
        return Join(split, 0);

    // Start from the parent when its exact spelling exists, so a lookup costs
    // one stat while that folder is unchanged. When it did not exist last
    // time, start from the depth that did, so a folder written in another
    // case costs no failed stat per level on every lookup.
    const std::string parent = Join(split, count - 1);
    const size_t hint = FolderCache::KnownDepth(parent);
    size_t known = hint < count - 1 ? hint : count - 1;
    std::string folder = known == count - 1 ? parent : Join(split, known);
    std::shared_ptr<const FolderListing> listing = FolderCache::Get(folder);
    while (listing == nullptr && known > 0) {
        --known;
        folder = Join(split, known);
        listing = FolderCache::Get(folder);
    }
    if (listing != nullptr && known < count - 1 && known != hint)
        FolderCache::RememberDepth(parent, known);
    if (listing == nullptr)
        return Join(split, count);

    std::string resolved = folder;
    for (size_t i = known; i < count; ++i) {
        const std::string* onDisk = listing->Match(split.components[i]);
        if (onDisk == nullptr) {
            for (size_t rest = i; rest < count; ++rest)
                Append(resolved, split.components[rest]);
            return resolved;
        }
        Append(resolved, *onDisk);
        if (i + 1 == count)
            break;
        // The parent exists as written again: next time one stat will do.
        if (i + 2 == count && known < count - 1 && resolved == parent)
            FolderCache::RememberDepth(parent, count - 1);
        listing = FolderCache::Get(resolved);
        if (listing == nullptr) {
            for (size_t rest = i + 1; rest < count; ++rest)
                Append(resolved, split.components[rest]);
            return resolved;
        }
    }
    return resolved;
}

} // namespace Platform
