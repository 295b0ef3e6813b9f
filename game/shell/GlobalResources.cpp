#include "game/shell/GlobalResources.h"

#include "particles/Particles.h"
#include "resources/manager/ResourceManager.h"
#include "resources/manager/ResourceManagerException.h"

#include <utility>

namespace Tandry {

Font* FONT_BUTTON = nullptr;
Font* FONT_CORBEL = nullptr;
Font* FONT_DEFAULT = nullptr;
Font* FONT_HEAD = nullptr;
Font* FONT_TEXT = nullptr;
Font* FONT_TEXT_BOLD = nullptr;

Image* IMAGE_BUTTON_CROSS = nullptr;
Image* IMAGE_BUTTON_SKIP = nullptr;
Image* IMAGE_BUTTON_SKIP_OVER = nullptr;
Image* IMAGE_CURSOR_AIM = nullptr;
Image* IMAGE_CURSOR_AIM_HIT = nullptr;
Image* IMAGE_CURSOR_AIM_MISS = nullptr;
Image* IMAGE_CURSOR_ARROW = nullptr;
Image* IMAGE_CURSOR_ARROW_RED = nullptr;
Image* IMAGE_CURSOR_DOOR = nullptr;
Image* IMAGE_CURSOR_HAND = nullptr;
Image* IMAGE_CURSOR_HAND2 = nullptr;
Image* IMAGE_CURSOR_ITEM = nullptr;
Image* IMAGE_CURSOR_MAGNIFIER = nullptr;
Image* IMAGE_DARK_BACK = nullptr;
Image* IMAGE_FIELD_BORDER = nullptr;
Image* IMAGE_HINT = nullptr;
Image* IMAGE_HINT_CIRCLE = nullptr;
Image* IMAGE_HINT_RECH = nullptr;
Image* IMAGE_LINE = nullptr;
Image* IMAGE_LOOP = nullptr;
Image* IMAGE_PARTS = nullptr;

bool BindGlobalResources(ResourceManager& resources)
{
    const std::pair<Font**, const char*> fonts[] = {
        {&FONT_BUTTON, "FONT_BUTTON"}, {&FONT_CORBEL, "FONT_CORBEL"}, {&FONT_DEFAULT, "FONT_DEFAULT"},
        {&FONT_HEAD, "FONT_HEAD"},     {&FONT_TEXT, "FONT_TEXT"},     {&FONT_TEXT_BOLD, "FONT_TEXT_BOLD"},
    };
    const std::pair<Image**, const char*> images[] = {
        {&IMAGE_BUTTON_CROSS, "IMAGE_BUTTON_CROSS"},
        {&IMAGE_BUTTON_SKIP, "IMAGE_BUTTON_SKIP"},
        {&IMAGE_BUTTON_SKIP_OVER, "IMAGE_BUTTON_SKIP_OVER"},
        {&IMAGE_CURSOR_AIM, "IMAGE_CURSOR_AIM"},
        {&IMAGE_CURSOR_AIM_HIT, "IMAGE_CURSOR_AIM_HIT"},
        {&IMAGE_CURSOR_AIM_MISS, "IMAGE_CURSOR_AIM_MISS"},
        {&IMAGE_CURSOR_ARROW, "IMAGE_CURSOR_ARROW"},
        {&IMAGE_CURSOR_ARROW_RED, "IMAGE_CURSOR_ARROW_RED"},
        {&IMAGE_CURSOR_DOOR, "IMAGE_CURSOR_DOOR"},
        {&IMAGE_CURSOR_HAND, "IMAGE_CURSOR_HAND"},
        {&IMAGE_CURSOR_HAND2, "IMAGE_CURSOR_HAND2"},
        {&IMAGE_CURSOR_ITEM, "IMAGE_CURSOR_ITEM"},
        {&IMAGE_CURSOR_MAGNIFIER, "IMAGE_CURSOR_MAGNIFIER"},
        {&IMAGE_DARK_BACK, "IMAGE_DARK_BACK"},
        {&IMAGE_FIELD_BORDER, "IMAGE_FIELD_BORDER"},
        {&IMAGE_HINT, "IMAGE_HINT"},
        {&IMAGE_HINT_CIRCLE, "IMAGE_HINT_CIRCLE"},
        {&IMAGE_HINT_RECH, "IMAGE_HINT_RECH"},
        {&IMAGE_LINE, "IMAGE_LINE"},
        {&IMAGE_LOOP, "IMAGE_LOOP"},
        {&IMAGE_PARTS, "IMAGE_PARTS"},
    };
    try {
        for (const auto& [global, id] : fonts)
            *global = resources.GetFontThrow(id);
        for (const auto& [global, id] : images)
            *global = resources.GetImageThrow(id).GetImage();
    } catch (const ResourceManagerException&) {
        return false;
    }
    Particles::SetSheet(IMAGE_PARTS);
    return true;
}

void ResetGlobalResources()
{
    FONT_BUTTON = nullptr;
    FONT_CORBEL = nullptr;
    FONT_DEFAULT = nullptr;
    FONT_HEAD = nullptr;
    FONT_TEXT = nullptr;
    FONT_TEXT_BOLD = nullptr;
    IMAGE_BUTTON_CROSS = nullptr;
    IMAGE_BUTTON_SKIP = nullptr;
    IMAGE_BUTTON_SKIP_OVER = nullptr;
    IMAGE_CURSOR_AIM = nullptr;
    IMAGE_CURSOR_AIM_HIT = nullptr;
    IMAGE_CURSOR_AIM_MISS = nullptr;
    IMAGE_CURSOR_ARROW = nullptr;
    IMAGE_CURSOR_ARROW_RED = nullptr;
    IMAGE_CURSOR_DOOR = nullptr;
    IMAGE_CURSOR_HAND = nullptr;
    IMAGE_CURSOR_HAND2 = nullptr;
    IMAGE_CURSOR_ITEM = nullptr;
    IMAGE_CURSOR_MAGNIFIER = nullptr;
    IMAGE_DARK_BACK = nullptr;
    IMAGE_FIELD_BORDER = nullptr;
    IMAGE_HINT = nullptr;
    IMAGE_HINT_CIRCLE = nullptr;
    IMAGE_HINT_RECH = nullptr;
    IMAGE_LINE = nullptr;
    IMAGE_LOOP = nullptr;
    IMAGE_PARTS = nullptr;
    Particles::SetSheet(nullptr);
}

} // namespace Tandry
