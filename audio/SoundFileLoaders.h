// The sound file loaders that fill one sound id: each reads its file through
// the file layer (packs first, then loose files), decodes it to PCM and
// answers a new static buffer of the DirectSound stand-in holding it, or null.
// Every length in a file is checked against the bytes the file has before a
// buffer is made, so bad input fails without a huge allocation. The sound
// manager tries them in the order ".wav", ".mp3", ".ogg", ".au".
#pragma once

#include "platform/dsound/DirectSound.h"

#include <string>

namespace Tandry {

struct FMOD_INSTANCE;

// RIFF WAVE with the "fmt ", "dep " (the source file and its time: a stale
// copy fails) and "xor " (a scrambling byte) chunks.
Platform::DirectSoundBuffer* LoadWavSound(Platform::DirectSound& sound, const std::string& fileName);
// Ogg Vorbis through Tremor, 16-bit.
Platform::DirectSoundBuffer* LoadOggSound(Platform::DirectSound& sound, const std::string& fileName);
// Sun/NeXT audio: 8-bit mu-law (expanded to 16 bits) or 8-bit linear.
Platform::DirectSoundBuffer* LoadAuSound(Platform::DirectSound& sound, const std::string& fileName);
// MP3 through the FMOD library's sample interface; only with the FMOD
// choice. The library opens the file from the disk, not from the packs. A
// sample whose bytes cannot be copied gives no buffer, so the next format
// is tried.
Platform::DirectSoundBuffer* LoadMp3Sound(Platform::DirectSound& sound, const FMOD_INSTANCE& fmod,
                                          const std::string& fileName);

} // namespace Tandry
