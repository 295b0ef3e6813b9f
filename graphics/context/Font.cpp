#include "graphics/context/Font.h"

namespace Tandry {

int Font::CharWidthKern(wchar_t c, wchar_t) const
{
    return StringWidth(std::wstring(1, c), 1.0f, 1.0f, 0.0f);
}

} // namespace Tandry
