#include "platform/headless/HeadlessPlatform.h"

namespace Platform {
namespace {


template <typename Service, typename Concrete, typename... Args>
Concrete* Fill(std::unique_ptr<Service>& slot, Args&&... args)
{
    auto made = std::make_unique<Concrete>(std::forward<Args>(args)...);
    Concrete* raw = made.get();
    slot = std::move(made);
    return raw;
}

std::unique_ptr<ServiceBundle> CreateHeadless(const PlatformConfig& config)
{
    HeadlessPlatform::Options options;
    options.company = config.company;
    options.product = config.product;
    auto platform = std::make_unique<HeadlessPlatform>(options);
    platform->Process().SetArguments(config.arguments);
    return platform;
}

} // namespace

HeadlessPlatform::HeadlessPlatform()
    : HeadlessPlatform(Options{})
{
}

HeadlessPlatform::HeadlessPlatform(const Options& options)
    : ServiceBundle(options.company, options.product)
{
    Services& services = MutableServices();
    mClock = Fill<::Platform::Clock, HeadlessClock>(services.clock, options.startTick);
    mThreads = Fill<ThreadControl, HeadlessThreadControl>(services.threads);
    mProcess = Fill<ProcessService, HeadlessProcess>(services.process);
    mDebug = Fill<DebugOutput, HeadlessDebugOutput>(services.debugOutput);
    mInstance = Fill<SingleInstance, HeadlessSingleInstance>(services.singleInstance, options.system);
    mFolders = Fill<::Platform::Folders, HeadlessFolders>(services.folders);
    mRegistry = Fill<::Platform::Registry, HeadlessRegistry>(services.registry);
    mClipboard = Fill<::Platform::Clipboard, HeadlessClipboard>(services.clipboard);
    mShell = Fill<::Platform::Shell, HeadlessShell>(services.shell);
    mDialogs = Fill<DialogService, HeadlessDialogs>(services.dialogs);
    mCursors = Fill<CursorService, HeadlessCursors>(services.cursors);
    mWindows = Fill<WindowSystem, HeadlessWindowSystem>(services.windows, *mClock, *mInstance);
    mPresenter = Fill<DisplayPresenter, HeadlessPresenter>(services.presenter, *mWindows);
}

HeadlessPlatform& InstallHeadlessPlatform(const HeadlessPlatform::Options& options)
{
    auto platform = std::make_unique<HeadlessPlatform>(options);
    HeadlessPlatform& installed = *platform;
    InstallPlatform(std::move(platform));
    return installed;
}

const PlatformBootstrap kHeadlessBootstrap = {"headless", "no window; input, answers and time come from the caller",
                                              CreateHeadless};

} // namespace Platform
