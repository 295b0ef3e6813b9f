#include "game/shell/BoardTransformerFromMovie.h"

namespace Tandry {

BoardTransformerFromMovie::BoardTransformerFromMovie()
    : BoardTransformerToMovie("MovieFadeOutTime", "MovieFadeInTime")
{
}

} // namespace Tandry
