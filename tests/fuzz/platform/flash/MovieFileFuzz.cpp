// Parses the input as a movie file. An accepted movie is written to a
// scratch file and played through the movie-file control on the headless
// clock, advancing by each line's delay and answering each wait with its
// setting, until it ends: every command line must arrive once, in order,
// and the movie must then report that it stopped.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "platform/flash/MovieFile.h"
#include "platform/flash/MovieFileControl.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/fuzz/FuzzScratchFolder.h"
#include "tests/platform/flash/RecordingFlashSink.h"

namespace {

using namespace Platform;

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

std::wstring Widen(const std::string& bytes)
{
    std::wstring wide;
    for (char c : bytes)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    MovieFile movie;
    std::string error;
    if (!ParseMovieFile(bytes, movie, error) || size > MovieLimits::kMaxFileBytes)
        return 0;

    static HeadlessPlatform& platform = InstallHeadlessPlatform();
    FuzzScratchFolder scratch;
    {
        FILE* file = std::fopen("movie.dat", "wb");
        Check(file != nullptr);
        Check(std::fwrite(data, 1, size, file) == size);
        std::fclose(file);
    }

    std::vector<std::string> expected;
    for (const MovieLine& line : movie.lines) {
        if (!line.IsWait())
            expected.push_back("150 " + line.command + "|" + line.argument);
    }

    TestSupport::RecordingFlashSink sink;
    MovieFileControl control;
    control.SetClientSite(&sink);
    control.Advise(&sink);
    Check(control.PutMovie(Widen((FuzzScratchFolder::Path() / "movie.dat").string())));
    Check(control.Play());
    for (const MovieLine& line : movie.lines) {
        platform.Clock().Advance(line.delay);
        if (line.IsWait())
            control.SetVariable(Widen(line.variable), Widen(line.value));
        else
            control.IsPlaying();
        Check(sink.events.size() <= expected.size());
    }
    Check(!control.IsPlaying());
    Check(sink.events == expected);
    control.Close();
    return 0;
}
