#include "audio/SoundFileLoaders.h"

namespace Tandry {

Platform::DirectSoundBuffer* LoadMp3Sound(Platform::DirectSound& /*sound*/, const std::string& /*fileName*/)
{
    // TODO: the FMOD music back end decodes MP3 sounds through the library's
    // sample interface into a buffer of the loaders' flags; until then there is none.
    return nullptr;
}

} // namespace Tandry
