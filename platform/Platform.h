// The service bundle: one object holding every service the program asks of the
// operating system (time, threads, process, debugger output, single instance,
// windows, cursors, dialogs, registry, clipboard, folders, shell, and the
// presenter that shows the display in the window). It is made once, by the
// program's main for the SDL back end or by a test for the headless one, and
// reached through GetPlatform. Services are destroyed in the reverse order of
// their declaration, so the window service goes before the clock and the
// channel it uses.
#pragma once

#include "platform/audio/AudioOutput.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/cursor/CursorService.h"
#include "platform/ddraw/DisplayPresenter.h"
#include "platform/debug/DebugOutput.h"
#include "platform/dialog/DialogService.h"
#include "platform/folders/Folders.h"
#include "platform/instance/SingleInstance.h"
#include "platform/process/ProcessService.h"
#include "platform/registry/Registry.h"
#include "platform/shell/Shell.h"
#include "platform/thread/ThreadControl.h"
#include "platform/time/Clock.h"
#include "platform/window/WindowSystem.h"

#include <memory>
#include <string>

namespace Platform {

class ServiceBundle {
public:
    struct Services {
        std::unique_ptr<Clock> clock;
        // The sound device; after the clock, which the headless one reads. May
        // stay null: the platform then has no sound device.
        std::unique_ptr<AudioOutput> audio;
        std::unique_ptr<ThreadControl> threads;
        std::unique_ptr<ProcessService> process;
        std::unique_ptr<DebugOutput> debugOutput;
        std::unique_ptr<SingleInstance> singleInstance;
        std::unique_ptr<Folders> folders;
        std::unique_ptr<Registry> registry;
        std::unique_ptr<Clipboard> clipboard;
        std::unique_ptr<Shell> shell;
        std::unique_ptr<DialogService> dialogs;
        std::unique_ptr<CursorService> cursors;
        std::unique_ptr<WindowSystem> windows;
        // Shows the display stand-in's primary surface in the window; uses the window service.
        std::unique_ptr<DisplayPresenter> presenter;
    };

    ServiceBundle(std::string company, std::string product);
    virtual ~ServiceBundle();
    ServiceBundle(const ServiceBundle&) = delete;
    ServiceBundle& operator=(const ServiceBundle&) = delete;

    const std::string& GetCompanyName() const { return mCompany; }
    const std::string& GetProductName() const { return mProduct; }

    Clock& GetClock() { return *mServices.clock; }
    AudioOutput& GetAudioOutput() { return mServices.audio ? *mServices.audio : NoAudioOutput::Shared(); }
    ThreadControl& GetThreads() { return *mServices.threads; }
    ProcessService& GetProcess() { return *mServices.process; }
    DebugOutput& GetDebugOutput() { return *mServices.debugOutput; }
    SingleInstance& GetSingleInstance() { return *mServices.singleInstance; }
    Folders& GetFolders() { return *mServices.folders; }
    Registry& GetRegistry() { return *mServices.registry; }
    Clipboard& GetClipboard() { return *mServices.clipboard; }
    Shell& GetShell() { return *mServices.shell; }
    DialogService& GetDialogs() { return *mServices.dialogs; }
    CursorService& GetCursors() { return *mServices.cursors; }
    WindowSystem& GetWindows() { return *mServices.windows; }
    DisplayPresenter& GetPresenter() { return *mServices.presenter; }

protected:
    // Back ends fill every service before the platform is installed.
    Services& MutableServices() { return mServices; }

private:
    std::string mCompany;
    std::string mProduct;
    Services mServices;
};

// Makes the platform that GetPlatform falls back on when none is installed.
using FallbackPlatformFactory = std::unique_ptr<ServiceBundle> (*)();

// The installed platform. The program installs its own at start; without one,
// the fallback factory makes one on first use, and with no fallback either the
// call throws std::logic_error, since every service would be missing.
ServiceBundle& GetPlatform();
// The installed platform, or null; never makes one.
ServiceBundle* TryGetPlatform();
// Installs a platform, replacing (and destroying) the previous one.
void InstallPlatform(std::unique_ptr<ServiceBundle> platform);
// Destroys the installed platform; for tests.
void ResetPlatform();
// Sets the fallback of GetPlatform (null: none). Only tests set one, so that
// code of the layers above can be tested without any set-up.
void SetFallbackPlatformFactory(FallbackPlatformFactory factory);

} // namespace Platform
