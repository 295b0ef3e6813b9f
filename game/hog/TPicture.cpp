#include "game/hog/TPicture.h"

#include "game/shell/ProfileManager.h"

namespace Tandry {

TPicture::TPicture(std::string pictureName, TLevel* owner)
    : mName(std::move(pictureName))
    , mLevel(owner)
{
}

void TPicture::BuildItemList()
{
}

void TPicture::AddChosenItem(TPaintElement* item)
{
    mChosenItems.push_back(item);
}

void TPicture::EraseSavedState(const std::string& levelName)
{
    GetProfileManager().RemoveSection(levelName + "_" + mName);
}

} // namespace Tandry
