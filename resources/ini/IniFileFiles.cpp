#include "resources/ini/IniFile.h"

#include "platform/fs/SafeWrite.h"
#include "resources/ini/IniBytesIo.h"

namespace Tandry {

void IniFile::Load(const std::string& path)
{
    path_ = path;
    std::string bytes;
    if (ReadIniBytes(path, bytes))
        LoadText(bytes);
}

bool IniFile::SaveTo(const std::string& path)
{
    if (!path.empty())
        path_ = path;
    // Written to the path itself, not through the file layer's prefix folder.
    const std::string text = FormatText();
    return Platform::SafeWrite::WriteBytes(path_, text.data(), text.size());
}

} // namespace Tandry
