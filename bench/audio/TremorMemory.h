// Tremor's vorbisfile callbacks over bytes held in memory, for the benchmarks
// whose reference decodes an Ogg file straight from memory.
#pragma once

#include <tremor/ivorbisfile.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace BenchTremor {

struct MemoryStream {
    const std::vector<uint8_t>* bytes;
    size_t position = 0;
};

inline size_t MemoryRead(void* into, size_t size, size_t count, void* source)
{
    auto* stream = static_cast<MemoryStream*>(source);
    const size_t got = std::min(size * count, stream->bytes->size() - stream->position);
    std::memcpy(into, stream->bytes->data() + stream->position, got);
    stream->position += got;
    return size == 0 ? 0 : got / size;
}

inline int MemorySeek(void* source, ogg_int64_t offset, int origin)
{
    auto* stream = static_cast<MemoryStream*>(source);
    const int64_t size = static_cast<int64_t>(stream->bytes->size());
    const int64_t base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? static_cast<int64_t>(stream->position) : size;
    if (base + offset < 0 || base + offset > size)
        return -1;
    stream->position = static_cast<size_t>(base + offset);
    return 0;
}

inline long MemoryTell(void* source)
{
    return static_cast<long>(static_cast<MemoryStream*>(source)->position);
}

inline const ov_callbacks kMemoryCallbacks = {MemoryRead, MemorySeek, nullptr, MemoryTell};

} // namespace BenchTremor
