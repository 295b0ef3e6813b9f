// Opening and closing a loose file through the file layer (a pack of 2,000
// records searched first, then the exact-case path on disk) against fopen and
// fclose of the same path; the goal is within 1.25 times. The layer also
// checks that the path is not a folder (one fstat), which fopen does not.
#include "resources/pak/PakFile.h"
#include "resources/pak/PakInterface.h"
#include "resources/pak/PakWriter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

class LooseFile {
public:
    LooseFile()
    {
        mFolder = std::filesystem::temp_directory_path() / "moorglen-pak-open-bench";
        std::filesystem::create_directories(mFolder / "Data" / "Sounds");
        mPath = (mFolder / "Data" / "Sounds" / "Click.wav").string();
        std::ofstream(mPath) << "riff";
    }
    ~LooseFile() { std::filesystem::remove_all(mFolder); }
    const std::string& Path() const { return mPath; }

private:
    std::filesystem::path mFolder;
    std::string mPath;
};

const LooseFile& File()
{
    static const LooseFile file;
    return file;
}

std::vector<uint8_t> TwoThousandRecords()
{
    std::vector<Tandry::PakWriteEntry> entries;
    for (int i = 0; i < 2000; ++i)
        entries.push_back(Tandry::PakWriteEntry::FromBytes("DATA\\IMAGES\\PICTURE_" + std::to_string(i) + ".PNG", {1}));
    std::vector<uint8_t> pack;
    std::string error;
    Tandry::WritePakToMemory(entries, pack, error);
    return pack;
}

void PakOpenCloseLooseFile(benchmark::State& state)
{
    Tandry::PakInterface* pak = Tandry::GetSharedPakInterface();
    pak->Reset();
    pak->AddPakMemory("bench.pak", TwoThousandRecords());

    const std::string& path = File().Path();
    for (auto _ : state) {
        Tandry::PakFileHandle* file = Tandry::PakOpen(path);
        benchmark::DoNotOptimize(file);
        Tandry::PakClose(file);
    }
    pak->Reset();
}
BENCHMARK(PakOpenCloseLooseFile);

void FopenFcloseReference(benchmark::State& state)
{
    const std::string& path = File().Path();
    for (auto _ : state) {
        FILE* file = std::fopen(path.c_str(), "rb");
        benchmark::DoNotOptimize(file);
        std::fclose(file);
    }
}
BENCHMARK(FopenFcloseReference);

// Data names are relative; an absolute name also costs a getcwd, to drop the
// current folder from the front of its key.
void PakOpenCloseRelative(benchmark::State& state)
{
    Tandry::PakInterface* pak = Tandry::GetSharedPakInterface();
    pak->Reset();
    pak->AddPakMemory("bench.pak", TwoThousandRecords());
    std::filesystem::current_path(std::filesystem::path(File().Path()).parent_path());
    for (auto _ : state) {
        Tandry::PakFileHandle* file = Tandry::PakOpen("Click.wav");
        benchmark::DoNotOptimize(file);
        Tandry::PakClose(file);
    }
    pak->Reset();
}
BENCHMARK(PakOpenCloseRelative);

void FopenFcloseRelativeReference(benchmark::State& state)
{
    std::filesystem::current_path(std::filesystem::path(File().Path()).parent_path());
    for (auto _ : state) {
        FILE* file = std::fopen("Click.wav", "rb");
        benchmark::DoNotOptimize(file);
        std::fclose(file);
    }
}
BENCHMARK(FopenFcloseRelativeReference);

} // namespace
