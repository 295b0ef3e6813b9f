#include "resources/ini/IniBytesIo.h"

#include "platform/fs/SafeWrite.h"
#include "resources/pak/PakFile.h"
#include "resources/pak/PakInterface.h"

#include <cstdio>

namespace Tandry {

bool ReadIniBytes(const std::string& name, std::string& bytes)
{
    PakFileHandle* file = PakOpen(name);
    if (!file)
        return false;
    bytes.clear();
    char block[16384];
    while (const size_t n = PakRead(block, 1, sizeof block, file))
        bytes.append(block, n);
    PakClose(file);
    return true;
}

namespace {

bool WriteAll(Platform::SafeWrite& write, const std::string& bytes)
{
    if (std::fwrite(bytes.data(), 1, bytes.size(), write.File()) != bytes.size()) {
        write.Abandon();
        return false;
    }
    return write.Commit();
}

} // namespace

bool WriteIniBytes(const std::string& name, const std::string& bytes)
{
    const PakInterface* pak = GetSharedPakInterface();
    if (pak && !pak->PrefixFolder().empty()) {
        Platform::SafeWrite write(pak->PrefixFolder() + name);
        if (write.IsOpen())
            return WriteAll(write, bytes);
    }
    Platform::SafeWrite write(name);
    return write.IsOpen() && WriteAll(write, bytes);
}

} // namespace Tandry
