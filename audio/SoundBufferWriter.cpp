#include "audio/SoundBufferWriter.h"

#include "audio/DSoundManager.h"
#include "resources/pak/PakFile.h"

#include <cstdio>

namespace Tandry {

std::optional<Platform::DSoundWaveFormat> PcmWaveFormat(uint32_t channels, uint32_t rate, uint32_t bits)
{
    if (channels > 0xFFFF || bits > 0xFFFF)
        return std::nullopt;
    Platform::DSoundWaveFormat format;
    format.formatTag = Platform::WAVE_FORMAT_PCM;
    format.channels = static_cast<uint16_t>(channels);
    format.samplesPerSec = rate;
    format.bitsPerSample = static_cast<uint16_t>(bits);
    format.blockAlign = static_cast<uint16_t>(channels * bits / 8);
    format.avgBytesPerSec = format.blockAlign * rate;
    return format;
}

int64_t BytesLeft(PakFileHandle* file)
{
    const int64_t position = PakTell(file);
    if (position < 0 || PakSeek(file, 0, SEEK_END) != 0)
        return 0;
    const int64_t end = PakTell(file);
    PakSeek(file, position, SEEK_SET);
    return end > position ? end - position : 0;
}

SoundBufferWriter::~SoundBufferWriter()
{
    Finish(false);
}

bool SoundBufferWriter::Begin(Platform::DirectSound& sound, const Platform::DSoundWaveFormat& format, uint64_t size)
{
    if (size > UINT32_MAX)
        return false;
    Platform::DSoundBufferDesc desc;
    desc.flags = DSoundManager::kBufferFlags;
    desc.bufferBytes = static_cast<uint32_t>(size);
    desc.format = &format;
    if (sound.CreateSoundBuffer(&desc, &mBuffer, nullptr) != Platform::DS_OK)
        return false;
    uint32_t length = 0;
    if (mBuffer->Lock(0, desc.bufferBytes, &mData, &length, nullptr, nullptr, 0) != Platform::DS_OK) {
        mData = nullptr;
        Finish(false);
        return false;
    }
    mSize = length;
    return true;
}

Platform::DirectSoundBuffer* SoundBufferWriter::Finish(bool complete)
{
    if (mBuffer == nullptr)
        return nullptr;
    Platform::DirectSoundBuffer* buffer = mBuffer;
    mBuffer = nullptr;
    if (mData != nullptr && buffer->Unlock(mData, mSize, nullptr, 0) != Platform::DS_OK)
        complete = false;
    mData = nullptr;
    mSize = 0;
    if (complete)
        return buffer;
    buffer->Release();
    return nullptr;
}

} // namespace Tandry
