// One picture of a hidden-object level: the painted scene whose elements the
// player searches, with its items-to-find panel. The level owns its pictures,
// hands them its hog item and lets them choose their items when it starts;
// the board shows the current one, and the picture's saved state lives in
// the profile section "<level>_<picture>".
#pragma once

#include "game/hog/TMessenger.h"
#include "game/hog/TNotepad.h"
#include "game/shell/FloatTransformerListener.h"
#include "widgets/Widget.h"

#include <string>
#include <vector>

namespace Tandry {

class TLevel;
class TPaintElement;

class TPicture : public Widget, public TMessenger, public FloatTransformerListener {
public:
    // TODO: load the elements from "layers.ini" and "pic.ini" of the
    // picture's folder, read the area and subscribe to the hint request.
    TPicture(std::string pictureName, TLevel* owner);

    // TODO: choose the items to find and fill the panel and the element list.
    void BuildItemList();
    // Appends the item to the chosen items.
    // TODO: keep the chosen items sorted.
    void AddChosenItem(TPaintElement* item);
    // Removes the profile section "<levelName>_<name>".
    void EraseSavedState(const std::string& levelName);

    const std::string& GetName() const { return mName; }
    TLevel* GetLevel() const { return mLevel; }
    const std::string& GetHogItem() const { return mHogItem; }
    // The level's hog item, copied when the level starts.
    void SetHogItem(const std::string& hogItem) { mHogItem = hogItem; }
    // Filled by BuildItemList; the level chooses its extra items among them.
    std::vector<TPaintElement*>& GetItemsToFind() { return mItemsToFind; }
    const std::vector<TPaintElement*>& GetChosenItems() const { return mChosenItems; }
    TNotepad& GetNotepad() { return mNotepad; }

private:
    std::string mName;
    TLevel* mLevel;
    std::string mHogItem;
    std::vector<TPaintElement*> mItemsToFind;
    std::vector<TPaintElement*> mChosenItems;
    TNotepad mNotepad;
};

} // namespace Tandry
