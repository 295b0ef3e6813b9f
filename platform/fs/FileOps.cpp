#include "platform/fs/FileOps.h"

#include "platform/fs/EntryInfo.h"
#include "platform/fs/PathResolver.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace Platform {
namespace {

// Builds "rbe", "r+be", "wbe"... from a caller's mode; false for a mode that
// names no way to open. 'e' keeps the descriptor out of child processes.
bool CanonicalMode(const char* mode, char out[6], bool& reading)
{
    if (mode == nullptr)
        return false;
    const char first = static_cast<char>(mode[0] | 0x20);
    if (first != 'r' && first != 'w' && first != 'a')
        return false;
    bool plus = false;
    for (const char* c = mode + 1; *c != '\0'; ++c)
        plus = plus || *c == '+';
    int n = 0;
    out[n++] = first;
    if (plus)
        out[n++] = '+';
    out[n++] = 'b';
    out[n++] = 'e';
    out[n] = '\0';
    reading = first == 'r';
    return true;
}

bool IsFolder(FILE* file)
{
    struct stat st{};
    return fstat(fileno(file), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

FILE* OpenFile(const std::string& path, const char* mode)
{
    char canonical[6];
    bool reading = false;
    if (!CanonicalMode(mode, canonical, reading)) {
        errno = EINVAL;
        return nullptr;
    }
    if (!reading)
        return std::fopen(PathResolver::Resolve(path).c_str(), canonical);

    // The exact spelling costs one open, as fopen itself would.
    const bool normal = PathResolver::IsNormal(path);
    const std::string normalized = normal ? std::string() : PathResolver::Normalize(path);
    const char* written = normal ? path.c_str() : normalized.c_str();
    FILE* file = std::fopen(written, canonical);
    if (file == nullptr && (errno == ENOENT || errno == ENOTDIR)) {
        const std::string resolved = PathResolver::Resolve(path);
        if (resolved != written)
            file = std::fopen(resolved.c_str(), canonical);
    }
    if (file != nullptr && IsFolder(file)) {
        std::fclose(file);
        errno = EISDIR;
        return nullptr;
    }
    return file;
}

bool MakeFolder(const std::string& path)
{
    return mkdir(PathResolver::Resolve(path).c_str(), 0777) == 0;
}

bool RemoveFolder(const std::string& path)
{
    return rmdir(PathResolver::Resolve(path).c_str()) == 0;
}

bool RemoveFile(const std::string& path)
{
    return unlink(PathResolver::Resolve(path).c_str()) == 0;
}

bool RenameOver(const std::string& from, const std::string& to)
{
    return std::rename(PathResolver::Resolve(from).c_str(), PathResolver::Resolve(to).c_str()) == 0;
}

std::string GetCurrentFolder()
{
    // Most folders fit the stack buffer; a deeper one gets a growing heap buffer.
    char local[4096];
    if (getcwd(local, sizeof local) != nullptr)
        return std::string(local);
    std::string folder(2 * sizeof local, '\0');
    while (errno == ERANGE) {
        if (getcwd(folder.data(), folder.size()) != nullptr) {
            folder.resize(std::strlen(folder.c_str()));
            return folder;
        }
        folder.resize(folder.size() * 2);
    }
    return std::string();
}

bool SetCurrentFolder(const std::string& path)
{
    return chdir(PathResolver::Resolve(path).c_str()) == 0;
}

uint32_t GetFileAttributes(const std::string& path)
{
    FindData data;
    if (!ReadEntryInfo(PathResolver::Resolve(path), data))
        return kInvalidFileAttributes;
    return data.attributes;
}

} // namespace Platform
