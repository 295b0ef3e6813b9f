#include "game/shell/ParseHex.h"

#include "resources/ini/ReadHex.h"

namespace Tandry {

int ParseHex(const std::string& text)
{
    return ReadHex(text);
}

} // namespace Tandry
