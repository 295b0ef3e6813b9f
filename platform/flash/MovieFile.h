// The project's movie files: a text timeline of commands with delays, which
// MovieFileControl plays in place of a real movie (grammar at the top of
// MovieFile.cpp). A malformed file is refused whole, with the line and the
// reason; the limits keep a lying file from costing much time or memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace Platform {

struct MovieLimits {
    static constexpr size_t kMaxFileBytes = 1 << 20;
    static constexpr uint32_t kMaxDelay = 3'600'000;
    static constexpr size_t kMaxLines = 10'000;
};

struct MovieLine {
    // Milliseconds of movie time after the previous line was done.
    uint32_t delay = 0;
    std::string command;
    // The rest of the line, blanks trimmed at both ends; for "wait" the
    // variable and the value split out of it.
    std::string argument;
    std::string variable;
    std::string value;

    bool IsWait() const { return command == "wait"; }
};

struct MovieFile {
    std::vector<MovieLine> lines;
};

// True with out filled; false with error saying "line N: why".
bool ParseMovieFile(std::span<const uint8_t> bytes, MovieFile& out, std::string& error);

} // namespace Platform
