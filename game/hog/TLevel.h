// A hidden-object level: its pictures, the hog item the quest asked for and
// the state kept while it is played. Its controller creates and loads it by
// name; the board hands it the hog item, and a new hog item starts it anew:
// every picture chooses its items, a few extra items are hidden among them,
// then the saved state, if any, takes over.
#pragma once

#include "game/hog/TMessenger.h"
#include "game/hog/TPicture.h"
#include "game/shell/LevelBase.h"

#include <memory>
#include <string>
#include <vector>

namespace Tandry {

class TLevel : public TMessenger, public LevelBase {
public:
    explicit TLevel(std::string levelName);

    // TODO: create the picture named by the level name up to its first "/"
    // and set its items-to-find count from [Game] "ItemsInHog".
    void Load() override;
    // TODO: write "HintsStay" and every picture's state while started, then
    // the profile.
    void SaveState() override;
    // TODO: read "HintsStay" and every picture's saved state.
    void LoadState() override;

    // A hog item other than the present one is stored and starts the level.
    void SetHogItem(const std::string& hogItem);
    // Prepares every picture for a new game (its items and up to three extra
    // chosen items, all of them with [Game] "PlaceAllSpheres"), tells the bus,
    // restores the saved state and marks the level started.
    void Start();
    // The first picture of that exact name, or null.
    TPicture* FindPicture(const std::string& pictureName) const;

    // Load's last step: the level owns the picture from here on.
    void AddPicture(std::unique_ptr<TPicture> picture);
    const std::vector<std::unique_ptr<TPicture>>& GetPictures() const { return mPictures; }

    const std::string& GetHogItem() const { return mHogItem; }
    int GetHintsStay() const { return mHintsStay; }
    bool IsPaused() const { return mPaused; }
    bool IsStarted() const { return mStarted; }

private:
    std::vector<std::unique_ptr<TPicture>> mPictures;
    std::string mHogItem;
    int mHintsStay = 5;
    bool mPaused = false;
    bool mStarted = false;
};

// [Game] "PlaceAllSpheres" of "res\\game.ini" is 1; read once.
bool PlaceAllSpheres();
// Tests only: reads it again on the next use.
void ResetPlaceAllSpheres();

} // namespace Tandry
