// The copyable drawing state of a drawing context: destination, translation,
// scale, clip, colour, font, draw mode and switches. Contexts save and restore
// it on their state stack, and copies of a context take all of it.
#pragma once

#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

namespace Tandry {

class Font;
class Image;

// Shared with the image drawing operations; the 3D layer knows more values.
enum DrawMode : int {
    DRAWMODE_NORMAL = 0,    // source-over alpha blending
    DRAWMODE_ADDITIVE = 1,  // saturating addition
};

class GraphicsState {
public:
    // Not owned.
    Image* mDestImage = nullptr;
    // Added to every position.
    float mTransX = 0.0f;
    float mTransY = 0.0f;
    // Applied by the plain image drawing only, about the origin below.
    float mScaleX = 1.0f;
    float mScaleY = 1.0f;
    // In destination coordinates: the translation is already in it.
    float mScaleOrigX = 0.0f;
    float mScaleOrigY = 0.0f;
    // Destination pixels that may change; always inside the destination.
    Rect mClipRect;
    Color mColor{0, 0, 0, 255};
    // Not owned.
    Font* mFont = nullptr;
    int mDrawMode = DRAWMODE_NORMAL;
    // Images are modulated by mColor; otherwise drawn with white.
    bool mColorizeImages = false;
    // Stretching takes the nearest pixel instead of filtering.
    bool mFastStretch = false;
    // Text interprets colour codes.
    bool mWriteColoredString = true;
    // Matrix and triangle drawing filter bilinearly.
    bool mLinearBlend = false;
    // The destination is the display's 3D draw surface.
    bool mIs3DScreen = false;
};

} // namespace Tandry
