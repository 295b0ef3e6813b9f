// Asking the image loader for a picture that does not exist, by a name
// without extension as the application passes it: the loader tries every
// extension it knows through the pack (which holds a few hundred other
// members) and the disk. Beside it, one stat of one missing path, the least
// a program can spend to learn that a file is not there.
#include "resources/images/ImageLib.h"
#include "resources/pak/PakInterface.h"
#include "resources/pak/PakWriter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string& ProbeFolder()
{
    static const std::string folder = [] {
        const std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("moorglen_probe_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path.string();
    }();
    return folder;
}

void BM_ImageProbe_MissingThroughLoader(benchmark::State& state)
{
    Tandry::PakInterface* pak = Tandry::GetSharedPakInterface();
    pak->Reset();
    std::vector<Tandry::PakWriteEntry> entries;
    for (int i = 0; i < 300; ++i)
        entries.push_back(Tandry::PakWriteEntry::FromBytes("DATA\\IMAGES\\PICTURE" + std::to_string(i) + ".PNG",
                                                          std::vector<uint8_t>(16, static_cast<uint8_t>(i))));
    std::vector<uint8_t> pack;
    std::string error;
    Tandry::WritePakToMemory(entries, pack, error);
    pak->AddPakMemory("probe.pak", std::move(pack));
    const std::string name = ProbeFolder() + "/missing_picture";
    for (auto _ : state) {
        auto image = Tandry::ImageLib::GetImage(name, false);
        if (image != nullptr)
            state.SkipWithError("a missing picture loaded");
        benchmark::DoNotOptimize(image.get());
    }
    pak->Reset();
}

void BM_ImageProbe_OneStat(benchmark::State& state)
{
    const std::string path = ProbeFolder() + "/missing_picture.png";
    for (auto _ : state) {
        struct stat info;
        benchmark::DoNotOptimize(::stat(path.c_str(), &info));
    }
}

} // namespace

BENCHMARK(BM_ImageProbe_MissingThroughLoader);
BENCHMARK(BM_ImageProbe_OneStat);
