// The text descriptions the game's data is made from (sounds, music,
// particle effects): one statement per line, a word and its values, blanks
// between them, "#" to the end of a line a comment. The gamedata tool's
// readers share this reader and its number parsing with line numbers in errors.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace Tandry::GameData {

struct Statement {
    int line = 0;
    std::string word;
    // Plain values in order; "name=value" values go to options instead.
    std::vector<std::string> values;
    std::map<std::string, std::string> options;
};

// False with error "line N: why" for a line with a repeated option or a
// byte that is no printable ASCII (the sources are plain text).
bool ParseDescription(std::string_view text, std::vector<Statement>& out, std::string& error);

// A finite decimal number, all of the text; false otherwise.
bool ParseNumber(const std::string& text, double& out);

// "line N: " + message, for the errors of the readers built on statements.
std::string LineError(const Statement& statement, const std::string& message);

// The whole of a source file; false with error when it cannot be read or is
// larger than any source should be (1 MiB).
bool ReadSourceFile(const std::string& path, std::string& text, std::string& error);
// Writes through a temporary file renamed over the output, so that a failed
// run never leaves a half-written file behind for the build to take.
bool WriteOutputFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);
// Removes a stale output, so that it cannot pass for the one that failed.
void RemoveOutputFile(const std::string& path);

} // namespace Tandry::GameData
