// Rendering 30 seconds of a stereo Ogg stream through the music stand-in and
// the mixer, beside Tremor decoding the same bytes from memory into a small
// buffer it reuses, as a streaming player would. Goal: at most 1.2 x. The
// file is the one make_sound_fixtures --long writes beside the benchmark
// program at build time.
#include "bench/audio/TremorMemory.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/music/BassRuntime.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<uint8_t> LongOgg()
{
    const auto path = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "long.ogg";
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

constexpr uint32_t kSeconds = 30;

void BM_MusicStreamRender30s(benchmark::State& state)
{
    const std::vector<uint8_t> bytes = LongOgg();
    Platform::HeadlessPlatform& platform = Platform::InstallHeadlessPlatform();
    Platform::BassRuntime& bass = Platform::BassRuntime::Get();
    bass.Reset();
    if (bytes.empty() || !bass.Init()) {
        state.SkipWithError("no long Ogg or no mixer");
        return;
    }
    const Platform::Bass::HANDLE handle = bass.CreateStreamFromMemory(bytes.data(), 0, bytes.size());
    if (auto stream = bass.Find(handle)) {
        for (auto _ : state) {
            stream->Play(true);
            for (uint32_t done = 0; done < kSeconds * 44100; done += 4410)
                benchmark::DoNotOptimize(platform.Audio().Render(4410).data());
        }
    } else {
        state.SkipWithError("the long Ogg did not open");
    }
    // The stream holds the mixer, which must close before the platform goes.
    bass.Reset();
    Platform::ResetPlatform();
}
BENCHMARK(BM_MusicStreamRender30s)->Unit(benchmark::kMillisecond);

// The reference: the same bytes decoded from memory through one 16 KB buffer.
void BM_ReferenceTremorStream30s(benchmark::State& state)
{
    const std::vector<uint8_t> bytes = LongOgg();
    std::vector<char> buffer(16384);
    for (auto _ : state) {
        BenchTremor::MemoryStream memory{&bytes};
        OggVorbis_File file;
        if (ov_open_callbacks(&memory, &file, nullptr, 0, BenchTremor::kMemoryCallbacks) != 0) {
            state.SkipWithError("the long Ogg did not open");
            break;
        }
        int section = 0;
        while (ov_read(&file, buffer.data(), static_cast<int>(buffer.size()), &section) > 0)
            benchmark::DoNotOptimize(buffer.data());
        ov_clear(&file);
    }
}
BENCHMARK(BM_ReferenceTremorStream30s)->Unit(benchmark::kMillisecond);

} // namespace
