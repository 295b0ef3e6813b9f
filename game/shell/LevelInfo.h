// One quest scene's record in the current profile: done, a value carried
// through unchanged, and (in memory only) whether the next start of the scene
// must first release the current level. Created and owned by the Scenario.
#pragma once

#include "game/shell/LevelInfoBase.h"

namespace Tandry {

class LevelInfo : public LevelInfoBase {
public:
    explicit LevelInfo(std::string name) : LevelInfoBase(std::move(name)) {}

    // "1" or "0" for done, then "," and the value with three decimals.
    std::string Serialize() const override;
    void Parse(StringTokenizer& tokens) override;

    // [Levels] <level name> of the current profile; the file is not written.
    void SaveToProfile() const;
    void LoadFromProfile();

    bool replayPending = false;
    float value = 0.0f;
};

} // namespace Tandry
