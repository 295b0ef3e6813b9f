#include "platform/audio/AudioOutput.h"

namespace Platform {

bool NoAudioOutput::Open(AudioSource& /*source*/, std::string& error)
{
    error = "no sound device";
    return false;
}

NoAudioOutput& NoAudioOutput::Shared()
{
    static NoAudioOutput output;
    return output;
}

} // namespace Platform
