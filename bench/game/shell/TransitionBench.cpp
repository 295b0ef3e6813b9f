// Screen transitions drawing one software frame at 1024 x 768 between two
// boards that each show a full-screen picture, at a quarter of the way:
// the fade beside the same board draw plus FillRect made directly (goal:
// within 1.1 times), the page turn beside one DrawTrianglesTex of the same
// 200 triangles (goal: within 1.2 times), and pixman's OVER of a full-screen
// picture and its affine composite of the snapshot in the same run.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "bench/graphics/image/MemoryImageDrawBench.h"
#include "game/shell/BaseBoard.h"
#include "game/shell/BoardTransformerFade.h"
#include "game/shell/BoardTransformerPager.h"
#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"
#include "graphics/types/Color.h"
#include "resources/ini/GameIni.h"
#include "widgets/WidgetFlag.h"
#include "widgets/WidgetFlagState.h"

namespace {

using namespace DrawBench;

constexpr int64_t kFrame = int64_t{kWidth} * kHeight;

class PictureBoard : public Tandry::BaseBoard {
public:
    explicit PictureBoard(Tandry::Image* picture) : BaseBoard(false), mPicture(picture)
    {
        Resize(0, 0, kWidth, kHeight);
    }
    void Draw(Tandry::Graphics* g) override { g->DrawImage(mPicture, 0, 0); }

private:
    Tandry::Image* mPicture;
};

// A second opaque picture, different from the backdrop.
Picture OtherPicture()
{
    Picture p{kWidth, kHeight, std::vector<uint32_t>(static_cast<size_t>(kFrame))};
    for (size_t i = 0; i < p.px.size(); ++i)
        p.px[i] = 0xFF000000u | (Hash(static_cast<uint32_t>(i) * 3u + 1u) & 0xFFFFFF);
    return p;
}

// The settings the transitions read their time from, loaded before any is made.
struct OneSecondFade {
    OneSecondFade()
    {
        Tandry::ResetGameIni();
        Tandry::gGameIni.LoadText("[Game]\nScreenFade=1.0\n");
    }
    ~OneSecondFade() { Tandry::ResetGameIni(); }
};

// Two picture boards, a screen, and the transition of the kind between them
// at p = 0.25 on a "ScreenFade" of 1 s.
template <typename Kind>
struct Scene {
    Scene()
        : screen(MakeImage(Backdrop())), oldPicture(MakeImage(Backdrop())), newPicture(MakeImage(OtherPicture())),
          from(oldPicture.get()), to(newPicture.get())
    {
        transition.Resize(0, 0, kWidth, kHeight);
        transition.fromBoard = &from;
        transition.toBoard = &to;
        transition.Start();
        transition.Advance(0.25f);
        if (transition.elapsed != 0.25f || !transition.running || Tandry::BoardTransformer::Progress(
                transition.elapsed, transition.duration) != 0.25f)
            std::abort(); // the frame would not be the one described
        state.flags = Tandry::WIDGETFLAGS_DRAW;
        state.belowModalFlags = Tandry::WIDGETFLAGS_DRAW;
    }
    OneSecondFade settings;
    std::unique_ptr<Tandry::MemoryImage> screen;
    std::unique_ptr<Tandry::MemoryImage> oldPicture;
    std::unique_ptr<Tandry::MemoryImage> newPicture;
    PictureBoard from;
    PictureBoard to;
    Kind transition;
    Tandry::WidgetFlagState state;
};

void BM_Transition_Fade(benchmark::State& state)
{
    Scene<Tandry::BoardTransformerFade> scene;
    Tandry::Graphics g(scene.screen.get());
    for (auto _ : state) {
        scene.transition.DrawAll(&scene.state, &g);
        benchmark::DoNotOptimize(scene.screen->mBits.get());
    }
    CountPixels(state, kFrame);
}

void BM_Transition_FadeDirect(benchmark::State& state)
{
    Scene<Tandry::BoardTransformerFade> scene;
    Tandry::Graphics g(scene.screen.get());
    for (auto _ : state) {
        g.DrawImage(scene.oldPicture.get(), 0, 0);
        g.SetColor(Tandry::Color(0, 0, 0, 127));
        g.FillRect(0, 0, kWidth, kHeight);
        benchmark::DoNotOptimize(scene.screen->mBits.get());
    }
    CountPixels(state, kFrame);
}

void BM_Transition_Page(benchmark::State& state)
{
    Scene<Tandry::BoardTransformerPager> scene;
    Tandry::Graphics g(scene.screen.get());
    for (auto _ : state) {
        scene.transition.DrawAll(&scene.state, &g);
        benchmark::DoNotOptimize(scene.screen->mBits.get());
    }
    CountPixels(state, kFrame);
}

void BM_Transition_PageDirectTriangles(benchmark::State& state)
{
    Scene<Tandry::BoardTransformerPager> scene;
    Tandry::Graphics g(scene.screen.get());
    for (auto _ : state) {
        g.SetColor(Tandry::Color::White);
        g.DrawTrianglesTex(scene.transition.snapshot.get(), scene.transition.mesh.Triangles(),
                           Tandry::PageMesh::kTriangles);
        benchmark::DoNotOptimize(scene.screen->mBits.get());
    }
    CountPixels(state, kFrame);
}

// The same triangles over the new board's picture: what the page draws.
void BM_Transition_PageDirectBoardAndTriangles(benchmark::State& state)
{
    Scene<Tandry::BoardTransformerPager> scene;
    Tandry::Graphics g(scene.screen.get());
    for (auto _ : state) {
        g.DrawImage(scene.newPicture.get(), 0, 0);
        g.SetColor(Tandry::Color::White);
        g.DrawTrianglesTex(scene.transition.snapshot.get(), scene.transition.mesh.Triangles(),
                           Tandry::PageMesh::kTriangles);
        benchmark::DoNotOptimize(scene.screen->mBits.get());
    }
    CountPixels(state, kFrame);
}

void BM_Transition_PixmanPictureOver(benchmark::State& state)
{
    PixmanPicture dest(PIXMAN_a8r8g8b8, kWidth, kHeight, Backdrop().px);
    PixmanPicture source(PIXMAN_a8r8g8b8, kWidth, kHeight, Premultiplied(OtherPicture()));
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, source.Get(), nullptr, dest.Get(), 0, 0, 0, 0, 0, 0, kWidth,
                                 kHeight);
        benchmark::DoNotOptimize(pixman_image_get_data(dest.Get()));
    }
    CountPixels(state, kFrame);
}

