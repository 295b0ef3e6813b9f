// The program's entry point: the game on the SDL back end (or the one that
// MOORGLEN_PLATFORM names).
#include "game/shell/RunGame.h"
#include "platform/sdl/SdlPlatform.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    return Tandry::RunGame(Platform::GetBackendTable(), arguments);
}
