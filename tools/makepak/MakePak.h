// The makepak command: packs folders into one pack file for the game. Kept
// apart from main() so that tests can run it in the same process, with the
// pack writer's test hook.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace Tandry {

// args without the program name: <output file> <folder>... Answers the exit
// code: 0 done, 1 packing failed (no output file is left), 2 bad arguments
// (the usage is printed and nothing is touched).
int RunMakePak(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace Tandry
