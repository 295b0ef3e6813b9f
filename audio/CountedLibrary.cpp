#include "audio/CountedLibrary.h"

#include "platform/Platform.h"

#include <exception>

namespace Tandry {

void FailLibraryLoad(const std::string& text)
{
    Platform::ServiceBundle& platform = Platform::GetPlatform();
    platform.GetDialogs().MessageBoxA(nullptr, text, "Error", Platform::MB_ICONERROR);
    platform.GetProcess().Exit(0);
    std::terminate(); // Exit does not return
}

} // namespace Tandry
