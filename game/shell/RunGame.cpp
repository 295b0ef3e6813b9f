#include "game/shell/RunGame.h"

#include "game/shell/GameApp.h"
#include "game/shell/GameControllerCommon.h"
#include "game/shell/ProfileManager.h"
#include "game/shell/RegisterBoards.h"
#include "game/shell/Scenario.h"
#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>

namespace Tandry {

int RunGame(std::span<const Platform::PlatformBootstrap* const> backends, const std::vector<std::string>& arguments)
{
    Platform::PlatformConfig config{"Hollowmere", "Moorglen", arguments};
    std::string error;
    std::unique_ptr<Platform::ServiceBundle> platform =
        Platform::CreatePlatform(backends, std::getenv("MOORGLEN_PLATFORM"), config, error);
    if (platform == nullptr) {
        std::fprintf(stderr, "moorglen: %s\n", error.c_str());
        return 1;
    }
    Platform::InstallPlatform(std::move(platform));

    // Both exist before the game's start-up hook runs.
    GetGameControllerCommon();
    GetScenario();
    RegisterBoards();
    {
        std::unique_ptr<GameApp> game = std::make_unique<GameApp>();
        game->Init();
        game->Start();
    }
    ShutdownProfileManager();
    Platform::ResetPlatform();
    return 0;
}

} // namespace Tandry
