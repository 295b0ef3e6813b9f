// The game's scenario, one per process (GetScenario): the level records of
// the current profile by name, the reload of a profile's scene states
// through the registered scene service, and the start of a quest scene
// through the registered scene starter.
#pragma once

#include "game/shell/ScenarioBase.h"

#include <map>
#include <set>
#include <string>

namespace Tandry {

class Scenario : public ScenarioBase {
public:
    Scenario() = default;
    ~Scenario() override;

    void Clear() override;
    // Clears the records, gives every cluster scene its saved state, then
    // links the scenes (and prepares their hints with [Game] GenerateHintIds=1).
    void Reload() override;
    // Also sets replay pending, so the next start of the scene while a level
    // is current first releases that level.
    void MarkLevelDone(const std::string& levelName) override;
    // Releases the current level when the record's replay is pending, then
    // hands the name to the scene starter.
    void StartLevel(const std::string& levelName) override;

    // The record of the name, read from the profile when first asked for.
    LevelInfo& GetLevelInfo(const std::string& levelName);
    // Every record into the current document, in list order (no file write).
    void SaveAllLevelInfos() const;
    // Each cluster scene, loaded once, runs its LoadState; then the pools.
    void LoadSceneStates();
    // Each cluster scene links its items; hints are prepared when asked for.
    void LinkScenes();

protected:
    std::unique_ptr<LevelInfo> CreateLevelInfo(const std::string& levelName) override;

private:
    // The same records as the list, by name; not owning.
    std::map<std::string, LevelInfo*> mIndex;
};

// Every scene named in [Clusters] of the game ini, once each, in name order;
// empty names are skipped.
std::set<std::string> CollectClusterScenes();

// The one scenario, built on first use.
Scenario& GetScenario();
// Destroys it; the next GetScenario builds a new one. For tests.
void ResetScenario();

} // namespace Tandry
