// Reading a pack member unscrambles it straight out of the pack's bytes; the
// goal is at least half of memcpy's bandwidth over the same 16 MB.
#include "resources/pak/PakFile.h"
#include "resources/pak/PakInterface.h"
#include "resources/pak/PakWriter.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr size_t kMemberSize = 16 * 1024 * 1024;

std::vector<uint8_t> Pattern()
{
    std::vector<uint8_t> bytes(kMemberSize);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 131 + (i >> 9));
    return bytes;
}

void PakReadMember(benchmark::State& state)
{
    Tandry::PakInterface* pak = Tandry::GetSharedPakInterface();
    pak->Reset();
    std::vector<uint8_t> pack;
    std::string error;
    Tandry::WritePakToMemory({Tandry::PakWriteEntry::FromBytes("DATA\\BIG.BIN", Pattern())}, pack, error);
    pak->AddPakMemory("bench.pak", std::move(pack));
    Tandry::PakFileHandle* file = Tandry::PakOpen("data/big.bin");
    std::vector<uint8_t> out(kMemberSize);
    for (auto _ : state) {
        Tandry::PakSeek(file, 0, 0);
        benchmark::DoNotOptimize(Tandry::PakRead(out.data(), 1, out.size(), file));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kMemberSize);
    Tandry::PakClose(file);
    pak->Reset();
}
BENCHMARK(PakReadMember);

void MemcpyReference(benchmark::State& state)
{
    const std::vector<uint8_t> in = Pattern();
    std::vector<uint8_t> out(kMemberSize);
    for (auto _ : state) {
        std::memcpy(out.data(), in.data(), in.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kMemberSize);
}
BENCHMARK(MemcpyReference);

} // namespace
