// The gamedata command: makes the language table and the particle files of
// the sample game's data from their text sources, for the data build (the
// sounds have their own command, gamesound). Kept apart from main() so that tests can
// run it in the same process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace Tandry {

// args without the program name: <kind> <source> <output>, the kind one of
//   lang      UTF-8 text to the UTF-16LE language table
//   particle  particle description to the 128-byte parameter file
// Answers the exit code: 0 done, 1 failed (the error names the source and its
// line; no output is left), 2 bad arguments (the usage is printed).
int RunGameData(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace Tandry
