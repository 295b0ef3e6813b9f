// Reads the text format of the particle library stand-in's effects files
// (grammar at the top of PtcParser.cpp) from a byte span. A malformed file is
// refused whole, with the line and the reason, and the limits keep a lying
// file from asking for much memory or time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/particlelib/PtcFile.h"

namespace Platform {

struct PtcLimits {
    static constexpr size_t kMaxFileBytes = 1 << 20;
    static constexpr int kMaxTextureSize = 256;
    static constexpr size_t kMaxTextures = 256;
    static constexpr size_t kMaxEmitters = 256;
    static constexpr size_t kMaxFolders = 256;
    static constexpr size_t kMaxFolderDepth = 16;
    static constexpr size_t kMaxTypesPerEmitter = 16;
    static constexpr size_t kMaxTexturesPerType = 100;
    static constexpr size_t kMaxNameLength = 63;
};

// True with out filled; false with error saying "line N: why".
bool ParsePtcFile(std::span<const uint8_t> bytes, PtcFile& out, std::string& error);

} // namespace Platform
