#include "game/shell/ShowProfileScreen.h"

#include "platform/debug/DebugOutput.h"

namespace Tandry {

void ShowProfileScreen(MainMenu* /*menu*/, bool startHidden)
{
    // TODO: the profile screen (choosing, creating and deleting players) comes later; until then nothing opens.
    Platform::OutputDebugStringA(startHidden ? "ShowProfileScreen: hidden\n" : "ShowProfileScreen\n");
}

} // namespace Tandry
