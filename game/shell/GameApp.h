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
class LoadingScreen;
class MusicPlaylist;

class GameApp : public TandryAppBase, public BoardTransformerListener {
public:
    GameApp();
    // Waits for the loading thread, then deletes the transition, the boards
    // (a held one too) and the loading screen.
    ~GameApp() override;

    void Init() override;
    // The game's start-up: the UI sounds, the shared layouts, the title screen.
    void OnInitDone() override;
    // The game takes no command-line options.
    void HandleCommandLineOption(const std::string& name, const std::string& value) override;
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

    // The board that is shown; owned.
    BaseBoard* mCurrentBoard = nullptr;
    // The board of the switch in progress; the current one once it is complete. Owned.
    BaseBoard* mNextBoard = nullptr;
    // Up while the loading thread loads the current board; owned.
    LoadingScreen* mLoadingScreen = nullptr;
    // Follows the current board's music key when there is one; owned.
    // TODO: created at start-up once the game's start-up sequence is built.
    MusicPlaylist* mMusicPlaylist = nullptr;
    // The transition of the switch in progress; owned.
    BoardTransformer* mTransformer = nullptr;
    // A switch asked for while another was in progress; owned, not yet initialised.
    BaseBoard* mHeldBoard = nullptr;

    double mAmbientVolume;
    // Runs the duplicate-image tool at start-up; set from the environment
    // when the program starts (DuplicateImageToolRequested), never by the game.
    bool mDeveloperFlag;

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

} // namespace Tandry
