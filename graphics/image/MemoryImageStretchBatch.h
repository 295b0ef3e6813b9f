// A run of stretching blits onto one image, all with the same clip, colour,
// draw mode and stretch flag, drawn exactly as the image's StretchBlt would
// draw them one after another. Bitmap fonts draw their glyphs through it: onto
// a plain memory image, glyphs drawn in white at their own size are gathered
// and drawn together, so the pixel arrays are looked up and the image marked
// changed once per run instead of once per glyph.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "graphics/types/Color.h"
#include "graphics/types/Rect.h"

namespace Tandry {

class Image;
class MemoryImage;

class MemoryImageStretchBatch {
public:
    // The clipped part of a gathered rectangle and the index of the source
    // word at its top left. Plain fields: a batch is made for every string,
    // and its parts need not be zeroed first.
    struct Part {
        int32_t x;
        int32_t y;
        int32_t width;
        int32_t height;
        size_t srcOrigin;
    };

    MemoryImageStretchBatch(Image& dest, const Rect& clipRect, const Color& color, int drawMode, bool fastStretch);
    MemoryImageStretchBatch(const MemoryImageStretchBatch&) = delete;
    MemoryImageStretchBatch& operator=(const MemoryImageStretchBatch&) = delete;

    // As dest.StretchBlt(src, destRect, srcRect, clip, colour, draw mode,
    // stretch flag); the rectangle may wait for Flush.
    void StretchBlt(Image* src, const Rect& destRect, const Rect& srcRect);
    // Draws what waits. Call it before anything else draws on or reads the
    // destination; what waits when the batch goes away is not drawn (drawing
    // can throw, a destructor must not).
    void Flush();

private:
    static constexpr size_t kMaxParts = 128;

    Image& mDest;
    // The destination when its class is exactly MemoryImage, else null: a
    // derived class may draw differently, so it gets every call itself.
    MemoryImage* mMemoryDest;
    Rect mClip;
    Color mColor;
    int mDrawMode;
    bool mFastStretch;
    // Same-size rectangles are gathered (a plain memory image, fast
    // stretching, white).
    bool mGathers;
    // The source of the waiting parts, and it as a memory image (null when
    // it is not one).
    Image* mSource = nullptr;
    MemoryImage* mMemorySource = nullptr;
    std::array<Part, kMaxParts> mParts;
    size_t mCount = 0;
};

} // namespace Tandry
