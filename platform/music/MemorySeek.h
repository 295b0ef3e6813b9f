// What the decoders' callbacks over a file held in memory share, the bytes with
// their read position and the seek: the Ogg reader of Tremor and the MP3 reader of
// libmpg123 both move a position within the bytes, the stdio way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace Platform {

// Moves position by offset from origin (SEEK_SET, SEEK_CUR or SEEK_END)
// within size bytes; false, with position unchanged, for a place outside them.
inline bool SeekWithin(size_t size, size_t& position, int64_t offset, int origin)
{
    int64_t base = 0;
    if (origin == SEEK_CUR)
        base = static_cast<int64_t>(position);
    else if (origin == SEEK_END)
        base = static_cast<int64_t>(size);
    else if (origin != SEEK_SET)
        return false;
    if (offset < -base || offset > static_cast<int64_t>(size) - base)
        return false;
    position = static_cast<size_t>(base + offset);
    return true;
}

// A file held in memory and the decoder's read position in it, which the
// callbacks receive as their source.
struct MemoryBytes {
    const uint8_t* bytes;
    size_t size;
    size_t position;

    // Copies up to count bytes from the position into into; the number copied.
    size_t Take(void* into, size_t count)
    {
        const size_t take = count < size - position ? count : size - position;
        std::memcpy(into, bytes + position, take);
        position += take;
        return take;
    }
};

} // namespace Platform
