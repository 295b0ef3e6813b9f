// Loading a 30 KB ini file into an ini document (sections, keys and comments
// kept in order, read through the file layer) beside a plain ini reader from
// Debian, libinih, reading the same file and keeping every section, key and
// value as strings. Both read from disk in the same run; the ratio of the two
// rows is the figure.
#include "resources/ini/IniDocument.h"
#include "resources/pak/PakInterface.h"

#include <benchmark/benchmark.h>
#include <ini.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// About 30 KB: sections of settings-like keys with a comment now and then.
std::string MakeIniText()
{
    std::string text;
    for (int section = 0; text.size() < 30 * 1024; ++section) {
        text += "; scene " + std::to_string(section) + "\r\n[Scene" + std::to_string(section) + "]\r\n";
        for (int key = 0; key < 12; ++key)
            text += "Key" + std::to_string(key) + "=" + std::to_string(section * 977 + key * 31) + ",item_" +
                std::to_string(key) + "\r\n";
    }
    return text;
}

// The file, written once into a folder of its own.
const std::string& IniPath()
{
    static const std::string path = [] {
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / ("moorglen_ini_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        const std::filesystem::path file = folder / "bench.ini";
        std::ofstream(file, std::ios::binary) << MakeIniText();
        return file.string();
    }();
    return path;
}

void SetFileBytes(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(IniPath())));
}

void BM_IniLoad_IniDocument(benchmark::State& state)
{
    Tandry::GetSharedPakInterface()->Reset();
    for (auto _ : state) {
        Tandry::NarrowIniDocument doc;
        if (!Tandry::NarrowIniDocument::Load(IniPath(), doc)) {
            state.SkipWithError("the ini file did not load");
            return;
        }
        benchmark::DoNotOptimize(doc);
    }
    SetFileBytes(state);
}

struct Entry {
    std::string section, name, value;
};

int Keep(void* user, const char* section, const char* name, const char* value)
{
    static_cast<std::vector<Entry>*>(user)->push_back({section, name, value});
    return 1;
}

void BM_IniLoad_Libinih(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<Entry> entries;
        if (ini_parse(IniPath().c_str(), &Keep, &entries) != 0) {
            state.SkipWithError("libinih did not read the file");
            return;
        }
        benchmark::DoNotOptimize(entries.data());
    }
    SetFileBytes(state);
}

} // namespace

BENCHMARK(BM_IniLoad_IniDocument);
BENCHMARK(BM_IniLoad_Libinih);
