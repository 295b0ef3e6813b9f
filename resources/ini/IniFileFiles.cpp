#include "resources/ini/IniFile.h"

#include "platform/fs/SafeWrite.h"
#include "resources/ini/IniBytesIo.h"

namespace Tandry {

void IniFile::Load(const std::string& path)
{
    mPath = path;
    std::string bytes;
    if (ReadIniBytes(path, bytes))
        LoadText(bytes);
}

bool IniFile::SaveTo(const std::string& path)
{
    if (!path.empty())
        mPath = path;
    // Written to the path itself, not through the file layer's prefix folder.
    const std::string text = FormatText();
    return Platform::SafeWrite::WriteBytes(mPath, text.data(), text.size());
}

} // namespace Tandry
