#include "audio/FModMusicInterface.h"

namespace Tandry {

FModMusicInterface::FModMusicInterface()
{
    // TODO: the library, its tracks and fades come with the FMOD back end; until then it is silent.
}

} // namespace Tandry
