// Numbered demo files: folder + prefix + N + ".dmo". Recording picks the next
// number and keeps a bounded count; playback counts back from the newest.
#pragma once

#include <string>

namespace Tandry {

// The largest N among the numbered demo files in the folder ("" is the
// current folder; otherwise it ends with a separator), 0 when there is none.
// With deleteOldest and keepCount or more files, the one with the smallest N
// is deleted first (one per call).
int FindHighestDemoNumber(const std::string& folder, const std::string& prefix, int keepCount, bool deleteOldest);

// folder + prefix + number + ".dmo".
std::string NumberedDemoFileName(const std::string& folder, const std::string& prefix, long long number);

} // namespace Tandry
