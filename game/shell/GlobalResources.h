// The game's global fonts and images, bound by resource id once at start-up
// and read by every screen that draws them. Null until bound; the resource
// manager owns what they point to.
#pragma once

namespace Tandry {

class Image;

// TODO: the game's start-up binds these from the resource manager; the
// global fonts and the other images join them here.
// The nearly black full-screen picture under every modal panel.
extern Image* IMAGE_DARK_BACK;

// Tests only: every global back to null.
void ResetGlobalResources();

} // namespace Tandry
