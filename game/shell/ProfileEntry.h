// What the profile store keeps for one player profile: its file in the
// profiles folder and, once loaded and checked, its document. Used only by
// ProfileManager.
#pragma once

#include "resources/ini/IniDocument.h"

#include <memory>
#include <string>

namespace Tandry {

struct ProfileEntry {
    // The bare file name inside the profiles folder, "profile<N>.prf".
    std::string fileName;
    // Null until the profile is first used and passes its CRC check.
    std::unique_ptr<NarrowIniDocument> document;
    // Set when the file failed its CRC check since the profile was last
    // selected, so a damaged file gives one notice instead of one per read.
    bool failedCheck = false;
};

} // namespace Tandry
