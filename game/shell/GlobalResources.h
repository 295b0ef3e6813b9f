// The game's global fonts and images, bound by resource id once at start-up
// and read by every screen that draws them. Each is named after its id. Null
// until bound; the resource manager owns what they point to.
#pragma once

namespace Tandry {

class Font;
class Image;
class ResourceManager;

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

// Binds the six fonts, then the images, in the order above, by their ids;
// the first id the manager lacks ends the binding with false (its error text
// names the id) and leaves the globals bound before it as they are. Then the
// particle engine draws from IMAGE_PARTS.
bool BindGlobalResources(ResourceManager& resources);

// Every global back to null; the game drops them before their manager goes.
void ResetGlobalResources();

} // namespace Tandry
