// Loading a 30-second stereo MP3 as a sample of the FMOD stand-in (read
// from disk, scanned, decoded whole to 16-bit PCM), beside libmpg123 alone
// decoding the same file into one growing buffer. Goal: at most 1.1 x. The
// file is the one make_sound_fixtures --long-mp3 writes beside the benchmark
// program at build time.
#include "platform/headless/HeadlessPlatform.h"
#include "platform/music/FmodRuntime.h"

#include <benchmark/benchmark.h>
#include <mpg123.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string LongMp3()
{
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "long.mp3").string();
}

void BM_FmodSampleLoadMp3_30s(benchmark::State& state)
{
    const std::string path = LongMp3();
    Platform::InstallHeadlessPlatform();
    Platform::FmodRuntime& fmod = Platform::FmodRuntime::Get();
    fmod.Reset();
    for (auto _ : state) {
        Platform::Fmod::FSOUND_SAMPLE* sample = fmod.SampleLoad(-1, path.c_str(), 0, 0);
        if (sample == nullptr) {
            state.SkipWithError("the long MP3 did not load");
            break;
        }
        benchmark::DoNotOptimize(sample->bytes->data());
        fmod.SampleFree(sample);
    }
    fmod.Reset();
    Platform::ResetPlatform();
}
BENCHMARK(BM_FmodSampleLoadMp3_30s)->Unit(benchmark::kMillisecond);

// The reference: libmpg123 opens the file itself and decodes it whole.
void BM_ReferenceMpg123Decode30s(benchmark::State& state)
{
    const std::string path = LongMp3();
    mpg123_init();
    for (auto _ : state) {
        mpg123_handle* handle = mpg123_new(nullptr, nullptr);
        if (handle == nullptr || mpg123_open(handle, path.c_str()) != MPG123_OK) {
            mpg123_delete(handle);
            state.SkipWithError("the long MP3 did not open");
            break;
        }
        std::vector<unsigned char> pcm;
        unsigned char block[65536];
        size_t done = 0;
        int result = MPG123_OK;
        while (result == MPG123_OK || result == MPG123_NEW_FORMAT) {
            result = mpg123_read(handle, block, sizeof block, &done);
            pcm.insert(pcm.end(), block, block + done);
        }
        benchmark::DoNotOptimize(pcm.data());
        mpg123_close(handle);
        mpg123_delete(handle);
    }
}
BENCHMARK(BM_ReferenceMpg123Decode30s)->Unit(benchmark::kMillisecond);

} // namespace
