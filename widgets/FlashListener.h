// Receives what a FlashWidget's movie reports: that it stopped by itself and
// the commands it sends. The title screen's movie pages and the cut-scene
// board listen; both operations do nothing by default.
#pragma once

#include <string>

namespace Tandry {

class FlashListener {
public:
    virtual ~FlashListener() = default;

    virtual void OnMovieStopped(int id);
    virtual void OnFlashCommand(int id, const std::string& command, const std::string& arguments);
};

} // namespace Tandry
