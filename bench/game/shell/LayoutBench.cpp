// Loading the pictures of a 30-picture screen layout (GuiLayout::LoadImages
// through the application's image-file loader, as a board's loading step
// does) beside libpng decoding the same 30 PNG files from the same pack bytes
// into BGRA pixels directly. The pictures are pack members, as in the game's
// data pack: one full-screen backdrop and 29 buttons and panels. Both rows
// keep their pictures until the pass ends and free them untimed. Goal: the
// layout within 1.15 x libpng alone.
#include "app/TandryAppBase.h"
#include "game/shell/GuiLayout.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/images/ImageLib.h"
#include "resources/images/ImageWriters.h"
#include "resources/pak/PakInterface.h"
#include "resources/pak/PakWriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <png.h>
#include <unistd.h>

namespace {

constexpr int kPictures = 30;
const char* const kFolder = "data/gui/bench/";
// The same folder as the pack writer stores its members.
const char* const kPackFolder = "data\\gui\\bench\\";

struct Size {
    int width;
    int height;
};

// The backdrop first, then buttons and panels of a menu screen's sizes.
Size SizeOf(int i)
{
    if (i == 0)
        return {1024, 768};
    const Size sizes[] = {{180, 56}, {220, 64}, {96, 96}, {400, 300}, {260, 12}, {48, 48}};
    return sizes[i % 6];
}

// Soft gradients with some grain and an alpha edge, different per picture.
std::vector<uint32_t> Draw(int seed, Size size)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(size.width) * size.height);
    uint32_t noise = 2463534242u + static_cast<uint32_t>(seed) * 7919u;
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int grain = static_cast<int>(noise & 7) - 4;
            auto channel = [&](int v) { return static_cast<uint32_t>(std::clamp(v + grain, 0, 255)); };
            const int edge = std::min({x, y, size.width - 1 - x, size.height - 1 - y});
            const uint32_t a = seed == 0 ? 255u : channel(std::min(255, edge * 40));
            const uint32_t r = channel(x * 200 / size.width + seed);
            const uint32_t g = channel(y * 180 / size.height + 20);
            const uint32_t b = channel((x + y) % 160 + 40);
            pixels[static_cast<size_t>(y) * size.width + x] = a << 24 | r << 16 | g << 8 | b;
        }
    }
    return pixels;
}

std::string NameOf(int i)
{
    return "pic" + std::to_string(i);
}

// The headless platform, a pack holding the layout and its pictures, and an
// application object that serves as the image loader without being started.
class Rig {
public:
    Rig()
    {
        Platform::InstallPlatform(std::make_unique<Platform::HeadlessPlatform>());
        const std::filesystem::path work =
            std::filesystem::temp_directory_path() / ("moorglen-layout-bench-" + std::to_string(getpid()) + ".png");
        std::vector<Tandry::PakWriteEntry> entries;
        std::string layers = "[layers]\n";
        for (int i = 0; i < kPictures; ++i) {
            const Size size = SizeOf(i);
            const std::vector<uint32_t> pixels = Draw(i, size);
            Tandry::SavePngToFile(work.string(), {size.width, size.height, pixels.data()});
            std::ifstream in(work, std::ios::binary);
            files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            entries.push_back(Tandry::PakWriteEntry::FromBytes(kPackFolder + NameOf(i) + ".png", files.back()));
            layers += NameOf(i) + "=" + std::to_string(i * 10) + " " + std::to_string(i * 5) + " 0 0 0 0 " +
                      std::to_string(i % 4) + "\n";
        }
        std::filesystem::remove(work);
        entries.push_back(Tandry::PakWriteEntry::FromBytes(std::string(kPackFolder) + "layers.ini",
                                                           std::vector<uint8_t>(layers.begin(), layers.end())));
        std::vector<uint8_t> pack;
        std::string error;
        Tandry::PakInterface* pak = Tandry::GetSharedPakInterface();
        pak->Reset();
        ready = Tandry::WritePakToMemory(entries, pack, error) && pak->AddPakMemory("game.dat", std::move(pack));
        app = std::make_unique<Tandry::TandryAppBase>();
    }
    ~Rig()
    {
        app.reset();
        Tandry::GetSharedPakInterface()->Reset();
        Platform::ResetPlatform();
    }

    bool ready = false;
    std::vector<std::vector<uint8_t>> files;
    std::unique_ptr<Tandry::TandryAppBase> app;
};

void BM_Layout_LoadImages(benchmark::State& state)
{
    Rig rig;
    if (!rig.ready) {
        state.SkipWithError("the pack could not be made");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto layout = std::make_unique<Tandry::GuiLayout>(kFolder, false);
        state.ResumeTiming();
        layout->LoadImages();
        state.PauseTiming();
        const bool complete =
            layout->Entries().size() == kPictures &&
            std::all_of(layout->Entries().begin(), layout->Entries().end(),
                        [](const std::unique_ptr<Tandry::GuiLayoutEntry>& entry) { return entry->image != nullptr; });
        layout.reset();
        state.ResumeTiming();
        if (!complete) {
            state.SkipWithError("a picture did not load");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kPictures);
}

// Reads the 30 pictures one by one with read(i) each pass; they stay alive
// to the end of the pass and are freed untimed.
template <class Read>
void TimeReads(benchmark::State& state, Read read)
{
    Rig rig;
    if (!rig.ready) {
        state.SkipWithError("the pack could not be made");
        return;
    }
    std::vector<decltype(read(rig, 0))> pictures;
    pictures.reserve(kPictures);
    for (auto _ : state) {
        for (int i = 0; i < kPictures; ++i)
            pictures.push_back(read(rig, i));
        state.PauseTiming();
        const bool complete =
            std::all_of(pictures.begin(), pictures.end(), [](const auto& picture) { return picture != nullptr; });
        pictures.clear();
        state.ResumeTiming();
        if (!complete) {
            state.SkipWithError("a picture did not load");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kPictures);
}

// The project's image reader alone on the same pack members, alpha probes
// included as the application's loader asks: shows how much of the layout's
// time is the reading and how much the pictures' set-up.
void BM_Layout_GetImageSum(benchmark::State& state)
{
    TimeReads(state, [](Rig&, int i) { return Tandry::ImageLib::GetImage(kFolder + NameOf(i), true); });
}

// libpng's own reader from memory into BGRA, the format the loader gives.
std::unique_ptr<uint32_t[]> DecodeWithLibpng(const std::vector<uint8_t>& file)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, file.data(), file.size()) == 0)
        return nullptr;
    image.format = PNG_FORMAT_BGRA;
    std::unique_ptr<uint32_t[]> pixels(new uint32_t[static_cast<size_t>(image.width) * image.height]);
    if (png_image_finish_read(&image, nullptr, pixels.get(), 0, nullptr) == 0) {
        png_image_free(&image);
        return nullptr;
    }
    return pixels;
}

void BM_Layout_LibpngDirect(benchmark::State& state)
{
    TimeReads(state, [](Rig& rig, int i) { return DecodeWithLibpng(rig.files[static_cast<size_t>(i)]); });
}

} // namespace

BENCHMARK(BM_Layout_LoadImages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Layout_GetImageSum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Layout_LibpngDirect)->Unit(benchmark::kMillisecond);
