// How the application makes the services it owns. Each hook has a default
// that makes the real class; tests replace hooks with recording fakes and put
// the defaults back with ResetAppFactories.
#pragma once

#include "platform/window/WindowTypes.h"

#include <functional>
#include <memory>
#include <string>

namespace Tandry {

class DDInterface;
class DemoSeam;
class MusicInterface;
class ResourceManager;
class SoundManager;
class TandryAppBase;
class WidgetManager;

struct AppFactories {
    std::function<WidgetManager*(TandryAppBase*)> widgetManager;
    std::function<ResourceManager*(TandryAppBase*)> resourceManager;
    // Window null when sound is switched off.
    std::function<SoundManager*(Platform::WindowHandle window, bool useFmod)> soundManager;
    std::function<MusicInterface*()> silentMusic;
    // userDataDir: the user data folder, narrowed; the music cache lies under it.
    std::function<MusicInterface*(const std::string& userDataDir)> fmodMusic;
    std::function<MusicInterface*(Platform::WindowHandle window)> bassMusic;
    std::function<std::unique_ptr<DemoSeam>(TandryAppBase*)> demoSeam;
    // The display of the main window, made by its first creation.
    std::function<DDInterface*(TandryAppBase*)> display;
};

AppFactories& GetAppFactories();
void ResetAppFactories();

} // namespace Tandry
