// The game object started headless in a copy of the game folder, and the
// resource steps of its start-up run on the built data: "game.dat" added,
// the manifest parsed, the groups "Common" and "Game" loaded and the global
// fonts and pictures bound by id. The data tests check the built files
// through it, as the game will read them.
#pragma once

#include "game/shell/GameApp.h"
#include "platform/fs/FileOps.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/manager/ResourceManager.h"
#include "resources/manager/ResourceManagerException.h"

#include <memory>
#include "tests/game/GlobalResourceIds.h"

#include <string>
#include <vector>

namespace GameDataTest {

using GameTest::GlobalFontIds;
using GameTest::GlobalImageIds;

// The framework's start-up without the game's own: the tests run its
// resource steps themselves, to see which of them fails.
class FrameworkStartedGame : public Tandry::GameApp {
public:
    void OnInitDone() override {}
};

class StartedGame {
public:
    // Starts the game object in the current folder, which must hold the game.
    StartedGame()
    {
        Platform::HeadlessPlatform& platform = Platform::InstallHeadlessPlatform();
        // The framework changes to the program's folder: the game folder.
        platform.Process().SetProgramPath(Platform::GetCurrentFolder() + "/moorglen");
        mGame = std::make_unique<FrameworkStartedGame>();
        mGame->Init();
    }
    ~StartedGame()
    {
        mGame.reset();
        Platform::ResetPlatform();
    }
    StartedGame(const StartedGame&) = delete;
    StartedGame& operator=(const StartedGame&) = delete;

    Tandry::GameApp& Game() { return *mGame; }
    Tandry::ResourceManager& Resources() { return *mGame->mResourceManager; }

    // The resource steps of the start-up; false with the error the game
    // would show. The step that failed is named first.
    bool LoadResources(std::string& error)
    {
        Tandry::GetSharedPakInterface()->AddPakFile("game.dat");
        Tandry::ResourceManager& resources = Resources();
        if (!resources.ParseResourcesFile("data\\properties\\resources.xml")) {
            error = "manifest: " + resources.GetErrorText();
            return false;
        }
        if (!resources.LoadResources("Common")) {
            error = "Common: " + resources.GetErrorText();
            return false;
        }
        try {
            for (const std::string& id : GlobalFontIds())
                resources.GetFontThrow(id);
            for (const std::string& id : GlobalImageIds())
                resources.GetImageThrow(id);
        } catch (const Tandry::ResourceManagerException& failure) {
            error = std::string("binding: ") + failure.what();
            return false;
        }
        if (!resources.LoadResources("Game")) {
            error = "Game: " + resources.GetErrorText();
            return false;
        }
        return true;
    }

private:
    std::unique_ptr<Tandry::GameApp> mGame;
};

} // namespace GameDataTest
