// The text services that system fonts stand on: a typeface by name or font
// file at a pixel size and style, its metrics, the width of a text, and a
// text drawn as an 8-bit coverage mask. One process-wide service, usable from
// any thread; FreeType over fontconfig by default, and the box rasterizer that
// tests install for pixels that never change. The font baker uses the glyphs.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Platform {

struct FontRequest {
    // A family name (never a fontconfig pattern) or a font file.
    std::string face;
    int pixelSize = 1;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// What Open hands back: the request and where the service keeps its font.
struct FontHandle {
    FontRequest request;
    uint64_t serviceId = 0;
    size_t index = 0;
};

struct FontMetrics {
    int ascent = 0;
    int height = 0;
};

struct TextExtent {
    int width = 0;
    int height = 0;
};

// Rows top to bottom, width bytes each; (offsetX, offsetY) is the mask's top
// left relative to the text's top left, whose baseline lies ascent below it.
struct CoverageMask {
    int width = 0;
    int height = 0;
    int offsetX = 0;
    int offsetY = 0;
    std::vector<uint8_t> pixels;
};

// One character's picture: the pen moves by advance; the picture's top left
// lies left pixels right of the pen and top pixels above the baseline.
struct GlyphBitmap {
    int advance = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};

struct KerningPair {
    uint32_t first = 0;
    uint32_t second = 0;
    int amount = 0;
};

class TextService {
public:
    static constexpr int kMinPixelSize = 1;
    static constexpr int kMaxPixelSize = 1000;
    // A mask is never larger, whatever the text or the scales.
    static constexpr int kMaxMaskSide = 16384;
    static constexpr int64_t kMaxMaskPixels = int64_t{1} << 25;

    TextService();
    virtual ~TextService() = default;
    TextService(const TextService&) = delete;
    TextService& operator=(const TextService&) = delete;

    // Never fails: the pixel size is held to 1..1000, and a face that cannot
    // be had measures 0 wide and draws nothing.
    FontHandle Open(const std::string& face, int pixelSize, bool bold, bool italic, bool underline);
    FontMetrics Metrics(const FontHandle& font);
    // The widest line (lines break at CR LF, CR and LF) and lines x height.
    TextExtent Measure(const FontHandle& font, const std::wstring& text);
    // The text on one line, scaled about its top left.
    CoverageMask Render(const FontHandle& font, const std::wstring& text, float scaleX, float scaleY);
    // The same into mask, whose storage is used again (drawing renders often).
    void Render(const FontHandle& font, const std::wstring& text, float scaleX, float scaleY, CoverageMask& mask);
    // False when the font has no glyph for the character.
    bool Glyph(const FontHandle& font, uint32_t codePoint, GlyphBitmap& out);
    // The pairs among the characters that the font kerns.
    std::vector<KerningPair> Kerning(const FontHandle& font, const std::vector<uint32_t>& codePoints);
    // The family name of the face in use.
    std::string FamilyName(const FontHandle& font);

protected:
    struct Underline {
        // Rows from the baseline down to the line's top row, and its rows.
        int position = 0;
        int thickness = 1;
    };
    // The implementations, called under the service's lock. ResolveFont gives
    // the index of the request's font, made on first use.
    virtual size_t ResolveFont(const FontRequest& request) = 0;
    virtual FontMetrics FontMetricsOf(size_t font) = 0;
    virtual Underline UnderlineOf(size_t font) = 0;
    // Null without a glyph; valid until the next TrimCache.
    virtual const GlyphBitmap* GlyphOf(size_t font, uint32_t codePoint) = 0;
    virtual int KerningOf(size_t font, uint32_t first, uint32_t second) = 0;
    virtual std::string FamilyNameOf(size_t font) = 0;
    // Called before each request, so glyphs stay valid through one request.
    virtual void TrimCache() {}

private:
    // A glyph of the text being rendered, at its place on the line.
    struct PlacedGlyph {
        const GlyphBitmap* glyph;
        int64_t x;
        int64_t y;
    };
    size_t IndexOf(const FontHandle& font);
    std::mutex mMutex;
    // Kept between renders (under the lock) so that rendering allocates nothing.
    std::vector<PlacedGlyph> mPlaced;
    uint64_t mId;
};

TextService& GetTextService();
// Replaces the service for everything opened after it (tests install the box rasterizer).
void InstallTextService(std::unique_ptr<TextService> service);
// Back to FreeType, with every cache dropped.
void ResetTextService();

// The characters of UTF-16 text: a surrogate pair is one character; an
// unpaired surrogate is dropped.
std::vector<uint32_t> DecodeUtf16(const std::wstring& text);

} // namespace Platform
