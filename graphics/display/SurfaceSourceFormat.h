// How the stretched and rotated routines of surface images reach what they
// read besides the surface: the pixel format a source's display-format words
// are made in (the display's, or for a surface without a display its own),
// the reader of those words, and the display's saturating-add channels.
#pragma once

#include "graphics/display/DDInterface.h"
#include "graphics/display/NativeDisplay.h"
#include "graphics/display/SurfacePixels.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/image/SourceWords.h"

namespace Tandry::SurfacePixels {

struct SourceFormat {
    NativeDisplay own;
    const NativeDisplay* display;

    SourceFormat(const DDInterface* ddInterface, const Target& t) : display(ddInterface)
    {
        if (display == nullptr) {
            own.SetPixelFormat(t.bitsPerPixel, t.red, t.green, t.blue);
            display = &own;
        }
    }
    SourceFormat(const SourceFormat&) = delete;
    SourceFormat& operator=(const SourceFormat&) = delete;
};

// Calls f with the reader of src's display-format words for display (one per
// palette entry, selected by the index bytes, for a palettised source); false
// when the source has none.
template <class F>
bool WithDisplayWords(MemoryImage& src, const NativeDisplay& display, F&& f)
{
    const uint32_t* words = src.GetDisplayFormatData(&display);
    if (words == nullptr)
        return false;
    if (src.mColorIndices && src.mColorTable)
        f(PaletteWords{src.mColorIndices.get(), words});
    else
        f(ArgbWords{words});
    return true;
}

// The display's shifts and saturating-add tables for the surface's masks.
inline AddChannels SaturatingChannels(const Target& t, const DDInterface& display)
{
    return AddChannels{{{t.red, static_cast<uint32_t>(display.mRedShift), display.mRedAddTable.data()},
                        {t.green, static_cast<uint32_t>(display.mGreenShift), display.mGreenAddTable.data()},
                        {t.blue, static_cast<uint32_t>(display.mBlueShift), display.mBlueAddTable.data()}}};
}

} // namespace Tandry::SurfacePixels
