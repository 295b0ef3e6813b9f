// make_sound_fixtures: writes the test sounds of tests/data/sounds from
// generated tones, the same bytes on every run: WAV files with and without
// the optional chunks, AU files in mu-law and linear, and Ogg Vorbis files
// encoded with libvorbisenc under a fixed stream serial number, and MP3 files
// encoded with LAME (constant bit rate, no tags).
//   make_sound_fixtures <folder>              the fixtures
//   make_sound_fixtures --long <file.ogg>     a 30-second stereo Ogg for the benchmarks
//   make_sound_fixtures --long-mp3 <file.mp3> the same tone as a 30-second MP3
#include <lame/lame.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kSerial = 0x5EED;
// 2020-01-01 00:00:00 UTC in 100-ns units since 1601: the time "dep.wav" stores.
constexpr uint64_t kSourceTime = (1577836800ull + 11644473600ull) * 10000000ull;

void PutU16(Bytes& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(Bytes& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutBigU32(Bytes& out, uint32_t v)
{
    for (int i = 3; i >= 0; --i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutText(Bytes& out, const char* text)
{
    out.insert(out.end(), text, text + std::strlen(text));
}

// A sine of the given frequency, interleaved for the channels; the right
// channel a fifth above the left, so the two differ.
std::vector<int16_t> Tone(uint32_t rate, int channels, uint32_t frames, double frequency, double amplitude)
{
    std::vector<int16_t> samples;
    const double pi = 3.14159265358979323846;
    for (uint32_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) {
            const double f = frequency * (c == 0 ? 1.0 : 1.5);
            samples.push_back(static_cast<int16_t>(std::lround(amplitude * std::sin(2 * pi * f * i / rate))));
        }
    return samples;
}

Bytes SamplesBytes(const std::vector<int16_t>& samples)
{
    Bytes out;
    for (int16_t s : samples)
        PutU16(out, static_cast<uint16_t>(s));
    return out;
}

void PutChunk(Bytes& out, const char* id, const Bytes& content)
{
    PutText(out, id);
    PutU32(out, static_cast<uint32_t>(content.size()));
    out.insert(out.end(), content.begin(), content.end());
}

Bytes FormatChunk(uint32_t tag, uint32_t channels, uint32_t rate, uint32_t bits)
{
    Bytes f;
    PutU16(f, tag);
    PutU16(f, channels);
    PutU32(f, rate);
    PutU32(f, rate * channels * bits / 8);
    PutU16(f, channels * bits / 8);
    PutU16(f, bits);
    return f;
}

Bytes Wav(const std::vector<std::pair<const char*, Bytes>>& chunks)
{
    Bytes body;
    PutText(body, "WAVE");
    for (const auto& [id, content] : chunks)
        PutChunk(body, id, content);
    Bytes out;
    PutText(out, "RIFF");
    PutU32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes DepChunk(const std::string& name, uint64_t time)
{
    Bytes d;
    PutU16(d, static_cast<uint32_t>(name.size()));
    PutText(d, name.c_str());
    PutU32(d, static_cast<uint32_t>(time));
    PutU32(d, static_cast<uint32_t>(time >> 32));
    return d;
}

Bytes Au(uint32_t encoding, uint32_t rate, uint32_t channels, const Bytes& data)
{
    Bytes out;
    PutText(out, ".snd");
    PutBigU32(out, 28);
    PutBigU32(out, static_cast<uint32_t>(data.size()));
    PutBigU32(out, encoding);
    PutBigU32(out, rate);
    PutBigU32(out, channels);
    out.insert(out.end(), 4, 0); // an empty annotation
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

void AppendPage(Bytes& out, const ogg_page& page)
{
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

Bytes Ogg(const std::vector<int16_t>& samples, int channels, long rate)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.3f) != 0) {
        std::fprintf(stderr, "make_sound_fixtures: the Vorbis encoder refused %d channels at %ld Hz\n", channels, rate);
        return {};
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, kSerial);
    Bytes out;
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0)
        AppendPage(out, page);

    const size_t frames = samples.size() / channels;
    const size_t chunk = 1024;
    // Chunks of samples, then an empty write that ends the stream.
    for (size_t start = 0;; start += chunk) {
        const size_t count = start < frames ? std::min(chunk, frames - start) : 0;
        if (count > 0) {
            float** into = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (size_t i = 0; i < count; ++i)
                for (int c = 0; c < channels; ++c)
                    into[c][i] = samples[(start + i) * channels + c] / 32768.0f;
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                    AppendPage(out, page);
            }
        }
        if (count == 0)
            break;
    }
    while (ogg_stream_flush(&stream, &page) != 0)
        AppendPage(out, page);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

Bytes Mp3(const std::vector<int16_t>& samples, int channels, int rate)
{
    lame_global_flags* lame = lame_init();
    if (lame == nullptr)
        return {};
    lame_set_num_channels(lame, channels);
    lame_set_in_samplerate(lame, rate);
    lame_set_out_samplerate(lame, rate);
    lame_set_mode(lame, channels == 1 ? MONO : JOINT_STEREO);
    lame_set_brate(lame, channels == 1 ? 64 : 128);
    lame_set_quality(lame, 5);
    lame_set_bWriteVbrTag(lame, 0);
    lame_set_write_id3tag_automatic(lame, 0);
    Bytes out;
    if (lame_init_params(lame) < 0) {
        std::fprintf(stderr, "make_sound_fixtures: LAME refused %d channels at %d Hz\n", channels, rate);
        lame_close(lame);
        return out;
    }
    const int frames = static_cast<int>(samples.size() / channels);
    // The worst case LAME documents: 1.25 x samples + 7200.
    std::vector<unsigned char> buffer(static_cast<size_t>(frames) * 5 / 4 + 7200);
    std::vector<int16_t> copy = samples; // the encoder takes non-const input
    const int written = channels == 1
        ? lame_encode_buffer(lame, copy.data(), copy.data(), frames, buffer.data(), static_cast<int>(buffer.size()))
        : lame_encode_buffer_interleaved(lame, copy.data(), frames, buffer.data(), static_cast<int>(buffer.size()));
    if (written >= 0) {
        out.assign(buffer.begin(), buffer.begin() + written);
        const int flushed = lame_encode_flush(lame, buffer.data(), static_cast<int>(buffer.size()));
        if (flushed >= 0)
            out.insert(out.end(), buffer.begin(), buffer.begin() + flushed);
        else
            out.clear();
    }
    lame_close(lame);
    return out;
}

bool Write(const std::string& path, const Bytes& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "make_sound_fixtures: cannot write %s\n", path.c_str());
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok && !bytes.empty();
}

bool WriteFixtures(const std::string& folder)
{
    const Bytes mono = SamplesBytes(Tone(22050, 1, 2205, 440, 12000));
    const Bytes stereo = SamplesBytes(Tone(44100, 2, 4410, 330, 9000));
    Bytes scrambled = mono;
    for (uint8_t& b : scrambled)
        b ^= 0x5A;
    Bytes mulaw{0x81, 0x01, 0xFF, 0x80, 0x00, 0x7F};
    Bytes linear{0x00, 0x80, 0x7F, 0xFF, 0x01};
    for (int i = 0; i < 400; ++i) {
        mulaw.push_back(static_cast<uint8_t>(i * 37));
        linear.push_back(static_cast<uint8_t>(std::lround(100 * std::sin(i * 0.1))));
    }
    const std::vector<std::pair<std::string, Bytes>> files = {
        {"plain.wav", Wav({{"data", mono}})},
        {"stereo.wav", Wav({{"fmt ", FormatChunk(1, 2, 44100, 16)}, {"data", stereo}})},
        {"float.wav", Wav({{"fmt ", FormatChunk(3, 1, 22050, 32)}, {"data", mono}})},
        {"float.ogg", Ogg(Tone(22050, 1, 2205, 440, 12000), 1, 22050)},
        {"odd.wav", Wav({{"fmt ", FormatChunk(1, 1, 11025, 16)}, {"junk", Bytes{1, 2, 3}}, {"data", mono}})},
        {"dep.wav", Wav({{"dep ", DepChunk("dep_source.txt", kSourceTime)}, {"data", mono}})},
        {"depmissing.wav", Wav({{"dep ", DepChunk("no_such_source.txt", 0)}, {"data", mono}})},
        {"xor.wav", Wav({{"xor ", Bytes{0x5A}}, {"data", scrambled}})},
        {"mulaw.au", Au(1, 8000, 1, mulaw)},
        {"linear.au", Au(2, 8000, 1, linear)},
        {"enc3.au", Au(3, 8000, 1, linear)},
        {"tone.ogg", Ogg(Tone(44100, 2, 11025, 330, 9000), 2, 44100)},
        {"click.ogg", Ogg(Tone(22050, 1, 1000, 880, 15000), 1, 22050)},
        {"click.mp3", Bytes{'I', 'D', '3', 3, 0, 0, 0, 0, 0, 0}},
        {"tone.mp3", Mp3(Tone(44100, 2, 11025, 330, 9000), 2, 44100)},
        {"beep.mp3", Mp3(Tone(22050, 1, 4410, 660, 12000), 1, 22050)},
        {"stereo.mp3", Mp3(Tone(44100, 2, 4410, 330, 9000), 2, 44100)},
    };
    for (const auto& [name, bytes] : files)
        if (!Write(folder + "/" + name, bytes))
            return false;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--long") == 0)
        return Write(argv[2], Ogg(Tone(44100, 2, 44100 * 30, 262, 10000), 2, 44100)) ? 0 : 1;
    if (argc == 3 && std::strcmp(argv[1], "--long-mp3") == 0)
        return Write(argv[2], Mp3(Tone(44100, 2, 44100 * 30, 262, 10000), 2, 44100)) ? 0 : 1;
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sound_fixtures <folder> | --long <file.ogg> | --long-mp3 <file.mp3>\n");
        return 2;
    }
    return WriteFixtures(argv[1]) ? 0 : 1;
}
