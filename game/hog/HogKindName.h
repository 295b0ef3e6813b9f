// The kind word of a hidden-object level in the profile's [Main] "LastScene"
// text ("hog:<picture>,<request>"). The board writes it and the play entry
// reads it back, so both take it from here.
#pragma once

#include <string>

namespace Tandry {

// "hog"; the same string object on every call.
const std::string& HogKindName();

} // namespace Tandry
