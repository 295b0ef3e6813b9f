// The game's synthesiser: turns the text description of a sound effect or a
// piece of music into 16-bit samples, the same bytes on every run. The
// gamedata tool writes them as WAV (effects) or Ogg Vorbis (music).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Tandry::GameData {

struct SynthSound {
    uint32_t rate = 22050;
    int channels = 1;
    // Interleaved frames.
    std::vector<int16_t> samples;
};

struct SoundVoice {
    bool noise = false;
    double at = 0;
    double length = 0;
    double freq = 0;
    double to = 0;
    double amp = 1;
    double attack = 0;
    double release = 0;
    double decay = 0;
    double smooth = 0;
    double pan = 0;
    std::vector<double> harmonics{1.0};
};

struct SoundSettings {
    double length = -1;
    double rate = 22050;
    double channels = 1;
    double gain = 1;
    double seed = 1;
    double tempo = 120;
};

// A parsed description: what RenderSound plays.
struct SoundScore {
    SoundSettings settings;
    std::vector<SoundVoice> voices;
};

// Settings (each at most once):
//   length SECONDS (required)   rate HZ (22050)   channels 1|2 (1)
//   gain G (1)   seed N (1, the noise)   tempo BEATS-PER-MINUTE (120)
// Voices, any number, mixed:
//   tone  at=S length=S freq=HZ [to=HZ] [amp=A] [attack=S] [release=S]
//         [decay=PER-SECOND] [harmonics=W1,W2,...] [pan=-1..1]
//   noise at=S length=S [amp=A] [attack=S] [release=S] [smooth=0..0.999] [pan=P]
//   note  at=BEAT beats=N pitch=MIDI-NUMBER, then the options of a tone
//   repeat from=BEAT to=BEAT times=N   plays the notes that start in
//         [from, to) N more times, one after the other
// A tone sweeps from freq to "to"; its loudness rises over attack, falls by
// decay and fades out over the last release seconds.
// False with error "line N: why" for a description it cannot play.
bool ParseSoundDescription(std::string_view text, SoundScore& out, std::string& error);
SynthSound RenderSound(const SoundScore& score);

} // namespace Tandry::GameData
