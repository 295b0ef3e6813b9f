// The ids the game binds at start-up, in the order it binds them, written
// out for the tests that supply them or check the binding.
#pragma once

#include <string>
#include <vector>

namespace GameTest {

inline const std::vector<std::string>& GlobalFontIds()
{
    static const std::vector<std::string> ids = {"FONT_BUTTON", "FONT_CORBEL", "FONT_DEFAULT",
                                                 "FONT_HEAD",   "FONT_TEXT",   "FONT_TEXT_BOLD"};
    return ids;
}

inline const std::vector<std::string>& GlobalImageIds()
{
    static const std::vector<std::string> ids = {
        "IMAGE_BUTTON_CROSS",  "IMAGE_BUTTON_SKIP",     "IMAGE_BUTTON_SKIP_OVER", "IMAGE_CURSOR_AIM",
        "IMAGE_CURSOR_AIM_HIT", "IMAGE_CURSOR_AIM_MISS", "IMAGE_CURSOR_ARROW",     "IMAGE_CURSOR_ARROW_RED",
        "IMAGE_CURSOR_DOOR",   "IMAGE_CURSOR_HAND",     "IMAGE_CURSOR_HAND2",     "IMAGE_CURSOR_ITEM",
        "IMAGE_CURSOR_MAGNIFIER", "IMAGE_DARK_BACK",    "IMAGE_FIELD_BORDER",     "IMAGE_HINT",
        "IMAGE_HINT_CIRCLE",   "IMAGE_HINT_RECH",       "IMAGE_LINE",             "IMAGE_LOOP",
        "IMAGE_PARTS"};
    return ids;
}

} // namespace GameTest
