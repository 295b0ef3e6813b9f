// A named point of a recorded demo: the demo player lists the markers of a
// played file and can jump to them.
#pragma once

#include <string>

namespace Tandry {

struct DemoMarker {
    std::string name;
    int update = 0;
};

} // namespace Tandry
