#include "platform/headless/HeadlessPlatform.h"

#include "platform/headless/FillService.h"

namespace Platform {
namespace {

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
    mClock = FillService<::Platform::Clock, HeadlessClock>(services.clock, options.startTick);
    mAudio = FillService<AudioOutput, HeadlessAudioOutput>(services.audio, *mClock);
    mThreads = FillService<ThreadControl, HeadlessThreadControl>(services.threads);
    mProcess = FillService<ProcessService, HeadlessProcess>(services.process);
    mDebug = FillService<DebugOutput, HeadlessDebugOutput>(services.debugOutput);
    mInstance = FillService<SingleInstance, HeadlessSingleInstance>(services.singleInstance, options.system);
    mFolders = FillService<::Platform::Folders, HeadlessFolders>(services.folders);
    mRegistry = FillService<::Platform::Registry, HeadlessRegistry>(services.registry);
    mClipboard = FillService<::Platform::Clipboard, HeadlessClipboard>(services.clipboard);
    mShell = FillService<::Platform::Shell, HeadlessShell>(services.shell);
    mDialogs = FillService<DialogService, HeadlessDialogs>(services.dialogs);
    mCursors = FillService<CursorService, HeadlessCursors>(services.cursors);
    mWindows = FillService<WindowSystem, HeadlessWindowSystem>(services.windows, *mClock, *mInstance);
    mPresenter = FillService<DisplayPresenter, HeadlessPresenter>(services.presenter, *mWindows);
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
