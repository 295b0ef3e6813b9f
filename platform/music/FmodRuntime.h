// The state of the FMOD stand-in, one per process: the window and buffer
// size it was given, whether it joined the mixer, its samples and its 64
// channels, each a streaming voice of the shared mixer. The library's entry
// points (FmodLibrary) call into it from the game thread; as the mixer's
// feeder it fills every playing channel ahead of each block. Tests read its
// call log and make chosen calls fail, as with the other stand-ins.
#pragma once

#include "platform/dsound/SoundMixer.h"
#include "platform/music/FmodSample.h"
#include "platform/music/MusicStream.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Platform {

class FmodRuntime : public MixerFeeder {
public:
    // The calls tests can make fail.
    enum class Fault { Init, SampleLoad, SampleLock, PlaySound };

    struct Call {
        std::string name; // the entry's plain name, "FSOUND_Init"
        std::vector<int64_t> values; // its numeric arguments, in order
        std::string text;            // its file name, when it has one
        bool ok = true;
    };

    static FmodRuntime& Get();

    bool SetBufferSize(int32_t milliseconds);
    bool SetHWND(WindowHandle window);
    // Joins the mixer; false without a sound output, or when already joined.
    bool Init(int32_t mixRate, int32_t channels, uint32_t flags);
    // Stops every channel, frees every sample and leaves the mixer.
    void Close();

    // The name is resolved in the file system, not in the packs.
    Fmod::FSOUND_SAMPLE* SampleLoad(int32_t index, const char* name, uint32_t mode, int32_t offset);
    // The same decoding from bytes in memory, named by their extension.
    Fmod::FSOUND_SAMPLE* SampleFromBytes(const std::string& extension, const uint8_t* bytes, size_t size);
    Fmod::FSOUND_SAMPLE* SampleAlloc(int32_t length, uint32_t mode, int32_t frequency, int32_t volume, int32_t pan,
                                     int32_t priority);
    void SampleFree(Fmod::FSOUND_SAMPLE* sample);
    // One part only: the sample's memory from offset to its end.
    bool SampleLock(Fmod::FSOUND_SAMPLE* sample, int32_t offset, int32_t length, void** part1, void** part2,
                    uint32_t* length1, uint32_t* length2);
    bool SampleUnlock(Fmod::FSOUND_SAMPLE* sample);
    bool SampleSetLoopPoints(Fmod::FSOUND_SAMPLE* sample, int32_t loopStart, int32_t loopLength);
    uint32_t SampleGetLength(Fmod::FSOUND_SAMPLE* sample);
    bool SampleGetDefaults(Fmod::FSOUND_SAMPLE* sample, int32_t* frequency, int32_t* volume, int32_t* pan,
                           int32_t* priority);
    uint32_t SampleGetMode(Fmod::FSOUND_SAMPLE* sample);

    // The channel, or -1 for a channel outside 0..63, an unknown sample or
    // no mixer.
    int32_t PlaySound(int32_t channel, Fmod::FSOUND_SAMPLE* sample);
    bool StopSound(int32_t channel);
    // 0..100, linear; clamped.
    bool SetVolume(int32_t channel, int32_t volume);
    bool SetPaused(int32_t channel, bool paused);
    // 1 plays once, 2 loops.
    bool SetLoopMode(int32_t channel, uint32_t mode);
    // Playing or paused.
    bool IsPlaying(int32_t channel);

    // For tests.
    void InjectFailure(Fault fault, uint32_t count = 1);
    std::vector<Call> GetCallLog();
    void ClearCallLog();
    bool IsInitialised();
    WindowHandle GetWindow();
    int32_t GetBufferSize();
    size_t LiveSamples();
    // The channel's volume, 0..100.
    int32_t GetVolume(int32_t channel);
    // Closes, forgets the settings, the failures and the log.
    void Reset();

    void Feed(uint32_t frames) override;

private:
    struct Channel {
        std::shared_ptr<MusicStream> stream;
        int32_t volume = 100;
    };

    FmodRuntime() = default;
    bool KnownLocked(Fmod::FSOUND_SAMPLE* sample) const;
    bool TakeFaultLocked(Fault fault);
    void LogLocked(Call call);
    // The channel's stream, or null.
    std::shared_ptr<MusicStream> StreamOf(int32_t channel);

    std::mutex mLock; // never held while calling the mixer's feeder calls
    std::shared_ptr<SoundMixer> mMixer;
    WindowHandle mWindow = nullptr;
    int32_t mBufferSize = 0;
    std::map<Fmod::FSOUND_SAMPLE*, std::unique_ptr<Fmod::FSOUND_SAMPLE>> mSamples;
    std::array<Channel, Fmod::kChannels> mChannels;
    std::map<Fault, uint32_t> mFaults;
    std::vector<Call> mLog;
};

} // namespace Platform
