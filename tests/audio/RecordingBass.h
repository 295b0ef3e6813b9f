// A recording stand-in for ".\\bass.dll" in the music back end's tests: every
// entry logs its name and arguments, streams and modules get handles as set
// up, and the opener can leave the library or some of its names out, or
// give the older shapes of "BASS_Init" and "BASS_MusicLoad".
#pragma once

#include "platform/music/LibraryOpener.h"

#include <cstdint>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace AudioTest {

struct BassCall {
    std::string name;
    std::vector<int64_t> args;
    bool operator==(const BassCall&) const = default;
};

inline void PrintTo(const BassCall& call, std::ostream* out)
{
    *out << call.name << "(";
    for (size_t i = 0; i < call.args.size(); ++i)
        *out << (i == 0 ? "" : ", ") << call.args[i];
    *out << ")";
}

struct RecordingBassState {
    std::vector<BassCall> calls;
    uint32_t nextStream = 100;  // 0: stream creation fails
    uint32_t moduleHandle = 0;  // what BASS_MusicLoad answers
    uint32_t activeAnswer = 1;  // what BASS_ChannelIsActive answers
    std::vector<std::string> streamNames; // the names of streams made from files
};

RecordingBassState& RecordingBass();

// Installs the opener: the version-2 table minus the names left out, or the
// older shapes without "BASS_SetConfig"; missingLibrary opens nothing.
void InstallRecordingBass(const std::set<std::string>& leftOut = {}, bool olderShapes = false,
                          bool missingLibrary = false);

// The calls of one entry only.
std::vector<BassCall> CallsOf(const std::string& name);

} // namespace AudioTest
