// A font drawn by the platform's text services from an installed typeface,
// asked for by family name (or font file), point size and style. The standard
// controls make their default label fonts with it, and the resource manager
// makes one for every "!sys:" font of the manifest.
#pragma once

#include <string>

#include "graphics/context/Font.h"
#include "platform/fonts/TextService.h"

namespace Tandry {

class SysFont : public Font {
public:
    using Font::DrawString;
    using Font::MeasureText;
    using Font::StringWidth;

    // Regular weight, upright, not underlined. The character set is kept and
    // changes nothing: the faces are Unicode.
    SysFont(const std::string& face, int pointSize, int charset);
    SysFont(const std::string& face, int pointSize, bool bold, bool italic, bool underline);
    // Points at 96 dots per inch to pixels, rounded to nearest (MulDiv).
    static int PixelSizeForPoints(int pointSize);

    Font* Duplicate() const override;
    // The text service's width and height, times the scales; the spacing is
    // ignored. Lines are counted, so a text of n breaks is n + 1 lines high.
    void MeasureText(FloatRect& out, const std::wstring& text, float x, float y, float scaleX, float scaleY,
                     float spacing, int hAlign, int vAlign) const override;
    // One line at the measured, aligned and scaled place, blended in the
    // colour (its alpha included) into the destination, within clip. Without
    // a destination, or onto the empty placeholder image, nothing is drawn.
    void DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color, const Rect& clip,
                    float scaleX, float scaleY, float spacing, int hAlign, int vAlign) override;

    // The typeface name; empty in a copy.
    std::string mFace;

private:
    SysFont(const SysFont& source);
    void Open(const std::string& face, int pointSize, bool bold, bool italic, bool underline);

    Platform::FontHandle mHandle;
    int mCharset = 0;
};

} // namespace Tandry
