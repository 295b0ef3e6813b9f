#include "app/AppPaths.h"

namespace Tandry {

std::string GetPathDirectory(const std::string& path)
{
    const size_t at = path.find_last_of("\\/");
    return at == std::string::npos ? std::string() : path.substr(0, at);
}

bool IsAbsoluteDemoPath(const std::string& name)
{
    if (!name.empty() && name[0] == '/')
        return true;
    if (name.size() < 2)
        return false;
    return name[1] == ':' || (name.size() >= 3 && name[2] == '\\');
}

} // namespace Tandry
