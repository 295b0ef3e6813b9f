// A text service whose pixels never change: every character from the space
// up has the same advance and is an opaque box inside its advance cell, one
// pixel of gap on each side; the space advances without a box. Metrics follow
// from the pixel size alone. Tests install it to check drawing pixel by pixel.
#pragma once

#include <map>
#include <vector>

#include "platform/fonts/TextService.h"

namespace Platform {

class BoxTextService : public TextService {
public:
    // The metrics of a pixel size: advance size / 2 (at least 1), descent
    // size / 4, ascent the rest, height the pixel size.
    static int AdvanceFor(int pixelSize);
    static FontMetrics MetricsFor(int pixelSize);

protected:
    size_t ResolveFont(const FontRequest& request) override;
    FontMetrics FontMetricsOf(size_t font) override;
    Underline UnderlineOf(size_t font) override;
    const GlyphBitmap* GlyphOf(size_t font, uint32_t codePoint) override;
    int KerningOf(size_t, uint32_t, uint32_t) override { return 0; }
    std::string FamilyNameOf(size_t font) override;

private:
    struct Font {
        FontRequest request;
        GlyphBitmap box;
        GlyphBitmap space;
    };
    std::vector<Font> mFonts;
};

} // namespace Platform
