#include "app/NullDemoSeam.h"

namespace Tandry {

bool NullDemoSeam::ReadDemoFile(std::string& error)
{
    error = kUnavailableText;
    return false;
}

} // namespace Tandry
