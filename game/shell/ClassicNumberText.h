// Numbers written into profiles in the classic form ('.' as the decimal
// point) whatever the process locale, so a profile reads back the same on
// every machine. Used by the player data and the level records.
#pragma once

#include <string>

namespace Tandry {

// The text "%g" gives in the classic locale.
std::string ClassicGeneralText(double value);
// The text "%.<decimals>f" gives in the classic locale.
std::string ClassicFixedText(double value, int decimals);

} // namespace Tandry
