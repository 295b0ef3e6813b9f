// The game's interface sounds (button presses, the pause, mini-game parts),
// played once through the process's UI sound bank at the sound-effect volume
// and centre pan. Boards, buttons and mini-games call these.
#pragma once

#include <string>

namespace Tandry {

enum UiSoundKind {
    kUiSoundButtonPress = 0,
    kUiSoundButtonEnter = 1,
    kUiSoundPause = 2,
    kUiSoundResume = 3,
    kUiSoundButtonPress2 = 4,
    kUiSoundLevelWon = 5,
    kUiSoundLevelLeft = 6,
    kUiSoundKeyPick = 7,
    kUiSoundKeyPlaceRight = 8,
    kUiSoundKeyPlace = 9,
    kUiSoundSpyMove = 10,
};

// The bank's name of the kind; empty for a kind without a sound.
std::string UiSoundName(int kind);
// Kinds without a sound play nothing.
void PlayUiSound(int kind);
void PlayUiSoundByName(const std::string& name);

} // namespace Tandry
