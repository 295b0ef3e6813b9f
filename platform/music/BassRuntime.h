// The state of the BASS stand-in, one per process: whether it joined the
// mixer, its settings and its streams by handle. The library's entry points
// (BassLibrary) call into it from the game thread; as the mixer's feeder it
// decodes every stream ahead of each block on the rendering thread.
#pragma once

#include "platform/dsound/SoundMixer.h"
#include "platform/music/BassTypes.h"
#include "platform/music/MusicStream.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace Platform {

class BassRuntime : public MixerFeeder {
public:
    static BassRuntime& Get();

    // Joins the mixer; false without a sound output, and every later call
    // then fails.
    bool Init();
    bool Start();
    bool Stop();
    // Frees every stream and leaves the mixer.
    bool Free();
    bool SetConfig(Bass::DWORD option, Bass::DWORD value);
    // From memory the bytes stay the caller's; from a file the name is the
    // game's relative name, read whole into memory the stream owns. 0 when
    // the bytes cannot be decoded.
    Bass::HANDLE CreateStreamFromMemory(const void* block, Bass::QWORD offset, Bass::QWORD length);
    Bass::HANDLE CreateStreamFromFile(const std::string& name, Bass::QWORD offset, Bass::QWORD length);
    bool FreeStream(Bass::HANDLE handle);
    // Null for an unknown handle.
    std::shared_ptr<MusicStream> Find(Bass::HANDLE handle);

    // For tests.
    bool IsInitialised();
    Bass::DWORD GetBufferMilliseconds();
    Bass::DWORD GetStreamVolume();
    Bass::DWORD GetMusicVolume();
    // Frees everything and forgets the settings.
    void Reset();

    void Feed(uint32_t frames) override;

private:
    BassRuntime() = default;
    Bass::HANDLE AddStream(std::vector<uint8_t> owned, const uint8_t* bytes, size_t size);

    std::mutex mLock; // taken before the mixer's lock, never while calling the mixer's feeder calls
    std::shared_ptr<SoundMixer> mMixer;
    std::map<Bass::HANDLE, std::shared_ptr<MusicStream>> mStreams;
    Bass::HANDLE mNextHandle = 0x10000001;
    Bass::DWORD mBufferMilliseconds = 500;
    Bass::DWORD mStreamVolume = 100;
    Bass::DWORD mMusicVolume = 100;
};

} // namespace Platform
