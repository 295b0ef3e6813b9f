// The game's application object: the framework's application with the game's
// names, screen and settings, and the game's screen state. Every change of
// screen goes through SwitchBoard, which loads the new board at once or on
// the loading thread behind the loading screen, runs the transition from the
// old board and completes the change when the transition reports its end.
#pragma once

#include "app/TandryAppBase.h"
#include "game/shell/BoardTransformerListener.h"

#include <string>

namespace Tandry {

class BaseBoard;
class BoardTransformer;
class CursorWidget;
class DDImage;
class LoadingScreen;
class MusicPlaylist;
class ResourceManager;

class GameApp : public TandryAppBase, public BoardTransformerListener {
public:
    GameApp();
    // Waits for the loading thread, then deletes the transition, the boards
    // (a held one too) and the loading screen.
    ~GameApp() override;

    // Chooses the data root (gGameDataDir), then runs the framework's start-up.
    void Init() override;
    // The game's default volumes and screen mode, before the registry overrides them.
    void OnBeforeSettingsLoad() override;
    // The framework's settings plus the ambient volume and the custom-cursors choice.
    void LoadSettingsFromRegistry() override;
    void SaveSettingsToRegistry() override;
    // The game's start-up: pack, aliases, settings, profile folders,
    // resources, cursors, caption, music, particles, sounds, layouts, the
    // current profile and the title screen.
    void OnInitDone() override;
    // The game takes no command-line options.
    void HandleCommandLineOption(const std::string& name, const std::string& value) override;
    // The framework's tick, then the music playlist and the ambient sounds.
    void UpdateTick() override;
    // The current board's loading, on the loading thread.
    void RunLoadingThread() override;
    // Tells the loading screen that loading has ended.
    void OnLoadingThreadDone() override;

    // The one way to change screens; the application owns next from here on.
    // While a switch is in progress the request is held and starts once that
    // switch is complete; a later request replaces (and deletes) a held one.
    void SwitchBoard(BaseBoard* next);
    // The running transition has ended: the old board goes, the next one is
    // shown or loaded behind the loading screen.
    void OnTransformEnd() override;
    // Resets the loading counters, puts the loading screen up and starts the
    // loading thread on the current board.
    void StartLoadingScreen();
    // Called by the loading screen as it hands over: the current board
    // finishes loading, joins the tree, takes the focus and is shown; then a
    // held switch starts.
    void OnLoadingScreenGone();
    // A transition runs or the loading screen is up.
    bool IsSwitching() const { return mTransformer != nullptr || mLoadingScreen != nullptr; }

    // 0..1, the loudness of the ambient sound sets.
    double GetAmbientVolume() const { return mAmbientVolume; }

    // The framework mixes at full volume; game code scales each sound by the kept value.
    void SetSfxVolume(double volume) override;
    // Also kept as the user's choice, which focus loss does not change.
    void SetCustomCursorsEnabled(bool enabled) override;
    void OnAppFocusLost() override;
    void OnAppFocusGained() override;
    // Stores the choice in the current profile and tells dialogs, cursor and board.
    void ChangeScreenMode(bool windowed, bool is3D, bool force) override;

    // The system cursor and the overlay for a kind (0 blank, 1 arrow, 2 red
    // arrow, 3 door, 4 hand, 5 magnifier, 6 to 8 aim, others the default);
    // while the lock is set the kind is only remembered.
    void SetCursorType(int kind);
    // Locking keeps the shown kind; unlocking applies the kind asked for meanwhile.
    void SetCursorLock(bool locked);

    // The data language; empty for the default one.
    std::string GetLanguage() const { return mLanguage; }
    // Reads files from "data\\<name>\\" first (none for an empty name) and reloads the texts.
    void SetLanguage(const std::string& name);

    // The board that is shown; owned.
    BaseBoard* mCurrentBoard = nullptr;
    // The board of the switch in progress; the current one once it is complete. Owned.
    BaseBoard* mNextBoard = nullptr;
    // Up while the loading thread loads the current board; owned.
    LoadingScreen* mLoadingScreen = nullptr;
    // Follows the current board's music key; owned.
    MusicPlaylist* mMusicPlaylist = nullptr;
    // The transition of the switch in progress; owned.
    BoardTransformer* mTransformer = nullptr;
    // A switch asked for while another was in progress; owned, not yet initialised.
    BaseBoard* mHeldBoard = nullptr;

    double mAmbientVolume;
    // Runs the duplicate-image tool at start-up; set from the environment
    // when the program starts (DuplicateImageToolRequested), never by the game.
    bool mDeveloperFlag;
    int mGameWidth = 1024;
    int mGameHeight = 768;
    // 1 x 1, fully transparent: the system cursor while the overlay draws one; owned.
    DDImage* mBlankCursorImage = nullptr;
    // The software cursor overlay, the widget manager's cursor widget; owned.
    CursorWidget* mCursorWidget = nullptr;
    int mCursorType = 0;
    int mPendingCursorType = 1;
    bool mCursorLocked = false;
    std::string mLanguage;
    // The user's setting, kept while focus loss forces the framework's flag off.
    bool mCustomCursorsChoice = true;

private:
    void StartHeldSwitch();
    // Loads the board on the main thread and adds it to the widget tree.
    void LoadAtOnce(BaseBoard* board);
};

// The one game object, the same object as gApplication; null when there is none.
extern GameApp* gGameApp;

// One loading task is done; called on the loading thread by the board being
// loaded. Only the counter changes: the loading screen sees it on its next update.
void AdvanceLoadingProgress();

// Re-reads the language table and every scene's texts (the scenes of the
// "Clusters" of "res\\game.ini").
void ReloadLanguageTexts();

} // namespace Tandry
