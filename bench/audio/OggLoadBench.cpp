// Loading a 30-second stereo Ogg from a pack member through the sound loader,
// beside Tremor decoding the same bytes from memory into a buffer of the same
// size. Goal: at most 1.1 x. The file is written at build time by
// make_sound_fixtures --long (see bench/CMakeLists.txt).
#include "audio/SoundFileLoaders.h"
#include "bench/audio/TremorMemory.h"
#include "platform/dsound/DirectSound.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/pak/PakInterface.h"
#include "resources/pak/PakWriter.h"

#include <tremor/ivorbisfile.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<uint8_t> LongOggBytes()
{
    std::ifstream in(MOORGLEN_LONG_OGG, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BM_OggLoadFromPackMember(benchmark::State& state)
{
    Platform::InstallHeadlessPlatform();
    Tandry::PakInterface* pak = Tandry::GetSharedPakInterface();
    pak->Reset();
    std::vector<uint8_t> pack;
    std::string error;
    if (!Tandry::WritePakToMemory({Tandry::PakWriteEntry::FromBytes("SOUNDS\\LONG.OGG", LongOggBytes())}, pack,
                                  error)
        || !pak->AddPakMemory("bench.pak", std::move(pack))) {
        state.SkipWithError("no pack");
        return;
    }
    Platform::DirectSound* sound = nullptr;
    if (Platform::DirectSoundCreate(nullptr, &sound, nullptr) != Platform::DS_OK) {
        state.SkipWithError("no sound device");
        return;
    }
    for (auto _ : state) {
        Platform::DirectSoundBuffer* buffer = Tandry::LoadOggSound(*sound, "sounds/long.ogg");
        if (buffer == nullptr) {
            state.SkipWithError("the long Ogg did not load");
            break;
        }
        buffer->Release();
    }
    sound->Release();
    pak->Reset();
}
BENCHMARK(BM_OggLoadFromPackMember)->Unit(benchmark::kMillisecond);

using BenchTremor::MemoryStream;

// The reference: the same bytes decoded straight from memory into one buffer
// of the decoded size, as the loader fills its sound buffer.
void BM_ReferenceTremorFromMemory(benchmark::State& state)
{
    const std::vector<uint8_t> bytes = LongOggBytes();
    for (auto _ : state) {
        MemoryStream stream{&bytes};
        OggVorbis_File file;
        if (ov_open_callbacks(&stream, &file, nullptr, 0, BenchTremor::kMemoryCallbacks) != 0) {
            state.SkipWithError("the long Ogg did not open");
            break;
        }
        const size_t size = static_cast<size_t>(ov_pcm_total(&file, -1)) * static_cast<size_t>(ov_info(&file, -1)->channels) * 2;
        std::vector<uint8_t> pcm(size);
        size_t filled = 0;
        int section = 0;
        while (filled < size) {
            const long got = ov_read(&file, reinterpret_cast<char*>(pcm.data() + filled),
                                     static_cast<int>(std::min<size_t>(size - filled, INT_MAX)), &section);
            if (got <= 0)
                break;
            filled += static_cast<size_t>(got);
        }
        benchmark::DoNotOptimize(pcm.data());
        ov_clear(&file);
    }
}
BENCHMARK(BM_ReferenceTremorFromMemory)->Unit(benchmark::kMillisecond);

} // namespace
