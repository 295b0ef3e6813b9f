#include "platform/fonts/BoxTextService.h"

#include <algorithm>

namespace Platform {

int BoxTextService::AdvanceFor(int pixelSize)
{
    return std::max(1, pixelSize / 2);
}

FontMetrics BoxTextService::MetricsFor(int pixelSize)
{
    return {pixelSize - pixelSize / 4, pixelSize};
}

size_t BoxTextService::ResolveFont(const FontRequest& request)
{
    for (size_t i = 0; i < mFonts.size(); ++i) {
        const FontRequest& r = mFonts[i].request;
        if (r.face == request.face && r.pixelSize == request.pixelSize && r.bold == request.bold &&
            r.italic == request.italic && r.underline == request.underline)
            return i;
    }
    Font font;
    font.request = request;
    const int advance = AdvanceFor(request.pixelSize);
    const FontMetrics metrics = MetricsFor(request.pixelSize);
    font.space.advance = advance;
    font.box.advance = advance;
    font.box.left = 1;
    font.box.top = metrics.ascent - 1;
    font.box.width = std::max(0, advance - 2);
    font.box.height = std::max(0, metrics.height - 2);
    font.box.pixels.assign(static_cast<size_t>(font.box.width) * static_cast<size_t>(font.box.height), 255);
    mFonts.push_back(std::move(font));
    return mFonts.size() - 1;
}

FontMetrics BoxTextService::FontMetricsOf(size_t font)
{
    return MetricsFor(mFonts[font].request.pixelSize);
}

TextService::Underline BoxTextService::UnderlineOf(size_t)
{
    return {1, 1};
}

const GlyphBitmap* BoxTextService::GlyphOf(size_t font, uint32_t codePoint)
{
    if (codePoint < 0x20)
        return nullptr;
    return codePoint == 0x20 ? &mFonts[font].space : &mFonts[font].box;
}

std::string BoxTextService::FamilyNameOf(size_t font)
{
    return mFonts[font].request.face;
}

} // namespace Platform
