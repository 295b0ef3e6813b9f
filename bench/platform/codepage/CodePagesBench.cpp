// Decoding 64 KB of text into wide text, against a plain loop that widens
// every byte. Goals: Windows-1252 at least 0.8 x the loop, UTF-8 of ASCII
// text at least 0.5 x.
#include "platform/codepage/CodePages.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string SampleText(bool asciiOnly)
{
    const std::string line = asciiOnly ? "The moor lies quiet under the moon, and the lantern swings.\n"
                                       : "Caf\xE9 au lait \x80 3,50 \x96 na\xEFve \x85 fa\xE7" "ade.\n";
    std::string text;
    while (text.size() < 64 * 1024)
        text += line;
    text.resize(64 * 1024);
    return text;
}

void BM_WidenLoop(benchmark::State& state)
{
    std::string text = SampleText(state.range(0) != 0);
    for (auto _ : state) {
        std::wstring wide(text.size(), L'\0');
        for (size_t i = 0; i < text.size(); ++i)
            wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
        benchmark::DoNotOptimize(wide.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_Windows1252ToWide(benchmark::State& state)
{
    std::string text = SampleText(false);
    for (auto _ : state) {
        std::wstring wide = Platform::MultiByteToWideChar(Platform::CP_ACP, text);
        benchmark::DoNotOptimize(wide.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_Utf8AsciiToWide(benchmark::State& state)
{
    std::string text = SampleText(true);
    for (auto _ : state) {
        std::wstring wide = Platform::MultiByteToWideChar(Platform::CP_UTF8, text);
        benchmark::DoNotOptimize(wide.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

// Argument 0: Windows-1252 sample, 1: ASCII sample.
BENCHMARK(BM_WidenLoop)->Arg(0)->Arg(1);
BENCHMARK(BM_Windows1252ToWide);
BENCHMARK(BM_Utf8AsciiToWide);

} // namespace
