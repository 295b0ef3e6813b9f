// The one-byte XOR that scrambles every byte of a pack file, header and table
// included. Reading unscrambles straight out of the mapped pack; the writer
// scrambles on the way out. The same operation does both.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Tandry {

constexpr uint8_t kPakXorKey = 0x5D;

// out[i] = in[i] ^ kPakXorKey. Written as a plain loop over non-aliasing
// pointers so that the compiler turns it into vector code.
inline void PakXorCopy(uint8_t* __restrict out, const uint8_t* __restrict in, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        out[i] = static_cast<uint8_t>(in[i] ^ kPakXorKey);
}

} // namespace Tandry
