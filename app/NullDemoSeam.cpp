#include "app/NullDemoSeam.h"

namespace Tandry {

bool NullDemoSeam::ReadDemoFile(std::string& error)
{
    // TODO: reading demo files comes with demo recording and playback.
    error = kUnavailableText;
    return false;
}

} // namespace Tandry
