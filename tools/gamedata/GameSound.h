// The gamesound command: the game's synthesiser as a program. It turns a
// sound description into a WAV file, or an Ogg Vorbis file when the output
// ends in ".ogg", for the data build. Kept apart from main() so that the
// whole run can be tested; it links libvorbisenc and nothing of the game.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace Tandry {

// args without the program name: <source> <output>. Answers the exit code:
// 0 done, 1 failed (the error names the source and its line; no output is
// left), 2 bad arguments (the usage is printed).
int RunGameSound(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace Tandry
