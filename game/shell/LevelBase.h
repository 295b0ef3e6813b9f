// One playable level: a quest scene, a hidden-object level or a scene open
// in the editor. Its controller creates it on demand and keeps it loaded;
// the level reads its description once and keeps its state in the current
// profile.
#pragma once

#include <string>
#include <utility>

class LevelBase {
public:
    explicit LevelBase(std::string levelName) : name(std::move(levelName)) {}
    LevelBase(const LevelBase&) = delete;
    LevelBase& operator=(const LevelBase&) = delete;
    virtual ~LevelBase() = default;

    // Reads the level's description; a level without one does nothing.
    virtual void Load() {}
    // Writes the level's state into the current profile's document.
    virtual void SaveState() = 0;
    // Reads the state back from the current profile.
    virtual void LoadState() = 0;

    std::string name;
};
