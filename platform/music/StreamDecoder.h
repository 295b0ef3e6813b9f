// What a music stream plays from: a decoder over a file held in memory that
// gives 16-bit frames (mono or stereo, host order) from any frame position.
// Streams of the BASS stand-in decode through it on the audio thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace Platform {

class StreamDecoder {
public:
    virtual ~StreamDecoder() = default;

    virtual uint32_t Rate() const = 0;
    // 1 or 2.
    virtual uint32_t Channels() const = 0;
    // Total frames.
    virtual uint64_t Length() const = 0;
    // Up to frames frames into out (frames × Channels() samples); 0 at the
    // end or on a decoding error.
    virtual uint32_t Read(int16_t* out, uint32_t frames) = 0;
    // False when the frame lies past the end or the seek fails.
    virtual bool Seek(uint64_t frame) = 0;
};

// A WAV (PCM, 8 or 16 bits, mono or stereo), Ogg Vorbis or MP3 decoder over the
// bytes, which must outlive it; null for anything else.
std::unique_ptr<StreamDecoder> OpenStreamDecoder(const uint8_t* bytes, size_t size);

} // namespace Platform
