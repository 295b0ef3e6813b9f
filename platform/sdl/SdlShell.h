// URLs handed to the desktop's browser through SDL_OpenURL.
#pragma once

#include "platform/shell/Shell.h"

namespace Platform {

class SdlShell : public Shell {
public:
    bool OpenUrl(const std::string& url) override;
};

} // namespace Platform
