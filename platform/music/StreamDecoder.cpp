#include "platform/music/StreamDecoder.h"

#include "platform/music/Mp3StreamDecoder.h"
#include "platform/music/OggStreamDecoder.h"
#include "platform/music/WavStreamDecoder.h"

namespace Platform {

std::unique_ptr<StreamDecoder> OpenStreamDecoder(const uint8_t* bytes, size_t size)
{
    WavData wav;
    if (ReadWav(bytes, size, wav))
        return std::make_unique<WavStreamDecoder>(wav);
    if (auto ogg = OggStreamDecoder::Open(bytes, size))
        return ogg;
    return Mp3StreamDecoder::Open(bytes, size);
}

} // namespace Platform
