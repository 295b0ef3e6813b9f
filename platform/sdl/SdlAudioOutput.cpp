#include "platform/sdl/SdlAudioOutput.h"

#include <SDL.h>

namespace Platform {

SdlAudioOutput::~SdlAudioOutput()
{
    Close();
    if (mSubsystemStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudioOutput::Open(AudioSource& source, std::string& error)
{
    if (mDevice != 0) {
        error = "the sound device is open already";
        return false;
    }
    if (!mSubsystemStarted) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            error = std::string("no sound device: ") + SDL_GetError();
            return false;
        }
        mSubsystemStarted = true;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(kRate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<uint8_t>(kChannels);
    wanted.samples = 1024;
    wanted.callback = &SdlAudioOutput::Callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    mSource = &source;
    // No change allowed: SDL converts to whatever the hardware takes.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        mSource = nullptr;
        error = std::string("no sound device: ") + SDL_GetError();
        return false;
    }
    mDevice = device;
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void SdlAudioOutput::Close()
{
    if (mDevice == 0)
        return;
    // Waits for a running callback to finish.
    SDL_CloseAudioDevice(mDevice);
    mDevice = 0;
    mSource = nullptr;
}

void SdlAudioOutput::Callback(void* self, uint8_t* stream, int length)
{
    auto* output = static_cast<SdlAudioOutput*>(self);
    const uint32_t frames = static_cast<uint32_t>(length) / (kChannels * sizeof(int16_t));
    output->mSource->Render(reinterpret_cast<int16_t*>(stream), frames);
}

} // namespace Platform
