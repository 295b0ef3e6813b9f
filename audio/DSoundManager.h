// The sound manager over the DirectSound stand-in: 256 sound ids, each a
// static buffer loaded from a WAV, Ogg or AU file (or MP3 through the FMOD
// library, with the FMOD choice), and 32 slots of playing
// instances, each a duplicate of its id's buffer. Made once by the
// application's start-up, with no window when sound is switched off; it then
// runs silent, as it does when the sound output cannot open. The loading
// thread may load into free ids while the main thread plays: one lock guards
// the tables, and decoding runs outside it.
#pragma once

#include "audio/SoundManager.h"
#include "platform/dsound/DirectSound.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <string>

namespace Tandry {

class DSoundInstance;
struct FMOD_INSTANCE;

class DSoundManager : public SoundManager {
public:
    static constexpr int kSoundIds = 256;
    static constexpr int kInstanceSlots = 32;
    // static, software mixing, frequency, pan and volume control, global focus
    static constexpr uint32_t kBufferFlags = 0x80EA;

    DSoundManager(Platform::WindowHandle window, bool useFmod);
    ~DSoundManager() override;
    DSoundManager(const DSoundManager&) = delete;
    DSoundManager& operator=(const DSoundManager&) = delete;

    bool IsReady() override;
    int LoadSoundFile(const std::string& name) override;
    bool LoadSoundIntoSlot(int id, const std::string& name) override;
    void FreeSound(int id) override;
    void SetOverallVolume(double volume) override;
    bool SetSoundDefaultVolume(int id, double volume) override;
    bool SetSoundDefaultPan(int id, int pan) override;
    SoundInstance* NewSoundInstance(int soundId) override;
    void FreeAllSounds() override;
    void FreeAllInstances() override;
    double GetSystemVolume() override;
    void SetSystemVolume(double volume) override;
    void SetWindow(Platform::WindowHandle window, bool windowed) override;
    void StopAllInstances() override;
    int FindFreeSoundId() override;
    int CountLoadedSounds() override;

    // For instances and tests: the output, null when silent.
    Platform::DirectSound* GetDirectSound() const { return mDirectSound; }
    // For tests: the buffer an id holds, or null.
    Platform::DirectSoundBuffer* GetSoundBuffer(int id);
    // A failed duplication ends the program, after a box for the codes it names.
    [[noreturn]] void FailDuplication(Platform::HRESULT result);

    // 0..1, applied to every instance.
    double masterVolume = 1.0;
    // Also decode ".mp3" files through the FMOD library.
    bool useFmod;

private:
    static bool IsId(int id) { return id >= 0 && id < kSoundIds; }
    // Fills a reserved id from its name's files; clears the name when all fail.
    bool LoadReserved(int id, const std::string& name);
    void SweepLocked(uint32_t now);
    void FreeLocked(int id);

    std::mutex mLock;
    std::array<Platform::DirectSoundBuffer*, kSoundIds> mSoundBuffers{};
    std::array<std::string, kSoundIds> mSoundNames;
    std::array<bool, kSoundIds> mLoading{}; // reserved by a load that has not ended
    Platform::DirectSoundBuffer* mPrimaryBuffer = nullptr;
    std::array<double, kSoundIds> mBaseVolumes;
    std::array<int, kSoundIds> mBasePans{};
    std::array<DSoundInstance*, kInstanceSlots> mInstances{};
    uint32_t mLastSweepTime = 0;
    Platform::DirectSound* mDirectSound = nullptr;
    FMOD_INSTANCE* mFmod = nullptr; // a reference, with useFmod once DirectSound exists
    Platform::WindowHandle mWindow;
};

} // namespace Tandry
