// The current player's data that belongs to no single scene: story progress,
// game completion, the tutorial switches, the diary books' notebooks and the
// time played. The one object is owned by GameControllerCommon, which loads
// it when a profile becomes the player's and saves it with the game.
#pragma once

#include "game/shell/NotebookEntry.h"
#include "game/shell/PlayerInfoBase.h"

#include <map>
#include <string>

namespace Tandry {

class PlayerInfo : public PlayerInfoBase {
public:
    PlayerInfo() = default;

    // Writes every key into the current profile's document (no file write);
    // dropped when no profile is usable.
    void Save() override;
    // Each value the profile holds, the start value for each it lacks; the
    // notebooks are rebuilt from [Main] Notebook and [Notebook].
    void Load() override;
    // Progress grows by 1 / [Game] "ProgressParts", then the data are saved
    // and the profile file written.
    void AddProgressStep();

    // Stored, never advanced by the game.
    float timePlayed = 0.0f;
    // By book name.
    std::map<std::string, NotebookEntry> notebooks;
    // 1 is complete; not clamped (the bar clamps when drawing).
    float progress = 0.0f;
    bool gameComplete = false;
    bool showTutorial = true;
    // The next tutorial step.
    int currentTutorial = 0;
    bool tutorialHogItems = false;
    bool tutorialHogHint = false;
};

// [Game] "ProgressParts" of the game ini (default 22), read on first use;
// below 1 counts as 1.
int ProgressParts();
// Forgets the value read; for tests.
void ResetProgressParts();

} // namespace Tandry
