// The widget manager's draw pass over a dirty full-screen board at
// 1024 x 768: an opaque backdrop image and 100 child widgets each drawing a
// 64 x 64 sprite with graded alpha. Beside it, in the same run, the same
// blits made directly with Graphics::DrawImage onto the same image, and
// SDL_BlitSurface of the same content (ARGB8888 onto XRGB8888). Goal: the
// draw pass within 1.15 times the direct blits (the tree's own cost at most
// 15 %).
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/context/Graphics.h"
#include "graphics/image/MemoryImage.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kSprite = 64;
constexpr int kSprites = 100;

struct Content {
    std::vector<uint32_t> backdrop;
    std::vector<uint32_t> sprite;
    std::vector<SDL_Point> places;
};

// An opaque textured backdrop, a round sprite whose alpha falls off to its
// edge, and 100 places spread over the screen by a fixed sequence.
const Content& TheContent()
{
    static const Content content = [] {
        Content c;
        c.backdrop.resize(static_cast<size_t>(kWidth) * kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                c.backdrop[static_cast<size_t>(y) * kWidth + x] =
                    0xFF000000u | static_cast<uint32_t>((x * 7) & 255) << 16 |
                    static_cast<uint32_t>((y * 5) & 255) << 8 | static_cast<uint32_t>((x + y) & 255);
        c.sprite.resize(kSprite * kSprite);
        for (int y = 0; y < kSprite; ++y) {
            for (int x = 0; x < kSprite; ++x) {
                const int dx = x - 32;
                const int dy = y - 32;
                const int d2 = dx * dx + dy * dy;
                const uint32_t alpha = d2 >= 1024 ? 0u : static_cast<uint32_t>(255 - d2 * 255 / 1024);
                c.sprite[static_cast<size_t>(y) * kSprite + x] =
                    alpha << 24 | 0x00C08040u | static_cast<uint32_t>(x * 4) << 8;
            }
        }
        uint32_t seed = 12345;
        for (int i = 0; i < kSprites; ++i) {
            seed = seed * 1103515245u + 12345u;
            const int x = static_cast<int>((seed >> 8) % (kWidth - kSprite));
            seed = seed * 1103515245u + 12345u;
            const int y = static_cast<int>((seed >> 8) % (kHeight - kSprite));
            c.places.push_back({x, y});
        }
        return c;
    }();
    return content;
}

std::unique_ptr<Tandry::MemoryImage> MakeImage(const std::vector<uint32_t>& words, int width, int height)
{
    auto image = std::make_unique<Tandry::MemoryImage>();
    image->SetBits(words.data(), width, height, true);
    return image;
}

class ImageWidget : public Tandry::Widget {
public:
    explicit ImageWidget(Tandry::Image* image) : mImage(image) {}
    void Draw(Tandry::Graphics* g) override { g->DrawImage(mImage, 0, 0); }

private:
    Tandry::Image* mImage;
};

struct Scene {
    Scene()
        : backdrop(MakeImage(TheContent().backdrop, kWidth, kHeight)),
          sprite(MakeImage(TheContent().sprite, kSprite, kSprite)), board(backdrop.get()), manager(nullptr)
    {
        screen.Create(kWidth, kHeight);
        board.Resize(0, 0, kWidth, kHeight);
        for (const SDL_Point& p : TheContent().places) {
            sprites.push_back(std::make_unique<ImageWidget>(sprite.get()));
            sprites.back()->Resize(p.x, p.y, kSprite, kSprite);
            board.AddWidget(sprites.back().get());
        }
        manager.width = kWidth;
        manager.height = kHeight;
        manager.drawImage = &screen;
        manager.drawOffsetRect = Tandry::Rect(0, 0, kWidth, kHeight);
        manager.AddWidget(&board);
    }
    ~Scene() { manager.RemoveAllWidgets(false, true); }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    std::unique_ptr<Tandry::MemoryImage> backdrop;
    std::unique_ptr<Tandry::MemoryImage> sprite;
    Tandry::MemoryImage screen;
    ImageWidget board;
    std::vector<std::unique_ptr<ImageWidget>> sprites;
    Tandry::WidgetManager manager;
};

void CountPixels(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() *
                            (static_cast<int64_t>(kWidth) * kHeight + int64_t{kSprites} * kSprite * kSprite));
}

void BM_WidgetDrawScreen_Board(benchmark::State& state)
{
    Scene scene;
    for (auto _ : state) {
        scene.board.dirty = true;
        benchmark::DoNotOptimize(scene.manager.DrawScreen());
    }
    CountPixels(state);
}
BENCHMARK(BM_WidgetDrawScreen_Board)->Unit(benchmark::kMicrosecond);

void BM_WidgetDrawScreen_DirectBlits(benchmark::State& state)
{
    Scene scene;
    for (auto _ : state) {
        Tandry::Graphics g(&scene.screen);
        g.DrawImage(scene.backdrop.get(), 0, 0);
        for (const SDL_Point& p : TheContent().places)
            g.DrawImage(scene.sprite.get(), p.x, p.y);
        benchmark::DoNotOptimize(scene.screen.GetBits());
    }
    CountPixels(state);
}
BENCHMARK(BM_WidgetDrawScreen_DirectBlits)->Unit(benchmark::kMicrosecond);

void BM_WidgetDrawScreen_SdlBlits(benchmark::State& state)
{
    std::vector<uint32_t> backdropWords = TheContent().backdrop;
    std::vector<uint32_t> spriteWords = TheContent().sprite;
    std::vector<uint32_t> screenWords(static_cast<size_t>(kWidth) * kHeight);
    SDL_Surface* backdrop = SDL_CreateRGBSurfaceWithFormatFrom(backdropWords.data(), kWidth, kHeight, 32, kWidth * 4,
                                                               SDL_PIXELFORMAT_XRGB8888);
    SDL_Surface* sprite = SDL_CreateRGBSurfaceWithFormatFrom(spriteWords.data(), kSprite, kSprite, 32, kSprite * 4,
                                                             SDL_PIXELFORMAT_ARGB8888);
    SDL_Surface* screen = SDL_CreateRGBSurfaceWithFormatFrom(screenWords.data(), kWidth, kHeight, 32, kWidth * 4,
                                                             SDL_PIXELFORMAT_XRGB8888);
    SDL_SetSurfaceBlendMode(backdrop, SDL_BLENDMODE_NONE);
    SDL_SetSurfaceBlendMode(sprite, SDL_BLENDMODE_BLEND);
    for (auto _ : state) {
        SDL_BlitSurface(backdrop, nullptr, screen, nullptr);
        for (const SDL_Point& p : TheContent().places) {
            SDL_Rect at{p.x, p.y, kSprite, kSprite};
            SDL_BlitSurface(sprite, nullptr, screen, &at);
        }
        benchmark::DoNotOptimize(screenWords.data());
    }
    SDL_FreeSurface(screen);
    SDL_FreeSurface(sprite);
    SDL_FreeSurface(backdrop);
    CountPixels(state);
}
BENCHMARK(BM_WidgetDrawScreen_SdlBlits)->Unit(benchmark::kMicrosecond);

} // namespace
