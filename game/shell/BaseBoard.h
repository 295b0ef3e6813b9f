// One full-screen game screen (title, menu, credits, a scene, a movie). The
// board switch sizes, loads, shows and removes boards through these hooks;
// every update measures the frame time on the shared frame timer, advances
// the game's processes while the board is active and lets the board do its
// own work.
#pragma once

#include "widgets/Widget.h"

#include <string>

namespace Tandry {

class BaseBoard : public Widget {
public:
    explicit BaseBoard(bool wantsLoadingScreen);

    // Called by the switch after the board is sized to the screen.
    virtual void Init();
    // The board's part of transition keys.
    virtual std::string GetName();
    // The music played while the board is current; its name by default.
    virtual std::string GetMusicKey();
    // The board has become current and is loaded.
    virtual void OnShown();
    // Steps the loading screen counts.
    virtual int LoadingTaskCount();
    // Loads the board's data, inline or on the loading thread.
    virtual void LoadResources();
    // After loading, on the main thread.
    virtual void OnLoaded();
    // Just before the board leaves the screen.
    virtual void OnRemoved();
    // The board's own work of one update, dt in seconds.
    virtual void UpdateBoard(float dt);
    // The application lost the focus.
    virtual void Pause();
    // The application regained the focus.
    virtual void Resume();
    virtual void ScreenModeChanged(bool windowed);

    void Update() override;

    // Marks the board loaded, restarts the frame timer, then OnLoaded.
    void FinishLoading();

    bool wantsLoadingScreen;
    // Processes run only while set.
    bool active = true;
    bool loaded = false;
};

} // namespace Tandry
