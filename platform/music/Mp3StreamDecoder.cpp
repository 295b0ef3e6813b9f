#include "platform/music/Mp3StreamDecoder.h"

#include "platform/music/MemorySeek.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace Platform {
namespace {

using Memory = Mp3StreamDecoder::Memory;

ssize_t ReadMemory(void* source, void* into, size_t count)
{
    auto& memory = *static_cast<Memory*>(source);
    return static_cast<ssize_t>(memory.Take(into, count));
}

off_t SeekMemory(void* source, off_t offset, int origin)
{
    auto& memory = *static_cast<Memory*>(source);
    if (!SeekWithin(memory.size, memory.position, offset, origin))
        return -1;
    return static_cast<off_t>(memory.position);
}

// Older libraries need it once per process; newer ones ignore it.
bool LibraryReady()
{
    static const bool ready = mpg123_init() == MPG123_OK;
    return ready;
}

} // namespace

Mp3StreamDecoder::Mp3StreamDecoder(const uint8_t* bytes, size_t size)
    : mMemory{bytes, size, 0}
{
}

Mp3StreamDecoder::~Mp3StreamDecoder()
{
    if (mHandle != nullptr) {
        mpg123_close(mHandle);
        mpg123_delete(mHandle);
    }
}

std::unique_ptr<Mp3StreamDecoder> Mp3StreamDecoder::Open(const uint8_t* bytes, size_t size)
{
    if (bytes == nullptr || size == 0 || !LibraryReady())
        return nullptr;
    std::unique_ptr<Mp3StreamDecoder> decoder(new Mp3StreamDecoder(bytes, size));
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    if (handle == nullptr)
        return nullptr;
    decoder->mHandle = handle;
    // The decoder reports nothing on stderr: a bad file is only a refusal.
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    if (mpg123_replace_reader_handle(handle, ReadMemory, SeekMemory, nullptr) != MPG123_OK
        || mpg123_open_handle(handle, &decoder->mMemory) != MPG123_OK)
        return nullptr;
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK || rate <= 0
        || (channels != MPG123_MONO && channels != MPG123_STEREO))
        return nullptr;
    // One output format for the whole file: a frame of another rate or
    // channel count is converted to it by the library.
    mpg123_format_none(handle);
    if (mpg123_format(handle, rate, channels, MPG123_ENC_SIGNED_16) != MPG123_OK
        || mpg123_scan(handle) != MPG123_OK)
        return nullptr;
    const off_t length = mpg123_length(handle);
    if (length <= 0)
        return nullptr;
    decoder->mRate = static_cast<uint32_t>(rate);
    decoder->mChannels = static_cast<uint32_t>(channels);
    decoder->mLength = static_cast<uint64_t>(length);
    return decoder;
}

uint32_t Mp3StreamDecoder::Read(int16_t* out, uint32_t frames)
{
    const size_t frameBytes = mChannels * 2;
    const size_t wanted = static_cast<size_t>(frames) * frameBytes;
    size_t filled = 0;
    int announcements = 0;
    while (filled < wanted && !mAtEnd) {
        size_t done = 0;
        const int result =
            mpg123_read(mHandle, reinterpret_cast<unsigned char*>(out) + filled, wanted - filled, &done);
        filled += done;
        if (result == MPG123_OK)
            continue;
        // The format was fixed when opening; the library announces it again
        // once, which gives no frames.
        if (result == MPG123_NEW_FORMAT && (done > 0 || ++announcements < 2))
            continue;
        mAtEnd = true; // MPG123_DONE or an error: no more frames
    }
    // A part frame at the end is dropped, as the length counts whole frames.
    return static_cast<uint32_t>(filled / frameBytes);
}

bool Mp3StreamDecoder::Seek(uint64_t frame)
{
    if (frame > mLength)
        return false;
    const off_t at = mpg123_seek(mHandle, static_cast<off_t>(frame), SEEK_SET);
    mAtEnd = at < 0;
    return at >= 0;
}

} // namespace Platform
