#include "platform/fonts/FreeTypeTextService.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <system_error>
#include <unordered_map>

#include "platform/debug/DebugOutput.h"

namespace Platform {

namespace {

// One hinting mode for every glyph: light hinting keeps the shapes and the
// advances close to the outlines.
constexpr FT_Int32 kLoadFlags = FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT;

int RoundDiv(int64_t value, int64_t divisor)
{
    // Nearest, halves away from zero.
    const int64_t half = divisor / 2;
    return static_cast<int>(value >= 0 ? (value + half) / divisor : -((-value + half) / divisor));
}

int Round26Dot6(FT_Pos value)
{
    return RoundDiv(static_cast<int64_t>(value), 64);
}

bool LooksLikeFontFile(const std::string& face)
{
    if (face.find('/') == std::string::npos)
        return false;
    std::error_code error;
    return std::filesystem::is_regular_file(face, error);
}

} // namespace

struct FreeTypeTextService::Library {
    FT_Library ft = nullptr;
    FcConfig* config = nullptr;

    Library()
    {
        if (FT_Init_FreeType(&ft) != 0)
            ft = nullptr;
        config = FcInitLoadConfigAndFonts();
    }
    ~Library()
    {
        if (config != nullptr)
            FcConfigDestroy(config);
        if (ft != nullptr)
            FT_Done_FreeType(ft);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
};

struct FreeTypeTextService::Font {
    FontRequest request;
    FT_Face face = nullptr;
    bool emboldened = false;
    bool slanted = false;
    FontMetrics metrics;
    Underline underline;
    std::unordered_map<uint32_t, std::unique_ptr<GlyphBitmap>> glyphs;
    // The cached glyphs of the first 128 characters, looked up without hashing.
    std::array<const GlyphBitmap*, 128> ascii{};
    // Characters the face has no glyph for.
    std::unordered_map<uint32_t, bool> missing;

