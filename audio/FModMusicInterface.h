// The music back end over the FMOD library.
#pragma once

#include "audio/MusicInterface.h"

namespace Tandry {

class FModMusicInterface : public MusicInterface {
public:
    FModMusicInterface();
};

} // namespace Tandry
