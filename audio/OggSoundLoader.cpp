// The Ogg Vorbis reader: Tremor's vorbisfile over the file layer, decoding
// the whole stream to 16-bit PCM in host order.
#include "audio/SoundBufferWriter.h"
#include "audio/SoundFileLoaders.h"
#include "resources/pak/PakFile.h"

#include <tremor/ivorbisfile.h>

#include <algorithm>
#include <climits>

namespace Tandry {
namespace {

// A Vorbis packet takes at least one byte and gives at most 4096 frames, so
// a stream claiming more frames than that for its size lies.
constexpr int64_t kMostFramesPerByte = 4096;

size_t ReadCallback(void* into, size_t size, size_t count, void* file)
{
    return PakRead(into, size, count, static_cast<PakFileHandle*>(file));
}

int SeekCallback(void* file, ogg_int64_t offset, int origin)
{
    return PakSeekCallback(static_cast<PakFileHandle*>(file), offset, origin);
}

int CloseCallback(void* file)
{
    PakClose(static_cast<PakFileHandle*>(file));
    return 0;
}

long TellCallback(void* file)
{
    return static_cast<long>(PakTell(static_cast<PakFileHandle*>(file)));
}

const ov_callbacks kCallbacks = {ReadCallback, SeekCallback, CloseCallback, TellCallback};

Platform::DirectSoundBuffer* Decode(Platform::DirectSound& sound, OggVorbis_File& stream, int64_t fileBytes)
{
    const vorbis_info* info = ov_info(&stream, -1);
    const ogg_int64_t total = ov_pcm_total(&stream, -1);
    if (info == nullptr || info->channels <= 0 || info->rate <= 0 || total < 0
        || total > fileBytes * kMostFramesPerByte)
        return nullptr;
    const auto format = PcmWaveFormat(static_cast<uint32_t>(info->channels), static_cast<uint32_t>(info->rate), 16);
    SoundBufferWriter writer;
    if (!format || !writer.Begin(sound, *format, static_cast<uint64_t>(total) * static_cast<uint32_t>(info->channels) * 2))
        return nullptr;
    uint32_t filled = 0;
    while (filled < writer.Size()) {
        const int ask = static_cast<int>(std::min<uint32_t>(writer.Size() - filled, INT_MAX));
        int section = 0;
        const long got = ov_read(&stream, reinterpret_cast<char*>(writer.Data() + filled), ask, &section);
        if (got <= 0)
            break;
        filled += static_cast<uint32_t>(got);
    }
    return writer.Finish(filled == writer.Size());
}

} // namespace

Platform::DirectSoundBuffer* LoadOggSound(Platform::DirectSound& sound, const std::string& fileName)
{
    PakFileHandle* file = PakOpen(fileName, "rb");
    if (file == nullptr)
        return nullptr;
    const int64_t fileBytes = BytesLeft(file);
    OggVorbis_File stream;
    if (ov_open_callbacks(file, &stream, nullptr, 0, kCallbacks) != 0) {
        PakClose(file);
        return nullptr;
    }
    Platform::DirectSoundBuffer* buffer = Decode(sound, stream, fileBytes);
    ov_clear(&stream); // closes the file
    return buffer;
}

} // namespace Tandry
