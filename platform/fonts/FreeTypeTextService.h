// The text service over FreeType and fontconfig: a family name is matched by
// fontconfig to the best installed face (a font file is opened as it is),
// weight and slant that the face lacks are synthesised, metrics follow the
// OS/2 Windows ascent and descent, and glyphs are grey-scale anti-aliased with
// light hinting. The only code that includes FreeType or fontconfig headers.
#pragma once

#include <memory>
#include <vector>

#include "platform/fonts/TextService.h"

namespace Platform {

class FreeTypeTextService : public TextService {
public:
    // At most this many glyphs are kept; past it the cache starts again.
    static constexpr size_t kMaxCachedGlyphs = 8192;

    FreeTypeTextService();
    ~FreeTypeTextService() override;

protected:
    size_t ResolveFont(const FontRequest& request) override;
    FontMetrics FontMetricsOf(size_t font) override;
    Underline UnderlineOf(size_t font) override;
    const GlyphBitmap* GlyphOf(size_t font, uint32_t codePoint) override;
    int KerningOf(size_t font, uint32_t first, uint32_t second) override;
    std::string FamilyNameOf(size_t font) override;
    void TrimCache() override;

private:
    struct Library;
    struct Font;
    std::unique_ptr<Library> mLibrary;
    std::vector<std::unique_ptr<Font>> mFonts;
    size_t mCachedGlyphs = 0;
};

} // namespace Platform
