// The global list of loaded ambient sets, each with its released flag: sets
// are loaded and released here, advanced once per update of the game
// (UpdateAll), and deleted once released and faded out. The options panel
// re-applies volumes through ApplyVolume.
#pragma once

#include "game/shell/AmbientSet.h"

#include <list>
#include <memory>
#include <string>

namespace Tandry {

class AmbientSounds {
public:
    struct Entry {
        std::unique_ptr<AmbientSet> set;
        bool released = false;
    };

    // A set from "data/ambient/" + name + ".ini", appended to the list; a
    // missing file gives an empty set, registered all the same.
    static AmbientSet* Load(const std::string& name);
    // Marks the set's entry released; UpdateAll deletes it once finished.
    static void Release(AmbientSet* set);
    static void ApplyVolume();
    // Stops and deletes every set. Deleting a set discards its instances, so
    // this must run while the sound manager still exists: the game's
    // teardown calls it before the sound manager goes.
    static void FreeAll();
    // Advances every set by dt and deletes the released ones that finished.
    static void UpdateAll(float dt);

    static const std::list<Entry>& Entries();

private:
    static std::list<Entry>& List();
};

} // namespace Tandry
