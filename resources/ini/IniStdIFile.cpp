#include "resources/ini/IniStdIFile.h"

#include "platform/fs/PathResolver.h"

namespace Tandry {

IniStdIFile::IniStdIFile(const std::string& path)
    : file_(Platform::PathResolver::Resolve(path), std::ios::binary)
{
    Attach(file_);
}

} // namespace Tandry