// The snapshot squeezed to half its width and shifted down by 19 lines, as
// the page lies at a quarter of the turn, sampled nearest.
void BM_Transition_PixmanSnapshotAffine(benchmark::State& state)
{
    PixmanPicture dest(PIXMAN_a8r8g8b8, kWidth, kHeight, Backdrop().px);
    PixmanPicture snapshot(PIXMAN_a8r8g8b8, kWidth, kHeight, Premultiplied(OtherPicture()));
    pixman_f_transform_t f;
    pixman_f_transform_init_translate(&f, 0.0, -19.0);
    pixman_f_transform_scale(&f, nullptr, 2.0, 1.0);
    pixman_transform_t t;
    pixman_transform_from_pixman_f_transform(&t, &f);
    pixman_image_set_transform(snapshot.Get(), &t);
    pixman_image_set_filter(snapshot.Get(), PIXMAN_FILTER_NEAREST, nullptr, 0);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, snapshot.Get(), nullptr, dest.Get(), 0, 0, 0, 0, 0, 19,
                                 kWidth / 2, kHeight - 19);
        benchmark::DoNotOptimize(pixman_image_get_data(dest.Get()));
    }
    CountPixels(state, kFrame);
}

} // namespace

BENCHMARK(BM_Transition_Fade)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Transition_FadeDirect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Transition_Page)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Transition_PageDirectTriangles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Transition_PageDirectBoardAndTriangles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Transition_PixmanPictureOver)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Transition_PixmanSnapshotAffine)->Unit(benchmark::kMillisecond);
