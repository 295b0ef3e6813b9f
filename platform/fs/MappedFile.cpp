#include "platform/fs/MappedFile.h"

#include "platform/fs/FileOps.h"

#include <sys/mman.h>
#include <sys/stat.h>

#include <cstdio>

namespace Platform {

std::unique_ptr<MappedFile> MappedFile::Open(const std::string& path)
{
    FILE* file = OpenFile(path, "rb");
    if (file == nullptr)
        return nullptr;
    struct stat st{};
    if (fstat(fileno(file), &st) != 0 || st.st_size < 0) {
        std::fclose(file);
        return nullptr;
    }
    const uint64_t size = static_cast<uint64_t>(st.st_size);
    if (size == 0) {
        std::fclose(file);
        return std::unique_ptr<MappedFile>(new MappedFile(nullptr, 0));
    }
    // The mapping outlives the descriptor.
    void* view = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fileno(file), 0);
    std::fclose(file);
    if (view == MAP_FAILED)
        return nullptr;
    return std::unique_ptr<MappedFile>(new MappedFile(static_cast<const uint8_t*>(view), size));
}

MappedFile::~MappedFile()
{
    if (mData != nullptr)
        munmap(const_cast<uint8_t*>(mData), mSize);
}

} // namespace Platform
