#include "resources/pak/FileUtils.h"

#include "platform/codepage/HexDigit.h"

#include "platform/fs/FileFinder.h"
#include "platform/fs/FileOps.h"

#include <cstdint>

namespace Tandry {

std::string GetBaseFileName(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.rfind('.');
    if (slash == std::string::npos && dot == std::string::npos)
        return path;
    const size_t begin = slash == std::string::npos ? 0 : slash + 1;
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        return path.substr(begin, dot - begin);
    return path.substr(begin);
}

void CreateDirectories(const std::string& path)
{
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '/' || path[i] == '\\')
            Platform::MakeFolder(path.substr(0, i));
    }
    Platform::MakeFolder(path);
}

bool DeleteFolderTree(const std::string& folder)
{
    if (folder.size() < 2)
        return false;
    const uint32_t attributes = Platform::GetFileAttributes(folder);
    if (attributes == Platform::kInvalidFileAttributes)
        return false;
    if ((attributes & Platform::kFileAttributeReparsePoint) != 0)
        return Platform::RemoveFile(folder);

    std::string dir = folder;
    if (dir.back() != '\\' && dir.back() != '/')
        dir += '\\';
    Platform::FindData data;
    std::unique_ptr<Platform::FileFinder> listing = Platform::FileFinder::First(dir + "*.*", data);
    if (listing == nullptr)
        return false;
    bool removedAll = true;
    do {
        if (data.name == "." || data.name == "..")
            continue;
        const std::string path = dir + data.name;
        const bool link = (data.attributes & Platform::kFileAttributeReparsePoint) != 0;
        const bool subFolder = (data.attributes & Platform::kFileAttributeDirectory) != 0;
        if (subFolder && !link) {
            if (!DeleteFolderTree(path))
                removedAll = false;
        } else if (!Platform::RemoveFile(path)) {
            removedAll = false;
        }
    } while (listing->Next(data));
    listing.reset();
    if (!Platform::RemoveFolder(folder))
        removedAll = false;
    return removedAll;
}

std::wstring HexToWideString(const std::string& hex)
{
    std::wstring out;
    out.reserve(hex.size() / 4);
    for (size_t i = 0; i + 4 <= hex.size(); i += 4) {
        unsigned value = 0;
        for (size_t k = 0; k < 4; ++k)
            value = value * 16 + static_cast<unsigned>(HexDigitValue(hex[i + k]));
        out += static_cast<wchar_t>(value);
    }
    return out;
}

std::string WideStringToHex(const std::wstring& text)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size() * 4);
    const auto appendUnit = [&out](uint32_t unit) {
        for (int shift = 12; shift >= 0; shift -= 4)
            out += kDigits[(unit >> shift) & 0xF];
    };
    for (const wchar_t c : text) {
        const uint32_t value = static_cast<uint32_t>(c);
        if (value > 0xFFFF && value <= 0x10FFFF) {
            appendUnit(0xD800 + ((value - 0x10000) >> 10));
            appendUnit(0xDC00 + ((value - 0x10000) & 0x3FF));
        } else {
            appendUnit(value & 0xFFFF);
        }
    }
    return out;
}

int HexDigitValue(char c)
{
    const int value = Platform::HexDigit(c);
    return value < 0 ? 0 : value;
}

} // namespace Tandry
