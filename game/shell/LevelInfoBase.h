// The record the scenario keeps for one quest scene: its name and whether it
// was won. LevelInfo adds what the scenario needs besides and gives the text
// form the profile stores under [Levels].
#pragma once

#include "game/shell/StringTokenizer.h"

#include <string>
#include <utility>

namespace Tandry {

class LevelInfoBase {
public:
    explicit LevelInfoBase(std::string name) : levelName(std::move(name)) {}
    LevelInfoBase(const LevelInfoBase&) = delete;
    LevelInfoBase& operator=(const LevelInfoBase&) = delete;
    virtual ~LevelInfoBase() = default;

    // The stored text of the record.
    virtual std::string Serialize() const = 0;
    // Reads the stored text; what cannot be read stays as it was.
    virtual void Parse(StringTokenizer& tokens) = 0;

    std::string levelName;
    bool done = false;
};

} // namespace Tandry
