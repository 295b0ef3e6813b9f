// A group of background sounds read from "data/ambient/<name>.ini", one
// record per section, in file order. Scenes, quest boards and movies start,
// stop and release their sets (through AmbientSounds); every loaded set is
// advanced once per update by AmbientSounds::UpdateAll, and a movie advances
// its own two sets once more.
#pragma once

#include "game/shell/AmbientSound.h"

#include <memory>
#include <vector>

namespace Tandry {

class AmbientSet {
public:
    // Loads every record's sound in the UI sound bank without playing it.
    static void Preload(AmbientSet* set);
    // Fades every record in; a looping bed starts (or plays its kept
    // instances again) at once, an occasional sound after its first delay.
    static void Start(AmbientSet* set);
    // Fades every running record out; a second stop does nothing.
    static void Stop(AmbientSet* set);
    static void Update(AmbientSet* set, float dt);

    bool AllFinished() const;

    std::vector<std::unique_ptr<AmbientSound>> sounds;
};

} // namespace Tandry
