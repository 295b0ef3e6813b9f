// The music back end over the BASS library, bound to the window it is given.
#pragma once

#include "audio/MusicInterface.h"
#include "platform/window/WindowTypes.h"

namespace Tandry {

class BassMusicInterface : public MusicInterface {
public:
    explicit BassMusicInterface(Platform::WindowHandle window);
};

} // namespace Tandry
