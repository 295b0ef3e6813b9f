#include "platform/music/FmodSample.h"

#include "platform/music/Mp3StreamDecoder.h"
#include "platform/music/OggStreamDecoder.h"
#include "platform/music/WavReader.h"

#include <cstring>

namespace Platform::Fmod {
namespace {

// No Vorbis packet gives more than 4096 frames, and each takes a byte at
// least: an Ogg that claims more lies about its length.
constexpr uint64_t kMostOggFramesPerByte = 4096;

uint32_t ModeOf(uint32_t channels, uint32_t bits)
{
    return kLoopOff | (bits == 8 ? k8Bits : k16Bits) | (channels == 1 ? kMono : kStereo);
}

std::unique_ptr<FSOUND_SAMPLE> FromWav(const uint8_t* bytes, size_t size, uint64_t maxBytes)
{
    WavData wav;
    if (!ReadWav(bytes, size, wav) || wav.sampleBytes == 0 || wav.sampleBytes > maxBytes)
        return nullptr;
    auto sample = std::make_unique<FSOUND_SAMPLE>();
    sample->mode = ModeOf(wav.channels, wav.bitsPerSample);
    sample->frequency = static_cast<int32_t>(wav.rate);
    sample->bytes = std::make_shared<std::vector<uint8_t>>(wav.samples, wav.samples + wav.sampleBytes);
    sample->length = wav.sampleBytes / sample->BlockAlign();
    return sample;
}

std::unique_ptr<FSOUND_SAMPLE> FromDecoder(StreamDecoder* decoder, uint64_t maxFrames, uint64_t maxBytes)
{
    if (decoder == nullptr || decoder->Length() == 0 || decoder->Length() > maxFrames
        || decoder->Rate() > INT32_MAX)
        return nullptr;
    const uint32_t frameBytes = decoder->Channels() * 2;
    if (decoder->Length() > maxBytes / frameBytes)
        return nullptr;
    auto sample = std::make_unique<FSOUND_SAMPLE>();
    sample->mode = ModeOf(decoder->Channels(), 16);
    sample->frequency = static_cast<int32_t>(decoder->Rate());
    const auto frames = static_cast<uint32_t>(decoder->Length());
    // Decoded straight into the sample's bytes (new memory is aligned for int16_t).
    auto bytes = std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(frames) * frameBytes);
    auto* pcm = reinterpret_cast<int16_t*>(bytes->data());
    uint32_t filled = 0;
    while (filled < frames) {
        const uint32_t got = decoder->Read(pcm + static_cast<size_t>(filled) * decoder->Channels(), frames - filled);
        if (got == 0)
            break;
        filled += got;
    }
    // A file that breaks off keeps what decoded before the break.
    if (filled == 0)
        return nullptr;
    bytes->resize(static_cast<size_t>(filled) * frameBytes);
    sample->length = filled;
    sample->bytes = std::move(bytes);
    return sample;
}

bool IsExtension(const std::string& extension, const char* wanted)
{
    if (extension.size() != std::strlen(wanted))
        return false;
    for (size_t i = 0; i < extension.size(); ++i) {
        char c = extension[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != wanted[i])
            return false;
    }
    return true;
}

} // namespace

std::unique_ptr<FSOUND_SAMPLE> DecodeSample(const std::string& extension, const uint8_t* bytes, size_t size,
                                            uint64_t maxBytes)
{
    std::unique_ptr<FSOUND_SAMPLE> sample;
    if (bytes == nullptr || size == 0)
        return sample;
    if (IsExtension(extension, ".wav")) {
        sample = FromWav(bytes, size, maxBytes);
    } else if (IsExtension(extension, ".ogg")) {
        std::unique_ptr<OggStreamDecoder> ogg = OggStreamDecoder::Open(bytes, size);
        sample = FromDecoder(ogg.get(), size * kMostOggFramesPerByte, maxBytes);
    } else if (IsExtension(extension, ".mp3")) {
        std::unique_ptr<Mp3StreamDecoder> mp3 = Mp3StreamDecoder::Open(bytes, size);
        sample = FromDecoder(mp3.get(), UINT64_MAX, maxBytes);
    }
    if (sample != nullptr)
        sample->loopLength = sample->length;
    return sample;
}

} // namespace Platform::Fmod
