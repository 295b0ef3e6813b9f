// Text measuring and drawing beside SDL2_ttf on the same DejaVu Sans file at
// 16 pixels, 40-character lines: SysFont::StringWidth against TTF_SizeUTF8
// (goal: at least as fast), SysFont::DrawString onto a 1024 x 768 memory
// image against TTF_RenderUTF8_Blended plus SDL_BlitSurface onto an ARGB
// surface (goal: at least as fast), and BMFont::DrawString in white with fast
// stretching against SDL_BlitSurface of the same glyph rectangles from an ARGB
// page surface (goal: at least 0.8 times its speed).
// Two more rows time the destination's share of a draw, to tell the fonts'
// work from the image's: the fill and coverage calls that SysFont::DrawString
// makes on an image of a class of its own (a plain memory image takes the
// whole mask in one call instead), replayed, and the glyph rectangles through
// the memory image's stretching blit alone.
#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/types/Point.h"
#include "graphics/types/Span.h"
#include "tools/bakefont/BakeFont.h"
#include "widgets/BMFont.h"
#include "widgets/FakeWidgetHost.h"
#include "widgets/SysFont.h"

namespace {

using namespace Tandry;

constexpr const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int kPixels = 16;
constexpr int kPoints = 12;  // 16 pixels at 96 dots per inch

const std::vector<std::string>& Lines()
{
    static const std::vector<std::string> lines = {
        "The quick brown fox jumps over the lazy ", "Pack my box with five dozen liquor jugs.",
        "Sphinx of black quartz, judge my vow now", "How vexingly quick daft zebras jump, yes",
        "0123456789 !?()[]{}<>+-*/=%&#@$ abcdefgh",
    };
    return lines;
}

std::vector<std::wstring> WideLines()
{
    std::vector<std::wstring> wide;
    for (const std::string& line : Lines())
        wide.emplace_back(line.begin(), line.end());
    return wide;
}

struct Ttf {
    Ttf()
    {
        SDL_Init(0);
        TTF_Init();
        font = TTF_OpenFont(kFontFile, kPixels);
        TTF_SetFontHinting(font, TTF_HINTING_LIGHT);
    }
    ~Ttf()
    {
        TTF_CloseFont(font);
        TTF_Quit();
    }
    TTF_Font* font = nullptr;
};

Ttf& GetTtf()
{
    static Ttf ttf;
    return ttf;
}

void SysFontStringWidth(benchmark::State& state)
{
    SysFont font(kFontFile, kPoints, false, false, false);
    const std::vector<std::wstring> lines = WideLines();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(font.StringWidth(lines[i], 1, 1, 0));
        i = (i + 1) % lines.size();
    }
}
BENCHMARK(SysFontStringWidth);

void TtfSizeUtf8(benchmark::State& state)
{
    TTF_Font* font = GetTtf().font;
    size_t i = 0;
    for (auto _ : state) {
        int w = 0;
        int h = 0;
        TTF_SizeUTF8(font, Lines()[i].c_str(), &w, &h);
        benchmark::DoNotOptimize(w);
        i = (i + 1) % Lines().size();
    }
}
BENCHMARK(TtfSizeUtf8);

void SysFontDrawString(benchmark::State& state)
{
    SysFont font(kFontFile, kPoints, false, false, false);
    MemoryImage image;
    image.Create(1024, 768);
    Graphics g(&image);
    const std::vector<std::wstring> lines = WideLines();
    size_t i = 0;
    for (auto _ : state) {
        font.DrawString(&g, 100, 300, lines[i], Color(200, 180, 40), g.mClipRect, 1, 1, 0, 0, kAlignBaseline);
        i = (i + 1) % lines.size();
    }
}
BENCHMARK(SysFontDrawString);

void TtfRenderBlendedAndBlit(benchmark::State& state)
{
    TTF_Font* font = GetTtf().font;
    SDL_Surface* screen = SDL_CreateRGBSurfaceWithFormat(0, 1024, 768, 32, SDL_PIXELFORMAT_ARGB8888);
    size_t i = 0;
    for (auto _ : state) {
        SDL_Surface* text = TTF_RenderUTF8_Blended(font, Lines()[i].c_str(), SDL_Color{200, 180, 40, 255});
        SDL_Rect at{100, 300 - TTF_FontAscent(font), 0, 0};
        SDL_BlitSurface(text, nullptr, screen, &at);
        SDL_FreeSurface(text);
        i = (i + 1) % Lines().size();
    }
    SDL_FreeSurface(screen);
}
BENCHMARK(TtfRenderBlendedAndBlit);

