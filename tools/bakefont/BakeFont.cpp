#include "tools/bakefont/BakeFont.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>
#include <sstream>

#include "platform/fonts/TextService.h"
#include "platform/fs/FileOps.h"
#include "platform/fs/SafeWrite.h"
#include "resources/images/ImageWriters.h"

namespace Tandry {

namespace {

constexpr const char* kUsage =
    "usage: bakefont [--bold] [--italic] [--range FIRST-LAST]... [--page WxH]\n"
    "                [--padding UP,RIGHT,DOWN,LEFT] [--spacing H,V] <face or font file> <pixel size> <output name>\n"
    "  FIRST and LAST are hexadecimal character codes (default 20-7E and A0-FF);\n"
    "  the page is 256x256 by default; writes <output name>.fnt and <output name>_<n>.png\n";

constexpr int kMaxPageSide = 4096;

struct Options {
    std::string face;
    int pixelSize = 0;
    bool bold = false;
    bool italic = false;
    std::vector<std::pair<uint32_t, uint32_t>> ranges;
    int pageWidth = 256;
    int pageHeight = 256;
    // Up, right, down, left.
    int padding[4] = {0, 0, 0, 0};
    int spacing[2] = {1, 1};
    std::string output;
};

// Digits only (decimal, or hexadecimal with hex), within lo..hi.
std::optional<long> ParseNumber(const std::string& text, bool hex, long lo, long hi)
{
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    long value = 0;
    for (const char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + digit;
    }
    if (value < lo || value > hi)
        return std::nullopt;
    return value;
}

// Numbers separated by sep, exactly count of them.
bool ParseList(const std::string& text, char sep, int count, long lo, long hi, bool hex, long* out)
{
    std::string rest = text;
    for (int i = 0; i < count; ++i) {
        const size_t cut = i + 1 < count ? rest.find(sep) : std::string::npos;
        if (i + 1 < count && cut == std::string::npos)
            return false;
        const std::optional<long> value = ParseNumber(rest.substr(0, cut), hex, lo, hi);
        if (!value)
            return false;
        out[i] = *value;
        rest = cut == std::string::npos ? std::string() : rest.substr(cut + 1);
    }
    return true;
}

bool ParseArgs(const std::vector<std::string>& args, Options& o)
{
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        long values[4];
        if (a == "--bold") {
            o.bold = true;
        } else if (a == "--italic") {
            o.italic = true;
        } else if (a == "--range" && hasValue) {
            std::string range = args[++i];
            if (!ParseList(range, '-', 2, 0, 0x10FFFF, true, values) || values[0] > values[1])
                return false;
            o.ranges.emplace_back(static_cast<uint32_t>(values[0]), static_cast<uint32_t>(values[1]));
        } else if (a == "--page" && hasValue) {
            if (!ParseList(args[++i], 'x', 2, 1, kMaxPageSide, false, values))
                return false;
            o.pageWidth = static_cast<int>(values[0]);
            o.pageHeight = static_cast<int>(values[1]);
        } else if (a == "--padding" && hasValue) {
            if (!ParseList(args[++i], ',', 4, 0, 64, false, values))
                return false;
            std::copy(values, values + 4, o.padding);
        } else if (a == "--spacing" && hasValue) {
            if (!ParseList(args[++i], ',', 2, 0, 64, false, values))
                return false;
            std::copy(values, values + 2, o.spacing);
        } else if (a.rfind("--", 0) == 0) {
            return false;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 3 || positional[0].empty() || positional[2].empty())
        return false;
    o.face = positional[0];
    const std::optional<long> size = ParseNumber(positional[1], false, Platform::TextService::kMinPixelSize,
                                                 Platform::TextService::kMaxPixelSize);
    if (!size)
        return false;
    o.pixelSize = static_cast<int>(*size);
    o.output = positional[2];
    if (o.ranges.empty())
        o.ranges = {{0x20, 0x7E}, {0xA0, 0xFF}};
    return true;
}

struct PlacedGlyph {
    uint32_t code = 0;
    Platform::GlyphBitmap bitmap;
    int page = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

std::string BaseName(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string PageName(const std::string& output, int page)
{
    return output + "_" + std::to_string(page) + ".png";
}

// Removes the files written so far.
void RemoveAll(const std::vector<std::string>& files)
{
    for (const std::string& file : files)
        Platform::RemoveFile(file);
}

} // namespace

int RunBakeFont(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Options o;
    if (!ParseArgs(args, o)) {
        err << kUsage;
        return 2;
    }

    Platform::TextService& service = Platform::GetTextService();
    const Platform::FontHandle font = service.Open(o.face, o.pixelSize, o.bold, o.italic, false);
    const Platform::FontMetrics metrics = service.Metrics(font);

    std::set<uint32_t> codes;
    for (const auto& [first, last] : o.ranges) {
        for (uint32_t c = first; c <= last; ++c)
            codes.insert(c);
    }

    // Shelves left to right, top to bottom; a new page when one is full.
    std::vector<PlacedGlyph> glyphs;
    int page = 0;
    int penX = 0;
    int penY = 0;
    int shelfHeight = 0;
    for (const uint32_t code : codes) {
        PlacedGlyph g;
        g.code = code;
        if (code < 0x20 || !service.Glyph(font, code, g.bitmap))
            continue;
        g.width = g.bitmap.width + o.padding[1] + o.padding[3];
        g.height = g.bitmap.height + o.padding[0] + o.padding[2];
        if (g.width > o.pageWidth || g.height > o.pageHeight) {
            err << "bakefont: the glyph of U+" << std::hex << code << std::dec << " does not fit a " << o.pageWidth
                << "x" << o.pageHeight << " page\n";
            return 1;
        }
        if (penX + g.width > o.pageWidth) {
            penX = 0;
            penY += shelfHeight + o.spacing[1];
            shelfHeight = 0;
        }
        if (penY + g.height > o.pageHeight) {
            ++page;
            penX = 0;
            penY = 0;
            shelfHeight = 0;
        }
        g.page = page;
        g.x = penX;
        g.y = penY;
        penX += g.width + o.spacing[0];
        shelfHeight = std::max(shelfHeight, g.height);
        glyphs.push_back(std::move(g));
    }
    if (glyphs.empty()) {
        err << "bakefont: no character of the ranges has a glyph in \"" << o.face << "\"\n";
        return 1;
    }
    const int pageCount = page + 1;

    // Pages: white, the coverage as alpha, so that drawing tints them.
    std::vector<std::string> written;
    const size_t pagePixels = static_cast<size_t>(o.pageWidth) * static_cast<size_t>(o.pageHeight);
    for (int p = 0; p < pageCount; ++p) {
        std::vector<uint32_t> pixels(pagePixels, 0x00FFFFFFu);
        for (const PlacedGlyph& g : glyphs) {
            if (g.page != p)
                continue;
            for (int y = 0; y < g.bitmap.height; ++y) {
                for (int x = 0; x < g.bitmap.width; ++x) {
                    const uint32_t coverage = g.bitmap.pixels[static_cast<size_t>(y * g.bitmap.width + x)];
                    const size_t at = static_cast<size_t>(g.y + o.padding[0] + y) * static_cast<size_t>(o.pageWidth) +
                                      static_cast<size_t>(g.x + o.padding[3] + x);
                    pixels[at] = coverage << 24 | 0x00FFFFFFu;
                }
            }
        }
        const std::string name = PageName(o.output, p);
        if (!SavePngToFile(name, ImageLib::ImageView{o.pageWidth, o.pageHeight, pixels.data()})) {
            err << "bakefont: cannot write " << name << "\n";
            RemoveAll(written);
            return 1;
        }
        written.push_back(name);
    }

    std::vector<uint32_t> codeList;
    for (const PlacedGlyph& g : glyphs)
        codeList.push_back(g.code);
    const std::vector<Platform::KerningPair> kerning = service.Kerning(font, codeList);

    std::ostringstream fnt;
    const auto line = [&fnt](const std::string& text) { fnt << text << "\r\n"; };
    // A quote would end the quoted face early.
    std::string family = service.FamilyName(font);
    std::replace(family.begin(), family.end(), '"', '\'');
    std::ostringstream info;
    info << "info face=\"" << family << "\" size=" << o.pixelSize << " bold=" << (o.bold ? 1 : 0)
         << " italic=" << (o.italic ? 1 : 0) << " charset=\"\" unicode=1 stretchH=100 smooth=1 aa=1 padding="
         << o.padding[0] << "," << o.padding[1] << "," << o.padding[2] << "," << o.padding[3] << " spacing="
         << o.spacing[0] << "," << o.spacing[1];
    line(info.str());
    line("common lineHeight=" + std::to_string(metrics.height) + " base=" + std::to_string(metrics.ascent) +
         " scaleW=" + std::to_string(o.pageWidth) + " scaleH=" + std::to_string(o.pageHeight) +
         " pages=" + std::to_string(pageCount) + " packed=0");
    for (int p = 0; p < pageCount; ++p)
        line("page id=" + std::to_string(p) + " file=\"" + BaseName(PageName(o.output, p)) + "\"");
    line("chars count=" + std::to_string(glyphs.size()));
    for (const PlacedGlyph& g : glyphs) {
        // The rectangle holds the padding; the offsets place the glyph's own pixels.
        line("char id=" + std::to_string(g.code) + " x=" + std::to_string(g.x) + " y=" + std::to_string(g.y) +
             " width=" + std::to_string(g.width) + " height=" + std::to_string(g.height) +
             " xoffset=" + std::to_string(g.bitmap.left - o.padding[3]) +
             " yoffset=" + std::to_string(metrics.ascent - g.bitmap.top - o.padding[0]) +
             " xadvance=" + std::to_string(g.bitmap.advance) + " page=" + std::to_string(g.page) + " chnl=15");
    }
    line("kernings count=" + std::to_string(kerning.size()));
    for (const Platform::KerningPair& k : kerning)
        line("kerning first=" + std::to_string(k.first) + " second=" + std::to_string(k.second) +
             " amount=" + std::to_string(k.amount));

    const std::string description = fnt.str();
    const std::string fntName = o.output + ".fnt";
    if (!Platform::SafeWrite::WriteBytes(fntName, description.data(), description.size())) {
        err << "bakefont: cannot write " << fntName << "\n";
        RemoveAll(written);
        return 1;
    }
    out << "bakefont: " << glyphs.size() << " glyphs on " << pageCount << " page(s) in " << fntName << "\n";
    return 0;
}

} // namespace Tandry