    Font() = default;
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    ~Font()
    {
        if (face != nullptr)
            FT_Done_Face(face);
    }
};

FreeTypeTextService::FreeTypeTextService() : mLibrary(std::make_unique<Library>()) {}

FreeTypeTextService::~FreeTypeTextService()
{
    mFonts.clear();
}

size_t FreeTypeTextService::ResolveFont(const FontRequest& request)
{
    for (size_t i = 0; i < mFonts.size(); ++i) {
        const FontRequest& r = mFonts[i]->request;
        if (r.face == request.face && r.pixelSize == request.pixelSize && r.bold == request.bold &&
            r.italic == request.italic && r.underline == request.underline)
            return i;
    }

    auto font = std::make_unique<Font>();
    font->request = request;
    std::string file;
    int faceIndex = 0;
    bool faceBold = false;
    bool faceItalic = false;
    bool fromConfig = false;
    if (LooksLikeFontFile(request.face)) {
        file = request.face;
    } else if (mLibrary->config != nullptr) {
        // The name is only ever a literal family, never parsed as a pattern.
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(request.face.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, request.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(mLibrary->config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(mLibrary->config, pattern, &result);
        if (match != nullptr) {
            FcChar8* path = nullptr;
            if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr)
                file = reinterpret_cast<const char*>(path);
            FcPatternGetInteger(match, FC_INDEX, 0, &faceIndex);
            int weight = FC_WEIGHT_REGULAR;
            int slant = FC_SLANT_ROMAN;
            FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
            FcPatternGetInteger(match, FC_SLANT, 0, &slant);
            faceBold = weight >= FC_WEIGHT_DEMIBOLD;
            faceItalic = slant != FC_SLANT_ROMAN;
            fromConfig = true;
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
    }

    if (!file.empty() && mLibrary->ft != nullptr &&
        FT_New_Face(mLibrary->ft, file.c_str(), faceIndex, &font->face) != 0)
        font->face = nullptr;
    if (font->face != nullptr && !FT_IS_SCALABLE(font->face)) {
        FT_Done_Face(font->face);
        font->face = nullptr;
    }
    if (font->face == nullptr) {
        OutputDebugText("No font file could be opened for \"" + request.face + "\"\n");
        font->metrics = {request.pixelSize, request.pixelSize};
        mFonts.push_back(std::move(font));
        return mFonts.size() - 1;
    }

    FT_Face face = font->face;
    if (!fromConfig) {
        faceBold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
        faceItalic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    }
    font->emboldened = request.bold && !faceBold;
    font->slanted = request.italic && !faceItalic;
    // Asked by character height: the em square is the pixel size.
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(request.pixelSize));

    const int64_t em = face->units_per_EM > 0 ? face->units_per_EM : 2048;
    const int64_t px = request.pixelSize;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF) {
        font->metrics.ascent = RoundDiv(int64_t{os2->usWinAscent} * px, em);
        font->metrics.height = font->metrics.ascent + RoundDiv(int64_t{os2->usWinDescent} * px, em);
    } else {
        font->metrics.ascent = RoundDiv(int64_t{face->ascender} * px, em);
        font->metrics.height = font->metrics.ascent + RoundDiv(-int64_t{face->descender} * px, em);
    }
    font->underline.position = std::max(1, RoundDiv(-int64_t{face->underline_position} * px, em));
    font->underline.thickness = std::max(1, RoundDiv(int64_t{face->underline_thickness} * px, em));
    mFonts.push_back(std::move(font));
    return mFonts.size() - 1;
}

FontMetrics FreeTypeTextService::FontMetricsOf(size_t font)
{
    return mFonts[font]->metrics;
}

TextService::Underline FreeTypeTextService::UnderlineOf(size_t font)
{
    return mFonts[font]->underline;
}

const GlyphBitmap* FreeTypeTextService::GlyphOf(size_t index, uint32_t codePoint)
{
    Font& font = *mFonts[index];
    if (font.face == nullptr)
        return nullptr;
    if (codePoint < font.ascii.size() && font.ascii[codePoint] != nullptr)
        return font.ascii[codePoint];
    const auto found = font.glyphs.find(codePoint);
    if (found != font.glyphs.end())
        return found->second.get();
    if (font.missing.count(codePoint) != 0)
        return nullptr;

    FT_Face face = font.face;
    const FT_UInt glyphIndex = FT_Get_Char_Index(face, codePoint);
    if (glyphIndex == 0 || FT_Load_Glyph(face, glyphIndex, kLoadFlags) != 0) {
        font.missing.emplace(codePoint, true);
        ++mCachedGlyphs;
        return nullptr;
    }
    FT_GlyphSlot slot = face->glyph;
    if (font.emboldened)
        FT_GlyphSlot_Embolden(slot);
    if (font.slanted)
        FT_GlyphSlot_Oblique(slot);
    auto glyph = std::make_unique<GlyphBitmap>();
    glyph->advance = Round26Dot6(slot->advance.x);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0 && slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
        const FT_Bitmap& bitmap = slot->bitmap;
        glyph->left = slot->bitmap_left;
        glyph->top = slot->bitmap_top;
        glyph->width = static_cast<int>(bitmap.width);
        glyph->height = static_cast<int>(bitmap.rows);
        glyph->pixels.resize(static_cast<size_t>(glyph->width) * static_cast<size_t>(glyph->height));
        for (int y = 0; y < glyph->height; ++y) {
            const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
            std::copy(row, row + glyph->width,
                      glyph->pixels.begin() + static_cast<ptrdiff_t>(y) * glyph->width);
        }
    }
    ++mCachedGlyphs;
    const GlyphBitmap* cached = font.glyphs.emplace(codePoint, std::move(glyph)).first->second.get();
    if (codePoint < font.ascii.size())
        font.ascii[codePoint] = cached;
    return cached;
}

int FreeTypeTextService::KerningOf(size_t index, uint32_t first, uint32_t second)
{
    FT_Face face = mFonts[index]->face;
    if (face == nullptr || !FT_HAS_KERNING(face))
        return 0;
    const FT_UInt left = FT_Get_Char_Index(face, first);
    const FT_UInt right = FT_Get_Char_Index(face, second);
    if (left == 0 || right == 0)
        return 0;
    FT_Vector delta{};
    if (FT_Get_Kerning(face, left, right, FT_KERNING_DEFAULT, &delta) != 0)
        return 0;
    return Round26Dot6(delta.x);
}

std::string FreeTypeTextService::FamilyNameOf(size_t index)
{
    const Font& font = *mFonts[index];
    if (font.face == nullptr || font.face->family_name == nullptr)
        return font.request.face;
    return font.face->family_name;
}

void FreeTypeTextService::TrimCache()
{
    if (mCachedGlyphs <= kMaxCachedGlyphs)
        return;
    for (const auto& font : mFonts) {
        font->glyphs.clear();
        font->ascii.fill(nullptr);
        font->missing.clear();
    }
    mCachedGlyphs = 0;
}

} // namespace Platform
