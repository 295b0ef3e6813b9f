// The transition of kind "from_movie": the white fade of "to_movie" with the
// times swapped, white over "MovieFadeOutTime", back over "MovieFadeInTime".
#pragma once

#include "game/shell/BoardTransformerToMovie.h"

namespace Tandry {

class BoardTransformerFromMovie : public BoardTransformerToMovie {
public:
    BoardTransformerFromMovie();
};

} // namespace Tandry
