// The game's application object: the framework's application with the game's
// names, screen and settings. The game shell fills in its screens, loading
// and settings hooks; until then it starts, runs the loop on an empty screen
// and shuts down like the framework.
#pragma once

#include "app/TandryAppBase.h"

#include <string>

namespace Tandry {

class GameApp : public TandryAppBase {
public:
    GameApp();
    ~GameApp() override;

    void Init() override;
    // The game takes no command-line options.
    void HandleCommandLineOption(const std::string& name, const std::string& value) override;

    // 0..1, the loudness of the ambient sound sets.
    double GetAmbientVolume() const { return mAmbientVolume; }

    double mAmbientVolume;
    // Runs the duplicate-image tool at start-up; set from the environment
    // when the program starts (DuplicateImageToolRequested), never by the game.
    bool mDeveloperFlag;
};

// The one game object, the same object as gApplication; null when there is none.
extern GameApp* gGameApp;

} // namespace Tandry
