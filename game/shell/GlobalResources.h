// The game's global fonts and images, bound by resource id once at start-up
// and read by every screen that draws them. Each is named after its id. Null
// until bound; the resource manager owns what they point to.
#pragma once

namespace Tandry {

class Font;
class Image;

extern Font* FONT_BUTTON;
extern Font* FONT_CORBEL;
extern Font* FONT_DEFAULT;
extern Font* FONT_HEAD;
extern Font* FONT_TEXT;
extern Font* FONT_TEXT_BOLD;

extern Image* IMAGE_BUTTON_CROSS;
extern Image* IMAGE_BUTTON_SKIP;
extern Image* IMAGE_BUTTON_SKIP_OVER;
extern Image* IMAGE_CURSOR_AIM;
extern Image* IMAGE_CURSOR_AIM_HIT;
extern Image* IMAGE_CURSOR_AIM_MISS;
extern Image* IMAGE_CURSOR_ARROW;
extern Image* IMAGE_CURSOR_ARROW_RED;
extern Image* IMAGE_CURSOR_DOOR;
extern Image* IMAGE_CURSOR_HAND;
extern Image* IMAGE_CURSOR_HAND2;
extern Image* IMAGE_CURSOR_ITEM;
extern Image* IMAGE_CURSOR_MAGNIFIER;
// The nearly black full-screen picture under every modal panel.
extern Image* IMAGE_DARK_BACK;
extern Image* IMAGE_FIELD_BORDER;
extern Image* IMAGE_HINT;
extern Image* IMAGE_HINT_CIRCLE;
extern Image* IMAGE_HINT_RECH;
extern Image* IMAGE_LINE;
extern Image* IMAGE_LOOP;
extern Image* IMAGE_PARTS;

// Tests only: every global back to null.
void ResetGlobalResources();

} // namespace Tandry
