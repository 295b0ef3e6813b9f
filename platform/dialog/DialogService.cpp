#include "platform/dialog/DialogService.h"

#include "platform/codepage/CodePages.h"

namespace Platform {

int DialogService::MessageBoxA(WindowHandle owner, const std::string& text, const std::string& caption,
                               uint32_t flags)
{
    return MessageBoxW(owner, MultiByteToWideChar(CP_ACP, text), MultiByteToWideChar(CP_ACP, caption), flags);
}

int ClosedMessageBoxResult(uint32_t flags)
{
    return (flags & kMessageBoxTypeMask) == MB_YESNO ? IDNO : IDOK;
}

} // namespace Platform
