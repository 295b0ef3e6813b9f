#include "resources/ini/IniStdIFile.h"

#include "platform/fs/PathResolver.h"

namespace Tandry {

IniStdIFile::IniStdIFile(const std::string& path)
    : mFile(Platform::PathResolver::Resolve(path), std::ios::binary)
{
    Attach(mFile);
}

} // namespace Tandry
