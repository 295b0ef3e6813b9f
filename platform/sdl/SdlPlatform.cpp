#include "platform/sdl/SdlPlatform.h"

#include "platform/Platform.h"
#include "platform/ddraw/DDrawRuntime.h"
#include "platform/debug/StderrDebugOutput.h"
#include "platform/folders/XdgFolders.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/instance/SocketSingleInstance.h"
#include "platform/process/SystemProcess.h"
#include "platform/registry/FileRegistry.h"
#include "platform/sdl/SdlAudioOutput.h"
#include "platform/sdl/SdlClipboard.h"
#include "platform/sdl/SdlCursors.h"
#include "platform/sdl/SdlDialogs.h"
#include "platform/sdl/SdlPresenter.h"
#include "platform/sdl/SdlShell.h"
#include "platform/sdl/SdlWindowSystem.h"
#include "platform/thread/SystemThreadControl.h"
#include "platform/time/SystemClock.h"

#include <SDL.h>

namespace Platform {
namespace {

constexpr uint32_t kSubsystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS;

class SdlPlatform : public ServiceBundle {
public:
    explicit SdlPlatform(const PlatformConfig& config)
        : ServiceBundle(config.company, config.product)
    {
        Services& services = MutableServices();
        services.clock = std::make_unique<SystemClock>();
        services.audio = std::make_unique<SdlAudioOutput>();
        services.threads = std::make_unique<SystemThreadControl>();
        services.process = std::make_unique<SystemProcess>(config.arguments);
        services.debugOutput = std::make_unique<StderrDebugOutput>();
        services.singleInstance = std::make_unique<SocketSingleInstance>();
        services.folders = std::make_unique<XdgFolders>();
        std::string registryFile;
        if (auto settings = services.folders->GetSettingsFolder())
            registryFile = *settings + "/" + config.company + "/" + config.product + "/registry.ini";
        services.registry = std::make_unique<FileRegistry>(registryFile);
        services.clipboard = std::make_unique<SdlClipboard>();
        services.shell = std::make_unique<SdlShell>();
        auto windows = std::make_unique<SdlWindowSystem>(*services.clock, *services.singleInstance);
        services.dialogs = std::make_unique<SdlDialogs>(*windows);
        services.cursors = std::make_unique<SdlCursors>();
        services.presenter = std::make_unique<SdlPresenter>(*windows);
        services.windows = std::move(windows);
        // Only tests read the stand-ins' call log; a player's game keeps none.
        DDrawSettings settings = DDrawRuntime::Get().GetSettings();
        settings.logCalls = false;
        DDrawRuntime::Get().SetSettings(settings);
    }

    ~SdlPlatform() override
    {
        // Everything that holds SDL objects goes before SDL itself.
        Services& services = MutableServices();
        services.windows.reset();
        services.cursors.reset();
        services.dialogs.reset();
        services.clipboard.reset();
        services.shell.reset();
        services.audio.reset();
        SDL_QuitSubSystem(kSubsystems);
    }
};

std::unique_ptr<ServiceBundle> CreateSdl(const PlatformConfig& config)
{
    if (SDL_InitSubSystem(kSubsystems) != 0) {
        std::fprintf(stderr, "SDL cannot start: %s\n", SDL_GetError());
        return nullptr;
    }
    return std::make_unique<SdlPlatform>(config);
}

const PlatformBootstrap* const kTable[] = {&kSdlBootstrap, &kHeadlessBootstrap};

} // namespace

const PlatformBootstrap kSdlBootstrap = {"sdl", "a window, input and dialogs through SDL2", CreateSdl};

std::span<const PlatformBootstrap* const> GetBackendTable()
{
    return kTable;
}

} // namespace Platform
