#include "game/shell/BoardTransformerEmpty.h"

namespace Tandry {

void BoardTransformerEmpty::Advance(float /*seconds*/)
{
    Finish();
}

} // namespace Tandry
