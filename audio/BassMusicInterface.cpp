#include "audio/BassMusicInterface.h"

namespace Tandry {

BassMusicInterface::BassMusicInterface(Platform::WindowHandle /*window*/)
{
    // TODO: the library, its tracks and fades come with the BASS back end; until then it is silent.
}

} // namespace Tandry
