#include "game/shell/ReadImageAliases.h"

#include "resources/ini/IniFile.h"
#include "resources/pak/NormalizePakPath.h"
#include "resources/pak/PakInterface.h"

#include <string>
#include <vector>

namespace Tandry {

void ReadImageAliases()
{
    IniFile file;
    file.Load("data/common.ini");
    std::vector<std::string> names;
    file.GetKeyNames("common", names);
    auto& aliases = GetSharedPakInterface()->Aliases();
    for (const std::string& name : names)
        aliases[NormalizePakPath(name)] = NormalizePakPath(file.GetValueText("common", name));
}

} // namespace Tandry
