// The base of every board of play (a quest scene, a hidden-object level, a
// mini-game): the pause state with its overlay, HUD widgets kept above a
// player's pause, a black fader for restarts, the default loading tasks
// (the layout's pending pictures) and the end of a level. Derived boards
// set the buttons and layout and call GameBase::Init at the end of theirs.
#pragma once

#include "game/shell/BaseBoard.h"
#include "widgets/BoundCall.h"
#include "widgets/ButtonListener.h"

#include <string>
#include <vector>

namespace Tandry {

class FaderBoard;
class GuiLayout;
class PauseAware;
class PauseWidget;

class GameBase : public BaseBoard, public ButtonListener {
public:
    // The ids of the HUD buttons the board answers itself.
    static constexpr int kResumeButtonId = 77;
    static constexpr int kPauseButtonId = 78;
    static constexpr int kRestartButtonId = 81;

    GameBase(bool wantsLoadingScreen, std::string levelName);
    // Removes and deletes every child: the overlay, the fader, the HUD and
    // whatever the derived board added.
    ~GameBase() override;

    // Builds the board's HUD after loading.
    virtual void BuildInterface() = 0;
    virtual void OnPaused();
    virtual void OnUnpaused();
    // Once per board (with LevelLeft): the level is marked done.
    virtual void LevelWon();
    // Once per board (with LevelWon): the board's level is left.
    virtual void LevelLeft();
    // Play starts after loading.
    virtual void OnStart();
    // Restarts or closes the level after a loss or a restart request.
    virtual void OnLevelLeft() = 0;

    void Init() override;
    int LoadingTaskCount() override;
    void LoadResources() override;
    void OnLoaded() override;
    void Pause() override;
    void Resume() override;
    void OnButtonClick(int id) override;
    using ButtonListener::OnButtonClick;
    // While the board is in the tree its fader is a top-level widget of the
    // manager as well as the board's child.
    void AddedToManager(WidgetManager* widgetManager) override;
    void RemovedFromManager(WidgetManager* widgetManager) override;

    // The player's pause; the focus loss adds to it.
    void SetPaused(bool byUser);
    // Buttons, overlay and HUD z-orders after a change of the pause state.
    void ApplyPauseState();
    // The widget joins the HUD and the board.
    void AddHudWidget(Widget* widget);
    // The fader goes on top and darkens; onCovered runs while the screen is
    // black, onUncovered when it is clear again.
    void StartFade(BoundCall<void()> onCovered, BoundCall<void()> onUncovered);

    // Shown only while paused; set by derived boards.
    Widget* resumeButton = nullptr;
    // Shown only while not paused; set by derived boards.
    Widget* pauseButton = nullptr;
    // Its pending pictures are the default loading tasks; set by derived boards.
    GuiLayout* layout = nullptr;
    std::string sceneName;
    // OnLoaded has run its start once; set by derived boards.
    bool started = false;
    std::string levelName;
    std::vector<Widget*> hudWidgets;
    bool paused = false;
    bool applicationInactive = false;
    bool pausedByUser = false;
    PauseWidget* pauseWidget = nullptr;
    // Cleared when the level is won, left or restarted.
    bool playing = true;
    bool levelEnded = false;
    // Optional; not owned.
    PauseAware* pauseAware = nullptr;
    FaderBoard* fader = nullptr;

private:
    void RestartCovered();
    void RestartUncovered();
};

} // namespace Tandry
