#include "platform/fs/SafeWrite.h"

#include "platform/fs/PathResolver.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

namespace Platform {
namespace {

constexpr size_t kNameKept = 200;

std::atomic<SafeWrite::Fault> gFault{SafeWrite::Fault::None};
std::atomic<unsigned> gCounter{0};

std::string FolderOf(const std::string& path)
{
    const size_t cut = path.find_last_of('/');
    if (cut == std::string::npos)
        return ".";
    return cut == 0 ? "/" : path.substr(0, cut);
}

// Makes the rename itself survive a power cut; failures change nothing that
// the caller could act on, so they are not reported.
void SyncFolder(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

} // namespace

SafeWrite::SafeWrite(const std::string& path) : mTarget(PathResolver::Resolve(path))
{
    if (mTarget.empty() || mTarget.back() == '/' || mTarget == ".")
        return;
    // A link stays a link: the file it leads to is the one replaced.
    struct stat link{};
    if (lstat(mTarget.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* real = realpath(mTarget.c_str(), nullptr)) {
            mTarget = real;
            std::free(real);
        }
    }
    const size_t cut = mTarget.find_last_of('/');
    const std::string prefix = cut == std::string::npos ? std::string() : mTarget.substr(0, cut + 1);
    // Part of the name is enough to tell what the temporary file belongs to,
    // and keeps its own name within the system's limit.
    const std::string name = (cut == std::string::npos ? mTarget : mTarget.substr(cut + 1)).substr(0, kNameKept);

    // Keep the permissions of the file being replaced; a new one gets the
    // usual 0666 less the umask, as fopen would give it.
    struct stat old{};
    const bool replacing = stat(mTarget.c_str(), &old) == 0 && S_ISREG(old.st_mode);

    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = prefix + "." + name + "." + std::to_string(getpid()) + "."
            + std::to_string(gCounter.fetch_add(1)) + ".tmp";
        const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return;
        }
        if (replacing)
            fchmod(fd, old.st_mode & 07777);
        mFile = fdopen(fd, "wb");
        if (mFile == nullptr) {
            close(fd);
            unlink(candidate.c_str());
            return;
        }
        mTemporary = candidate;
        return;
    }
}

SafeWrite::~SafeWrite()
{
    Abandon();
}

bool SafeWrite::Commit()
{
    if (mFile == nullptr)
        return false;
    bool ok = std::fflush(mFile) == 0 && !std::ferror(mFile);
    if (gFault.load() == Fault::Write)
        ok = false;
    ok = ok && fsync(fileno(mFile)) == 0;
    ok = (std::fclose(mFile) == 0) && ok;
    mFile = nullptr;
    if (ok && gFault.load() == Fault::Rename)
        ok = false;
    ok = ok && std::rename(mTemporary.c_str(), mTarget.c_str()) == 0;
    if (!ok) {
        unlink(mTemporary.c_str());
        mTemporary.clear();
        return false;
    }
    mTemporary.clear();
    SyncFolder(FolderOf(mTarget));
    return true;
}

void SafeWrite::Abandon()
{
    if (mFile != nullptr) {
        std::fclose(mFile);
        mFile = nullptr;
    }
    if (!mTemporary.empty()) {
        unlink(mTemporary.c_str());
        mTemporary.clear();
    }
}

bool SafeWrite::WriteBytes(const std::string& path, const void* data, size_t size)
{
    SafeWrite write(path);
    if (!write.IsOpen())
        return false;
    if (size > 0 && std::fwrite(data, 1, size, write.File()) != size) {
        write.Abandon();
        return false;
    }
    return write.Commit();
}

void SafeWrite::SetFaultForTests(Fault fault)
{
    gFault.store(fault);
}

} // namespace Platform
