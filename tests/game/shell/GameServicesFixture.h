// A test of the game object's services on their own: the game object with
// its window only, initialised without its start-up sequence (no pack,
// resources or title screen), given a cursor overlay, a blank cursor image
// and the cursor globals bound to test pictures, and a board that logs its
// hooks. Every ApplyCursor is recorded with the kind and the game's four
// cursor slots as they were at that moment.
#pragma once

#include "GameAppFixture.h"
#include "game/shell/AmbientSounds.h"
#include "game/shell/CursorWidget.h"
#include "game/shell/GlobalResources.h"
#include "game/shell/ProfileManager.h"
#include "game/shell/SceneService.h"
#include "graphics/display/DDImage.h"
#include "graphics/image/MemoryImage.h"
#include "platform/fs/FileOps.h"
#include "resources/ini/LangTable.h"
#include "util/StringUtils.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace ShellTest {

class ServiceGameApp : public WindowOnlyGameApp {
public:
    struct Applied {
        int kind;
        std::array<Tandry::MemoryImage*, 4> slots;
    };

    void OnInitDone() override { TandryAppBase::OnInitDone(); }
    void ApplyCursor() override
    {
        applied.push_back({mCursorKind, {mCursorImages[0], mCursorImages[1], mCursorImages[2], mCursorImages[3]}});
        GameApp::ApplyCursor();
    }

    std::vector<Applied> applied;
};

// A board that logs the hooks the application's services call.
class HookBoard : public Tandry::BaseBoard {
public:
    HookBoard() : BaseBoard(false) {}
    void Pause() override { hooks.push_back("Pause"); }
    void Resume() override { hooks.push_back("Resume"); }
    void ScreenModeChanged(bool windowed) override
    {
        hooks.push_back(std::string("ScreenModeChanged ") + (windowed ? "windowed" : "full"));
    }

    std::vector<std::string> hooks;
};

class GameServicesFixture : public AppTest::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Tandry::ResetGameIni();
        Tandry::ResetGlobalResources();
        Tandry::ResetLangTableForTests();
        Tandry::SetSceneService(nullptr);
        app = std::make_unique<ServiceGameApp>();
        app->Init();
        // The profile store lives in a folder of the test, whatever data root Init chose.
        Tandry::gGameDataDir = Tandry::WidenString(ProgramFolder());
        Tandry::gProfilesDir = Tandry::gGameDataDir + L"\\profiles\\";
        Platform::MakeFolder(ProgramFolder() + "/profiles");
        blank = std::make_unique<Tandry::DDImage>(nullptr);
        app->mBlankCursorImage = blank.get();
        app->mCursorWidget = &overlay;
        for (auto& [global, picture] : Bindings())
            *global = picture;
        app->applied.clear();
    }
    void TearDown() override
    {
        // The test owns what it lent, whatever the game object's teardown frees.
        app->mCurrentBoard = nullptr;
        app->mCursorWidget = nullptr;
        app->mBlankCursorImage = nullptr;
        app.reset();
        blank.reset();
        Tandry::AmbientSounds::FreeAll();
        Tandry::SetSceneService(nullptr);
        ResetGameShellState();
        AppFixture::TearDown();
    }

    // The cursor globals and the test picture each is bound to.
    std::vector<std::pair<Tandry::Image**, Tandry::MemoryImage*>> Bindings()
    {
        return {{&Tandry::IMAGE_CURSOR_ARROW, &arrow},        {&Tandry::IMAGE_CURSOR_ARROW_RED, &arrowRed},
                {&Tandry::IMAGE_CURSOR_DOOR, &door},          {&Tandry::IMAGE_CURSOR_HAND, &hand},
                {&Tandry::IMAGE_CURSOR_HAND2, &hand2},        {&Tandry::IMAGE_CURSOR_MAGNIFIER, &magnifier},
                {&Tandry::IMAGE_CURSOR_AIM, &aim},            {&Tandry::IMAGE_CURSOR_AIM_HIT, &aimHit},
                {&Tandry::IMAGE_CURSOR_AIM_MISS, &aimMiss}};
    }

    // The board becomes the current one; the test keeps it.
    void UseBoard() { app->mCurrentBoard = &board; }

    // A new profile of that name, made current.
    static void UseNewProfile(const std::wstring& name)
    {
        Tandry::ProfileManager& store = Tandry::GetProfileManager();
        ASSERT_TRUE(store.CreateProfile(name));
        store.SelectProfile(name);
        ASSERT_TRUE(store.LoadCurrentProfile());
    }

    Tandry::MemoryImage arrow{nullptr};
    Tandry::MemoryImage arrowRed{nullptr};
    Tandry::MemoryImage door{nullptr};
    Tandry::MemoryImage hand{nullptr};
    Tandry::MemoryImage hand2{nullptr};
    Tandry::MemoryImage magnifier{nullptr};
    Tandry::MemoryImage aim{nullptr};
    Tandry::MemoryImage aimHit{nullptr};
    Tandry::MemoryImage aimMiss{nullptr};
    std::unique_ptr<Tandry::DDImage> blank;
    Tandry::CursorWidget overlay;
    HookBoard board;
    std::unique_ptr<ServiceGameApp> app;
};

} // namespace ShellTest
