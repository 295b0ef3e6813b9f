// A whole file mapped read-only into memory, for the pack files: reads copy
// straight out of the mapping with no system call. The mapping lasts as long
// as the object; the file layer keeps its packs until exit or a test reset.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace Platform {

class MappedFile {
public:
    // Null when the file cannot be opened or mapped. An empty file maps to
    // no bytes.
    static std::unique_ptr<MappedFile> Open(const std::string& path);

    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const uint8_t* Data() const { return mData; }
    uint64_t Size() const { return mSize; }

private:
    MappedFile(const uint8_t* data, uint64_t size) : mData(data), mSize(size) {}

    const uint8_t* mData;
    uint64_t mSize;
};

} // namespace Platform
