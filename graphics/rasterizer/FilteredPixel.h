// The last stage of the bilinear pixel step, shared by the one-pixel step and
// the lanes' fallback: a filtered, possibly tinted colour r, g, b with its
// weight w is stored opaque from 240 and blended below.
#pragma once

#include <cstdint>

namespace Tandry {

template <class F>
void PutFiltered(uint8_t* at, uint32_t r, uint32_t g, uint32_t b, uint32_t w)
{
    if (w >= 240) {
        F::Store(at, F::Pack(r, g, b));
        return;
    }
    F::Store(at, F::Blend(F::Load(at), r, g, b, w));
}

} // namespace Tandry
