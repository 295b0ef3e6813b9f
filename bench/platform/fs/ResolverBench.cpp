// Finding a loose file whose name is written in another case, and missing
// one, in a folder of 2,000 files that does not change, against stat of the
// exact path; the goal is within 3 times.
#include "platform/fs/PathResolver.h"

#include <benchmark/benchmark.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <thread>

namespace {

class BigFolder {
public:
    BigFolder()
    {
        mFolder = std::filesystem::temp_directory_path() / "moorglen-resolver-bench";
        std::filesystem::create_directories(mFolder / "pictures");
        for (int i = 0; i < 2000; ++i)
            std::ofstream(mFolder / "pictures" / ("picture_" + std::to_string(i) + ".png")) << i;
        // Listings read within a clock tick of a change are not trusted.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ~BigFolder() { std::filesystem::remove_all(mFolder); }
    std::string Path(const std::string& relative) const { return (mFolder / relative).string(); }

private:
    std::filesystem::path mFolder;
};

const BigFolder& Folder()
{
    static const BigFolder folder;
    return folder;
}

void Resolve(benchmark::State& state, const char* relative)
{
    const std::string path = Folder().Path(relative);
    for (auto _ : state)
        benchmark::DoNotOptimize(Platform::PathResolver::Resolve(path));
}
// The name written in another case, in its folder.
BENCHMARK_CAPTURE(Resolve, WrongCaseName, "pictures\\Picture_1234.PNG");
// The folder as well: one more stat, for the folder above.
BENCHMARK_CAPTURE(Resolve, WrongCaseFolderAndName, "PICTURES\\Picture_1234.PNG");
BENCHMARK_CAPTURE(Resolve, Miss, "pictures\\picture_1234_.png");

void StatExactReference(benchmark::State& state)
{
    const std::string path = Folder().Path("pictures/picture_1234.png");
    struct stat st{};
    for (auto _ : state)
        benchmark::DoNotOptimize(stat(path.c_str(), &st));
}
BENCHMARK(StatExactReference);

} // namespace
