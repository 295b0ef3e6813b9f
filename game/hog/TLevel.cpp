#include "game/hog/TLevel.h"

#include "game/hog/HogMessageCodes.h"
#include "game/hog/MessageParam.h"
#include "resources/ini/GameIni.h"
#include "util/RandomGenerator.h"

#include <optional>
#include <utility>

namespace Tandry {

namespace {

// The hints that stay available, given anew at every start.
constexpr int kStartHintsStay = 5;
// Extra items hidden over all pictures unless PlaceAllSpheres is set.
constexpr size_t kChosenItemsPerLevel = 3;

std::optional<bool> gPlaceAllSpheres;

} // namespace

bool PlaceAllSpheres()
{
    if (!gPlaceAllSpheres)
        gPlaceAllSpheres = GetGameSettingInt("PlaceAllSpheres", "Game", -1, 0) == 1;
    return *gPlaceAllSpheres;
}

void ResetPlaceAllSpheres()
{
    gPlaceAllSpheres.reset();
}

TLevel::TLevel(std::string levelName)
    : LevelBase(std::move(levelName))
{
}

void TLevel::Load()
{
}

void TLevel::SaveState()
{
}

void TLevel::LoadState()
{
}

void TLevel::SetHogItem(const std::string& hogItem)
{
    if (hogItem == mHogItem)
        return;
    mHogItem = hogItem;
    Start();
}

void TLevel::Start()
{
    mHintsStay = kStartHintsStay;
    mPaused = false;

    std::vector<std::pair<TPicture*, TPaintElement*>> pairs;
    for (const std::unique_ptr<TPicture>& picture : mPictures) {
        picture->SetHogItem(mHogItem);
        picture->BuildItemList();
        for (TPaintElement* item : picture->GetItemsToFind())
            pairs.emplace_back(picture.get(), item);
    }

    const bool all = PlaceAllSpheres();
    size_t chosen = 0;
    while (!pairs.empty() && (chosen < kChosenItemsPerLevel || all)) {
        const size_t index = static_cast<size_t>(CrtRand()) % pairs.size();
        pairs[index].first->AddChosenItem(pairs[index].second);
        pairs.erase(pairs.begin() + static_cast<std::ptrdiff_t>(index));
        ++chosen;
    }

    MessageParam param(this);
    BroadcastMessage(this, kHogLevelPrepared, &param);
    LoadState();
    mStarted = true;
}

TPicture* TLevel::FindPicture(const std::string& pictureName) const
{
    for (const std::unique_ptr<TPicture>& picture : mPictures)
        if (picture->GetName() == pictureName)
            return picture.get();
    return nullptr;
}

void TLevel::AddPicture(std::unique_ptr<TPicture> picture)
{
    mPictures.push_back(std::move(picture));
}

} // namespace Tandry