// A bitmap font baked once from the same file, and its page as an SDL surface.
struct Baked {
    Baked()
    {
        folder = std::filesystem::temp_directory_path() / ("moorglen-bench-font-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        std::ostringstream out;
        std::ostringstream err;
        RunBakeFont({"--range", "20-7E", kFontFile, std::to_string(kPixels), (folder / "f").string()}, out, err);
        font = std::make_unique<BMFont>((folder / "f.fnt").string());
        DDImage* page = font->Pages().empty() ? nullptr : font->Pages()[0];
        if (page != nullptr) {
            surface = SDL_CreateRGBSurfaceWithFormat(0, page->mWidth, page->mHeight, 32, SDL_PIXELFORMAT_ARGB8888);
            std::memcpy(surface->pixels, page->GetBits(),
                        sizeof(uint32_t) * static_cast<size_t>(page->mWidth) * static_cast<size_t>(page->mHeight));
            SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_BLEND);
        }
    }
    ~Baked()
    {
        SDL_FreeSurface(surface);
        font.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    FakeWidgetHost host;
    std::filesystem::path folder;
    std::unique_ptr<BMFont> font;
    SDL_Surface* surface = nullptr;
};

Baked& GetBaked()
{
    static Baked baked;
    return baked;
}

void BMFontDrawString(benchmark::State& state)
{
    BMFont& font = *GetBaked().font;
    MemoryImage image;
    image.Create(1024, 768);
    Graphics g(&image);
    g.SetFastStretch(true);
    const std::vector<std::wstring> lines = WideLines();
    size_t i = 0;
    for (auto _ : state) {
        font.DrawString(&g, 100, 300, lines[i], Color(255, 255, 255), g.mClipRect, 1, 1, 0, 0, kAlignBaseline);
        i = (i + 1) % lines.size();
    }
}
BENCHMARK(BMFontDrawString);

// Per line, each drawn glyph's rectangle on the page and its top left on the
// screen, as the font places them without kerning.
std::vector<std::vector<std::pair<Rect, Point>>> GlyphBlits(const BMFontData& data)
{
    std::vector<std::vector<std::pair<Rect, Point>>> blits;
    for (const std::string& line : Lines()) {
        std::vector<std::pair<Rect, Point>> rects;
        int pen = 100;
        for (const char c : line) {
            const BMGlyph& glyph = data.glyphs.at(c);
            if (glyph.width > 0 && glyph.height > 0)
                rects.push_back({Rect(glyph.x, glyph.y, glyph.width, glyph.height),
                                 Point(pen + glyph.xoffset, 300 - data.base + glyph.yoffset)});
            pen += glyph.xadvance;
        }
        blits.push_back(std::move(rects));
    }
    return blits;
}

void SdlBlitGlyphRectangles(benchmark::State& state)
{
    Baked& baked = GetBaked();
    SDL_Surface* screen = SDL_CreateRGBSurfaceWithFormat(0, 1024, 768, 32, SDL_PIXELFORMAT_ARGB8888);
    // The same rectangles as the font draws, worked out once.
    std::vector<std::vector<std::pair<SDL_Rect, SDL_Rect>>> blits;
    for (const auto& line : GlyphBlits(baked.font->Data())) {
        std::vector<std::pair<SDL_Rect, SDL_Rect>> rects;
        for (const auto& [src, at] : line)
            rects.push_back({SDL_Rect{src.x, src.y, src.width, src.height}, SDL_Rect{at.x, at.y, 0, 0}});
        blits.push_back(std::move(rects));
    }
    size_t i = 0;
    for (auto _ : state) {
        for (auto [src, dst] : blits[i])
            SDL_BlitSurface(baked.surface, &src, screen, &dst);
        i = (i + 1) % blits.size();
    }
    SDL_FreeSurface(screen);
}
BENCHMARK(SdlBlitGlyphRectangles);

// The memory image's share of BMFontDrawString: the same glyph rectangles
// through its stretching blit, in white with fast stretching, and nothing
// else. With argument 1 each blit copies only the glyph's top-left pixel,
// which leaves the per-call cost of the blit.
void MemoryImageStretchGlyphRectangles(benchmark::State& state)
{
    Baked& baked = GetBaked();
    DDImage* page = baked.font->Pages().empty() ? nullptr : baked.font->Pages()[0];
    MemoryImage image;
    image.Create(1024, 768);
    const Rect clip(0, 0, 1024, 768);
    auto blits = GlyphBlits(baked.font->Data());
    if (state.range(0) == 1) {
        for (auto& line : blits)
            for (auto& blit : line)
                blit.first = Rect(blit.first.x, blit.first.y, 1, 1);
    }
    size_t i = 0;
    for (auto _ : state) {
        for (const auto& [src, at] : blits[i])
            image.StretchBlt(page, Rect(at.x, at.y, src.width, src.height), src, clip, Color(255, 255, 255),
                             DRAWMODE_NORMAL, true);
        i = (i + 1) % blits.size();
    }
}
BENCHMARK(MemoryImageStretchGlyphRectangles)->Arg(0)->Arg(1);

// A memory image that keeps a copy of each fill and coverage call it gets.
class CapturingImage : public MemoryImage {
public:
    struct Call {
        bool coverage = false;
        std::vector<Span> spans;
        Color color;
        std::vector<uint8_t> mask;
        int maskX = 0;
        int maskY = 0;
        int pitch = 0;
    };

