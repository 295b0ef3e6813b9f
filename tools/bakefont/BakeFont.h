// The bakefont command: draws a typeface through the platform's text service
// into page images and writes the bitmap-font description that BMFont reads.
// Kept apart from main() so that tests can run it in the same process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace Tandry {

// args without the program name:
//   [--bold] [--italic] [--range FIRST-LAST]... [--page WxH]
//   [--padding UP,RIGHT,DOWN,LEFT] [--spacing H,V] <face or font file> <pixel size> <output name>
// Writes "<output name>.fnt" and "<output name>_<n>.png". Answers the exit
// code: 0 done, 1 baking failed (no output is left), 2 bad arguments (the
// usage is printed and nothing is touched).
int RunBakeFont(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace Tandry
