#include "game/hog/HogKindName.h"

namespace Tandry {

const std::string& HogKindName()
{
    static const std::string kind{"hog"};
    return kind;
}

} // namespace Tandry
