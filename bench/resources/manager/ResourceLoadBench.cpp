// Loading a resource group of 100 PNG pictures of 256 x 256 marked "nopal",
// all pack members, through the application's shared-image store, beside the
// sum of ImageLib::GetImage of the same files from the same pack (the alpha
// probes included, as the store reads them). Both rows keep their 100
// pictures until the pass ends and free them untimed, so both pay for the
// same fresh memory. Goal: the group load within
// 1.10 x the sum, so the manager's own work (store, alpha scans, flags) stays
// within 10 %.
#include "app/TandryAppBase.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/images/ImageLib.h"
#include "resources/images/ImageWriters.h"
#include "resources/manager/ResourceManager.h"
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

#include <unistd.h>

namespace {

constexpr int kCount = 100;
constexpr int kSide = 256;

std::string PicturePath(int i)
{
    return "data\\bench\\pic" + std::to_string(i) + ".png";
}

// Soft gradients with a little grain, different in every picture.
std::vector<uint32_t> Draw(int seed)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(kSide) * kSide);
    uint32_t noise = 2463534242u + static_cast<uint32_t>(seed) * 7919u;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int grain = static_cast<int>(noise & 7) - 4;
            auto channel = [&](int v) { return static_cast<uint32_t>(std::clamp(v + grain, 0, 255)); };
            const uint32_t r = channel(x + seed);
            const uint32_t g = channel(y * 3 / 4 + 30);
            const uint32_t b = channel((x + y) / 2);
            const uint32_t a = channel(128 + (x * y) % 128);
            pixels[static_cast<size_t>(y) * kSide + x] = a << 24 | r << 16 | g << 8 | b;
        }
    }
    return pixels;
}

// The headless platform, the pack with the manifest and the pictures, and an
// application object that serves as the manager's host without being started.
class Rig {
public:
    Rig()
    {
        Platform::InstallPlatform(std::make_unique<Platform::HeadlessPlatform>());
        const std::filesystem::path work =
            std::filesystem::temp_directory_path() / ("moorglen-resource-bench-" + std::to_string(getpid()) + ".png");
        std::vector<Tandry::PakWriteEntry> entries;
        std::string manifest = "<ResourceManifest><Resources id=\"Bench\">";
        for (int i = 0; i < kCount; ++i) {
            const std::vector<uint32_t> pixels = Draw(i);
            Tandry::SavePngToFile(work.string(), {kSide, kSide, pixels.data()});
            std::ifstream in(work, std::ios::binary);
            entries.push_back(Tandry::PakWriteEntry::FromBytes(
                PicturePath(i), std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {})));
            manifest += "<Image id=\"P" + std::to_string(i) + "\" path=\"" + PicturePath(i) + "\" nopal=\"\"/>";
        }
        std::filesystem::remove(work);
        manifest += "</Resources></ResourceManifest>";
        entries.push_back(Tandry::PakWriteEntry::FromBytes("data\\bench\\resources.xml",
                                                           std::vector<uint8_t>(manifest.begin(), manifest.end())));
        std::vector<uint8_t> pack;
        std::string error;
        Tandry::PakInterface* pak = Tandry::GetSharedPakInterface();
        pak->Reset();
        ready = Tandry::WritePakToMemory(entries, pack, error) && pak->AddPakMemory("main.pak", std::move(pack));

        app = std::make_unique<Tandry::TandryAppBase>();
        manager = std::make_unique<Tandry::ResourceManager>(app.get());
        ready = ready && manager->ParseResourcesFile("data\\bench\\resources.xml");
    }
    ~Rig()
    {
        manager.reset();
        app.reset();
        Tandry::GetSharedPakInterface()->Reset();
        Platform::ResetPlatform();
    }

    bool ready = false;
    std::unique_ptr<Tandry::TandryAppBase> app;
    std::unique_ptr<Tandry::ResourceManager> manager;
};

void BM_ResourceGroupLoad(benchmark::State& state)
{
    Rig rig;
    if (!rig.ready) {
        state.SkipWithError("the pack or the manifest could not be made");
        return;
    }
    for (auto _ : state) {
        if (!rig.manager->LoadResources("Bench")) {
            state.SkipWithError(rig.manager->GetErrorText().c_str());
            return;
        }
        state.PauseTiming();
        rig.manager->DeleteGroup("Bench");
        rig.app->ReleaseUnusedSharedImages();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_ResourceGroupLoad)->Unit(benchmark::kMillisecond);

void BM_ResourceGroupImageLibSum(benchmark::State& state)
{
    Rig rig;
    if (!rig.ready) {
        state.SkipWithError("the pack or the manifest could not be made");
        return;
    }
    // The pictures stay alive to the end of the pass, as a loaded group's do,
    // and go outside the timing, as the group is freed.
    std::vector<std::unique_ptr<Tandry::ImageLib::Image>> images;
    images.reserve(kCount);
    for (auto _ : state) {
        for (int i = 0; i < kCount; ++i) {
            images.push_back(Tandry::ImageLib::GetImage(PicturePath(i), true));
            benchmark::DoNotOptimize(images.back().get());
        }
        state.PauseTiming();
        images.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_ResourceGroupImageLibSum)->Unit(benchmark::kMillisecond);

} // namespace
