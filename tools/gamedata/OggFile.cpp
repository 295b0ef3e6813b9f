#include "tools/gamedata/OggFile.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace Tandry::GameData {
namespace {

constexpr int kStreamSerial = 0x4D6F6F72;
constexpr float kQuality = 0.4f;
constexpr int kFramesPerWrite = 2048;

// The encoder's state, cleared in reverse order of set-up whatever happens.
class VorbisEncoder {
public:
    ~VorbisEncoder()
    {
        if (mStreamReady)
            ogg_stream_clear(&mStream);
        if (mDspReady) {
            vorbis_block_clear(&mBlock);
            vorbis_dsp_clear(&mDsp);
        }
        vorbis_comment_clear(&mComment);
        vorbis_info_clear(&mInfo);
    }

    bool Start(const SynthSound& sound, std::vector<uint8_t>& out)
    {
        vorbis_info_init(&mInfo);
        vorbis_comment_init(&mComment);
        if (vorbis_encode_init_vbr(&mInfo, sound.channels, static_cast<long>(sound.rate), kQuality) != 0)
            return false;
        vorbis_analysis_init(&mDsp, &mInfo);
        vorbis_block_init(&mDsp, &mBlock);
        mDspReady = true;
        ogg_stream_init(&mStream, kStreamSerial);
        mStreamReady = true;
        ogg_packet identification, comments, codebooks;
        vorbis_analysis_headerout(&mDsp, &mComment, &identification, &comments, &codebooks);
        ogg_stream_packetin(&mStream, &identification);
        ogg_stream_packetin(&mStream, &comments);
        ogg_stream_packetin(&mStream, &codebooks);
        // The headers stand alone on their pages, as players expect.
        Drain(out, true);
        return true;
    }

    // Hands frames to the analysis; zero frames end the stream.
    void Write(const int16_t* samples, int frames, int channels, std::vector<uint8_t>& out)
    {
        if (frames > 0) {
            float** buffer = vorbis_analysis_buffer(&mDsp, frames);
            for (int c = 0; c < channels; ++c)
                for (int i = 0; i < frames; ++i)
                    buffer[c][i] = samples[i * channels + c] / 32768.0f;
        }
        vorbis_analysis_wrote(&mDsp, frames);
        while (vorbis_analysis_blockout(&mDsp, &mBlock) == 1) {
            vorbis_analysis(&mBlock, nullptr);
            vorbis_bitrate_addblock(&mBlock);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&mDsp, &packet) != 0) {
                ogg_stream_packetin(&mStream, &packet);
                Drain(out, false);
            }
        }
        if (frames == 0)
            Drain(out, true);
    }

private:
    void Drain(std::vector<uint8_t>& out, bool flush)
    {
        ogg_page page;
        while ((flush ? ogg_stream_flush(&mStream, &page) : ogg_stream_pageout(&mStream, &page)) != 0) {
            out.insert(out.end(), page.header, page.header + page.header_len);
            out.insert(out.end(), page.body, page.body + page.body_len);
        }
    }

    vorbis_info mInfo{};
    vorbis_comment mComment{};
    vorbis_dsp_state mDsp{};
    vorbis_block mBlock{};
    ogg_stream_state mStream{};
    bool mDspReady = false;
    bool mStreamReady = false;
};

} // namespace

bool EncodeOgg(const SynthSound& sound, std::vector<uint8_t>& out, std::string& error)
{
    std::vector<uint8_t> bytes;
    VorbisEncoder encoder;
    if (!encoder.Start(sound, bytes)) {
        error = "the Vorbis encoder refuses " + std::to_string(sound.channels) + " channel(s) at " +
                std::to_string(sound.rate) + " Hz";
        return false;
    }
    const size_t frames = sound.samples.size() / static_cast<size_t>(sound.channels);
    for (size_t start = 0; start < frames; start += kFramesPerWrite) {
        const int count = static_cast<int>(std::min<size_t>(kFramesPerWrite, frames - start));
        encoder.Write(sound.samples.data() + start * sound.channels, count, sound.channels, bytes);
    }
    encoder.Write(nullptr, 0, sound.channels, bytes);
    out = std::move(bytes);
    return true;
}

} // namespace Tandry::GameData
