#include "game/shell/GlobalResources.h"

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
}

} // namespace Tandry
