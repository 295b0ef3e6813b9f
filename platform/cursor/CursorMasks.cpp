#include "platform/cursor/CursorMasks.h"

#include <algorithm>

namespace Platform {

SdlCursorBits ConvertCursorMasks(const std::vector<uint8_t>& andMask, const std::vector<uint8_t>& xorMask)
{
    SdlCursorBits bits;
    size_t count = std::min(andMask.size(), xorMask.size());
    bits.data.resize(count);
    bits.mask.resize(count);
    for (size_t i = 0; i < count; ++i) {
        bits.data[i] = static_cast<uint8_t>(~(andMask[i] ^ xorMask[i]));
        bits.mask[i] = static_cast<uint8_t>(~andMask[i]);
    }
    return bits;
}

} // namespace Platform
