// A recording "fmod.dll" for the FMOD back end's and the sound manager's
// tests: every entry logs its name and numeric arguments; the FSOUND entries
// then do what the stand-in does, while the FMUSIC entries answer a song
// handle, so the song branches can be followed. The opener can leave the
// library or some of its names out, and notes when the table is dropped.
#pragma once

#include "platform/music/FmodTypes.h"
#include "platform/music/LibraryOpener.h"

#include <cstdint>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace AudioTest {

struct FmodCall {
    std::string name;
    std::vector<int64_t> args;
    bool operator==(const FmodCall&) const = default;
};

inline void PrintTo(const FmodCall& call, std::ostream* out)
{
    *out << call.name << "(";
    for (size_t i = 0; i < call.args.size(); ++i)
        *out << (i == 0 ? "" : ", ") << call.args[i];
    *out << ")";
}

struct RecordingFmodState {
    std::vector<FmodCall> calls;
    // What FMUSIC_LoadSong answers; null refuses.
    Platform::Fmod::FMUSIC_MODULE* song = nullptr;
    int32_t songPlaying = 0; // what FMUSIC_IsPlaying answers
    // Runs inside each call, before it is passed on: tests note what else
    // had happened by then.
    std::function<void(const std::string& name)> onCall;
    // Runs when the last reference to the table is dropped.
    std::function<void()> onUnload;
};

RecordingFmodState& RecordingFmod();

// The handle the song calls are logged with.
constexpr int64_t kSongHandle = 0x50C;

// Installs the opener for "fmod.dll": the 30 names minus those left out;
// missingLibrary opens nothing. Resets the state.
void InstallRecordingFmod(const std::set<std::string>& leftOut = {}, bool missingLibrary = false);

// The calls of one entry only, by its plain name ("FSOUND_PlaySound").
std::vector<FmodCall> FmodCallsOf(const std::string& name);

} // namespace AudioTest
