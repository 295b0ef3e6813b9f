#include "game/shell/TakeLayoutImage.h"

#include "game/shell/GuiLayout.h"

namespace Tandry {

DDImage* TakeLayoutImage(GuiLayout* layout, const std::string& name)
{
    GuiLayoutEntry* entry = layout != nullptr ? layout->FindEntry(name) : nullptr;
    if (entry == nullptr)
        return nullptr;
    entry->drawFlag = false;
    return entry->image;
}

} // namespace Tandry
