#include "platform/music/OggStreamDecoder.h"

#include "platform/music/MemorySeek.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

namespace Platform {
namespace {

using Memory = OggStreamDecoder::Memory;

size_t ReadMemory(void* into, size_t size, size_t count, void* source)
{
    auto& memory = *static_cast<Memory*>(source);
    if (size == 0)
        return 0;
    const size_t whole = std::min(count, (memory.size - memory.position) / size);
    return memory.Take(into, whole * size) / size;
}

int SeekMemory(void* source, ogg_int64_t offset, int origin)
{
    auto& memory = *static_cast<Memory*>(source);
    return SeekWithin(memory.size, memory.position, offset, origin) ? 0 : -1;
}

int CloseMemory(void*)
{
    return 0;
}

long TellMemory(void* source)
{
    return static_cast<long>(static_cast<Memory*>(source)->position);
}

const ov_callbacks kMemoryCallbacks = {ReadMemory, SeekMemory, CloseMemory, TellMemory};

} // namespace

OggStreamDecoder::OggStreamDecoder(const uint8_t* bytes, size_t size)
    : mMemory{bytes, size, 0}
{
}

std::unique_ptr<OggStreamDecoder> OggStreamDecoder::Open(const uint8_t* bytes, size_t size)
{
    std::unique_ptr<OggStreamDecoder> decoder(new OggStreamDecoder(bytes, size));
    if (ov_open_callbacks(&decoder->mMemory, &decoder->mFile, nullptr, 0, kMemoryCallbacks) != 0)
        return nullptr;
    decoder->mOpen = true;
    const vorbis_info* info = ov_info(&decoder->mFile, -1);
    const ogg_int64_t total = ov_pcm_total(&decoder->mFile, -1);
    if (info == nullptr || (info->channels != 1 && info->channels != 2) || info->rate <= 0 || total < 0)
        return nullptr;
    decoder->mRate = static_cast<uint32_t>(info->rate);
    decoder->mChannels = static_cast<uint32_t>(info->channels);
    decoder->mLength = static_cast<uint64_t>(total);
    return decoder;
}

OggStreamDecoder::~OggStreamDecoder()
{
    if (mOpen)
        ov_clear(&mFile);
}

uint32_t OggStreamDecoder::Read(int16_t* out, uint32_t frames)
{
    const uint32_t frameBytes = mChannels * 2;
    uint64_t wanted = static_cast<uint64_t>(frames) * frameBytes;
    uint64_t filled = 0;
    while (filled < wanted) {
        const vorbis_info* info = ov_info(&mFile, -1);
        if (info == nullptr || static_cast<uint32_t>(info->channels) != mChannels
            || static_cast<uint32_t>(info->rate) != mRate)
            break;
        const int ask = static_cast<int>(std::min<uint64_t>(wanted - filled, INT_MAX));
        int section = 0;
        const long got = ov_read(&mFile, reinterpret_cast<char*>(out) + filled, ask, &section);
        if (got <= 0)
            break;
        filled += static_cast<uint64_t>(got);
    }
    // A part frame at a broken end is dropped.
    return static_cast<uint32_t>(filled / frameBytes);
}

bool OggStreamDecoder::Seek(uint64_t frame)
{
    if (frame > mLength)
        return false;
    return ov_pcm_seek(&mFile, static_cast<ogg_int64_t>(frame)) == 0;
}

} // namespace Platform
