#include "app/AppFactories.h"

#include "app/DemoStreamSeam.h"
#include "app/NullDisplay.h"
#include "app/TandryAppBase.h"
#include "audio/BassMusicInterface.h"
#include "audio/DSoundManager.h"
#include "audio/FModMusicInterface.h"
#include "audio/MusicInterface.h"
#include "graphics/display/DDInterface.h"
#include "resources/manager/ResourceManager.h"
#include "widgets/WidgetManager.h"

namespace Tandry {

namespace {

AppFactories MakeDefaults()
{
    AppFactories factories;
    factories.widgetManager = [](TandryAppBase* app) { return new WidgetManager(app); };
    factories.resourceManager = [](TandryAppBase* app) { return new ResourceManager(app); };
    factories.soundManager = [](Platform::WindowHandle window, bool useFmod) {
        return new DSoundManager(window, useFmod);
    };
    factories.silentMusic = [] { return new MusicInterface(); };
    factories.fmodMusic = [](const std::string& userDataDir) { return new FModMusicInterface(userDataDir); };
    factories.bassMusic = [](Platform::WindowHandle window) { return new BassMusicInterface(window); };
    factories.demoSeam = [](TandryAppBase* app) { return std::make_unique<DemoStreamSeam>(*app); };
    factories.display = [](TandryAppBase*) { return new DDInterface(); };
    return factories;
}

AppFactories& Storage()
{
    static AppFactories factories = MakeDefaults();
    return factories;
}

} // namespace

AppFactories& GetAppFactories()
{
    return Storage();
}

void ResetAppFactories()
{
    Storage() = MakeDefaults();
}

} // namespace Tandry
