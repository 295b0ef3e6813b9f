// The value ranges of an ambient sound set's file ("volume", "delay",
// "pause", "pan", "fade"): comma-separated items, each one number or two
// separated by "/", and the random pick that every play and wait takes from
// them. Used by the ambient sound records.
#pragma once

#include <string>
#include <vector>

namespace Tandry {

struct AmbientRange {
    float min = 0;
    float max = 0;
};

using AmbientRanges = std::vector<AmbientRange>;

// One range per item; numbers are read as atof reads them, in the C locale.
AmbientRanges ParseAmbientRanges(const std::vector<std::string>& items);

// 0 for an empty list; otherwise a range chosen by rand() % count, and in it
// min + (rand() % 10000) / 10000 × (max − min).
float PickFromRanges(const AmbientRanges& ranges);

} // namespace Tandry
