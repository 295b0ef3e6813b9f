#include "platform/fonts/TextService.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>

#include "platform/fonts/FreeTypeTextService.h"

namespace Platform {

namespace {

std::atomic<uint64_t> gNextServiceId{1};

std::mutex gServiceMutex;
std::unique_ptr<TextService> gService;

bool IsHighSurrogate(uint32_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}

bool IsLowSurrogate(uint32_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

// Characters below the space take no room and draw nothing.
bool Printable(uint32_t c)
{
    return c >= 0x20;
}

// Calls f with each character of UTF-16 text: a surrogate pair is one
// character; an unpaired surrogate is dropped.
template <class F>
void ForEachCharacter(const std::wstring& text, F&& f)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const uint32_t u = static_cast<uint32_t>(text[i]);
        if (IsHighSurrogate(u)) {
            if (i + 1 < text.size() && IsLowSurrogate(static_cast<uint32_t>(text[i + 1]))) {
                f(0x10000 + ((u - 0xD800) << 10) + (static_cast<uint32_t>(text[i + 1]) - 0xDC00));
                ++i;
            }
            continue;
        }
        if (IsLowSurrogate(u) || u > 0x10FFFF)
            continue;
        f(u);
    }
}

// Adds a glyph's coverage into the mask (saturating at 255), at (x, y) of
// the mask; the parts outside the mask are left out.
void AddGlyph(CoverageMask& mask, const GlyphBitmap& glyph, int64_t x, int64_t y)
{
    const int64_t x0 = std::max<int64_t>(0, -x);
    const int64_t x1 = std::min<int64_t>(glyph.width, mask.width - x);
    const int64_t y0 = std::max<int64_t>(0, -y);
    const int64_t y1 = std::min<int64_t>(glyph.height, mask.height - y);
    for (int64_t row = y0; row < y1; ++row) {
        const uint8_t* src = glyph.pixels.data() + row * glyph.width + x0;
        uint8_t* dst = mask.pixels.data() + (y + row) * mask.width + x + x0;
        const int64_t count = x1 - x0;
        for (int64_t i = 0; i < count; ++i) {
            const uint8_t sum = static_cast<uint8_t>(dst[i] + src[i]);
            dst[i] = sum < dst[i] ? uint8_t{255} : sum;
        }
    }
}

// Nearest-pixel scaling about the top left; an empty mask when the scales
// make no sense or the result would be too large.
CoverageMask ScaleMask(const CoverageMask& in, float scaleX, float scaleY)
{
    CoverageMask out;
    if (!(scaleX > 0.0f) || !(scaleY > 0.0f) || in.width == 0 || in.height == 0)
        return out;
    const double width = std::ceil(in.width * static_cast<double>(scaleX));
    const double height = std::ceil(in.height * static_cast<double>(scaleY));
    if (width > TextService::kMaxMaskSide || height > TextService::kMaxMaskSide ||
        width * height > static_cast<double>(TextService::kMaxMaskPixels))
        return out;
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.offsetX = static_cast<int>(std::floor(in.offsetX * static_cast<double>(scaleX)));
    out.offsetY = static_cast<int>(std::floor(in.offsetY * static_cast<double>(scaleY)));
    out.pixels.resize(static_cast<size_t>(out.width) * static_cast<size_t>(out.height));
    std::vector<int> columns(static_cast<size_t>(out.width));
    for (int x = 0; x < out.width; ++x)
        columns[static_cast<size_t>(x)] = std::min(in.width - 1, static_cast<int>((x + 0.5) / scaleX));
    for (int y = 0; y < out.height; ++y) {
        const int sy = std::min(in.height - 1, static_cast<int>((y + 0.5) / scaleY));
        const uint8_t* src = in.pixels.data() + static_cast<size_t>(sy) * static_cast<size_t>(in.width);
        uint8_t* dst = out.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(out.width);
        for (int x = 0; x < out.width; ++x)
            dst[x] = src[columns[static_cast<size_t>(x)]];
    }
    return out;
}

} // namespace

std::vector<uint32_t> DecodeUtf16(const std::wstring& text)
{
    std::vector<uint32_t> out;
    out.reserve(text.size());
    ForEachCharacter(text, [&out](uint32_t c) { out.push_back(c); });
    return out;
}

TextService::TextService() : mId(gNextServiceId++) {}

FontHandle TextService::Open(const std::string& face, int pixelSize, bool bold, bool italic, bool underline)
{
    FontHandle handle;
    handle.request = {face, std::clamp(pixelSize, kMinPixelSize, kMaxPixelSize), bold, italic, underline};
    handle.serviceId = mId;
    std::lock_guard lock(mMutex);
    handle.index = ResolveFont(handle.request);
    return handle;
}

// A handle of another service (one installed before this) is resolved again.
size_t TextService::IndexOf(const FontHandle& font)
{
    return font.serviceId == mId ? font.index : ResolveFont(font.request);
}

FontMetrics TextService::Metrics(const FontHandle& font)
{
    std::lock_guard lock(mMutex);
    return FontMetricsOf(IndexOf(font));
}

