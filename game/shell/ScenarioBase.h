// The level records of the current profile (one LevelInfo per quest scene,
// in creation order) and the way a scene is played and marked done. Scenario
// is the one kind; it adds the name index, profile loading and starting.
#pragma once

#include "game/shell/LevelInfo.h"

#include <memory>
#include <string>
#include <vector>

namespace Tandry {

class ScenarioBase {
public:
    ScenarioBase() = default;
    ScenarioBase(const ScenarioBase&) = delete;
    ScenarioBase& operator=(const ScenarioBase&) = delete;
    virtual ~ScenarioBase() = default;

    // Deletes every record.
    virtual void Clear();
    // Clear; Scenario adds the profile's scene states.
    virtual void Reload();
    // StartLevel with the name.
    virtual void Play(const std::string& levelName);
    // The record gets done and is written into the profile, and the file is
    // saved. A name without a record only writes a debug line.
    virtual void MarkLevelDone(const std::string& levelName);
    virtual void StartLevel(const std::string& levelName) = 0;

    // The first record of the name; null when none.
    LevelInfo* FindLevelInfo(const std::string& levelName) const;
    const std::vector<std::unique_ptr<LevelInfo>>& Records() const { return mRecords; }

protected:
    // A new record of the name, not yet in the list.
    virtual std::unique_ptr<LevelInfo> CreateLevelInfo(const std::string& levelName) = 0;
    // MarkLevelDone's work: the record marked, stored and saved; null, after
    // a debug line, when the name has no record.
    LevelInfo* MarkRecordDone(const std::string& levelName);

    std::vector<std::unique_ptr<LevelInfo>> mRecords;
};

} // namespace Tandry