    void FillScanLines(const Span* spans, int count, const Color& color, int drawMode) override
    {
        calls.push_back({false, std::vector<Span>(spans, spans + count), color, {}, 0, 0, 0});
        MemoryImage::FillScanLines(spans, count, color, drawMode);
    }

    void FillScanLinesWithCoverage(const Span* spans, int count, const Color& color, int drawMode,
                                   const uint8_t* coverage, int coverageX, int coverageY, int coveragePitch,
                                   int last) override
    {
        // The rows the spans reach, copied with their pitch.
        int bottom = coverageY;
        for (int i = 0; i < count; ++i)
            bottom = std::max(bottom, spans[i].y + 1);
        const size_t bytes = static_cast<size_t>(bottom - coverageY) * static_cast<size_t>(coveragePitch);
        calls.push_back({true, std::vector<Span>(spans, spans + count), color,
                         std::vector<uint8_t>(coverage, coverage + bytes), coverageX, coverageY, coveragePitch});
        MemoryImage::FillScanLinesWithCoverage(spans, count, color, drawMode, coverage, coverageX, coverageY,
                                               coveragePitch, last);
    }

    std::vector<Call> calls;
};

// The fill slots' share of drawing text onto an image of another class: the
// fill and coverage calls that drawing each line makes, captured once and
// replayed onto a memory image.
void MemoryImageTextCoverage(benchmark::State& state)
{
    SysFont font(kFontFile, kPoints, false, false, false);
    std::vector<std::vector<CapturingImage::Call>> lines;
    for (const std::wstring& line : WideLines()) {
        CapturingImage capture;
        capture.Create(1024, 768);
        Graphics g(&capture);
        font.DrawString(&g, 100, 300, line, Color(200, 180, 40), g.mClipRect, 1, 1, 0, 0, kAlignBaseline);
        lines.push_back(std::move(capture.calls));
    }
    MemoryImage image;
    image.Create(1024, 768);
    size_t i = 0;
    for (auto _ : state) {
        for (const CapturingImage::Call& call : lines[i]) {
            const int count = static_cast<int>(call.spans.size());
            if (call.coverage)
                image.FillScanLinesWithCoverage(call.spans.data(), count, call.color, DRAWMODE_NORMAL,
                                                call.mask.data(), call.maskX, call.maskY, call.pitch, 0);
            else
                image.FillScanLines(call.spans.data(), count, call.color, DRAWMODE_NORMAL);
        }
        i = (i + 1) % lines.size();
    }
}
BENCHMARK(MemoryImageTextCoverage);

} // namespace