TextExtent TextService::Measure(const FontHandle& font, const std::wstring& text)
{
    std::lock_guard lock(mMutex);
    TrimCache();
    const size_t index = IndexOf(font);
    int64_t widest = 0;
    int64_t line = 0;
    int lines = 1;
    // CR LF is one break: the LF right after a CR is passed over.
    bool afterCR = false;
    ForEachCharacter(text, [&](uint32_t c) {
        const bool lf = c == '\n';
        if (c == '\r' || (lf && !afterCR)) {
            widest = std::max(widest, line);
            line = 0;
            ++lines;
        }
        afterCR = c == '\r';
        if (lf || !Printable(c))
            return;
        if (const GlyphBitmap* glyph = GlyphOf(index, c))
            line += glyph->advance;
    });
    widest = std::max(widest, line);
    const int64_t height = int64_t{lines} * FontMetricsOf(index).height;
    return {static_cast<int>(std::min<int64_t>(widest, INT32_MAX)),
            static_cast<int>(std::min<int64_t>(height, INT32_MAX))};
}

CoverageMask TextService::Render(const FontHandle& font, const std::wstring& text, float scaleX, float scaleY)
{
    CoverageMask mask;
    Render(font, text, scaleX, scaleY, mask);
    return mask;
}

void TextService::Render(const FontHandle& font, const std::wstring& text, float scaleX, float scaleY,
                         CoverageMask& mask)
{
    mask.width = 0;
    mask.height = 0;
    mask.offsetX = 0;
    mask.offsetY = 0;
    mask.pixels.clear();

    std::lock_guard lock(mMutex);
    TrimCache();
    const size_t index = IndexOf(font);
    const FontMetrics metrics = FontMetricsOf(index);

    // Lay the glyphs out on one line; the mask covers the line's cell and
    // whatever the glyphs reach beyond it.
    mPlaced.clear();
    int64_t pen = 0;
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = metrics.height;
    bool pastLimit = false;
    ForEachCharacter(text, [&](uint32_t c) {
        if (pastLimit || !Printable(c))
            return;
        const GlyphBitmap* glyph = GlyphOf(index, c);
        if (glyph == nullptr)
            return;
        if (pen > kMaxMaskSide) {
            pastLimit = true;
            return;
        }
        const int64_t x = pen + glyph->left;
        const int64_t y = int64_t{metrics.ascent} - glyph->top;
        if (glyph->width > 0 && glyph->height > 0) {
            mPlaced.push_back({glyph, x, y});
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x + glyph->width);
            bottom = std::max(bottom, y + glyph->height);
        }
        pen += glyph->advance;
    });
    const int64_t drawnWidth = std::clamp<int64_t>(pen, 0, kMaxMaskSide);
    right = std::max(right, drawnWidth);
    const Underline underline = metrics.height > 0 && font.request.underline ? UnderlineOf(index) : Underline{};
    const int64_t underlineTop = int64_t{metrics.ascent} + underline.position;
    if (font.request.underline && drawnWidth > 0) {
        top = std::min(top, underlineTop);
        bottom = std::max(bottom, underlineTop + underline.thickness);
    }

    right = std::min<int64_t>(right, left + kMaxMaskSide);
    bottom = std::min<int64_t>(bottom, top + kMaxMaskSide);
    if (right <= left || bottom <= top)
        return;
    mask.width = static_cast<int>(right - left);
    mask.height = static_cast<int>(bottom - top);
    mask.offsetX = static_cast<int>(left);
    mask.offsetY = static_cast<int>(top);
    mask.pixels.assign(static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height), 0);

    for (const PlacedGlyph& p : mPlaced)
        AddGlyph(mask, *p.glyph, p.x - left, p.y - top);
    if (font.request.underline) {
        // The line runs under the drawn width, from the pen's start.
        const int64_t x0 = -left;
        const int64_t x1 = std::min<int64_t>(drawnWidth - left, mask.width);
        const int64_t y0 = std::max<int64_t>(underlineTop - top, 0);
        const int64_t y1 = std::min<int64_t>(underlineTop + underline.thickness - top, mask.height);
        for (int64_t y = y0; y < y1 && x0 < x1; ++y)
            std::fill(mask.pixels.begin() + y * mask.width + x0, mask.pixels.begin() + y * mask.width + x1,
                      uint8_t{255});
    }
    if (scaleX != 1.0f || scaleY != 1.0f)
        mask = ScaleMask(mask, scaleX, scaleY);
}

bool TextService::Glyph(const FontHandle& font, uint32_t codePoint, GlyphBitmap& out)
{
    std::lock_guard lock(mMutex);
    TrimCache();
    const GlyphBitmap* glyph = GlyphOf(IndexOf(font), codePoint);
    if (glyph == nullptr)
        return false;
    out = *glyph;
    return true;
}

std::vector<KerningPair> TextService::Kerning(const FontHandle& font, const std::vector<uint32_t>& codePoints)
{
    std::lock_guard lock(mMutex);
    const size_t index = IndexOf(font);
    std::vector<KerningPair> pairs;
    for (const uint32_t first : codePoints) {
        for (const uint32_t second : codePoints) {
            const int amount = KerningOf(index, first, second);
            if (amount != 0)
                pairs.push_back({first, second, amount});
        }
    }
    return pairs;
}

std::string TextService::FamilyName(const FontHandle& font)
{
    std::lock_guard lock(mMutex);
    return FamilyNameOf(IndexOf(font));
}

TextService& GetTextService()
{
    std::lock_guard lock(gServiceMutex);
    if (!gService)
        gService = std::make_unique<FreeTypeTextService>();
    return *gService;
}

void InstallTextService(std::unique_ptr<TextService> service)
{
    std::lock_guard lock(gServiceMutex);
    gService = std::move(service);
}

void ResetTextService()
{
    std::lock_guard lock(gServiceMutex);
    gService.reset();
}

} // namespace Platform
