#include "game/shell/DuplicateImages.h"

#include "app/TandryAppBase.h"
#include "platform/Platform.h"
#include "platform/fs/FileOps.h"
#include "platform/fs/SafeWrite.h"
#include "resources/pak/NormalizePakPath.h"
#include "resources/pak/PakFile.h"
#include "resources/pak/PakInterface.h"
#include "util/Format.h"

#include <cstdlib>
#include <cstring>

namespace Tandry {
namespace {

constexpr const char* kAliasFile = "data/common.ini";

// The extension as the runtime's path splitter gives it: from the last "."
// of the file name, or empty.
std::string ExtensionOf(const std::string& name)
{
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

bool IsPictureName(const std::string& name)
{
    const std::string extension = ExtensionOf(name);
    return extension == ".png" || extension == ".jpg" || extension == ".gif";
}

bool SamePixels(const ImageLib::Image& a, const ImageLib::Image& b)
{
    const size_t bytes = static_cast<size_t>(a.width) * static_cast<size_t>(a.height) * 4;
    return a.width == b.width && a.height == b.height && std::memcmp(a.bits, b.bits, bytes) == 0;
}

} // namespace

void ScanImageFiles(ImageToolGroups& groups, const std::string& folder)
{
    Platform::FindData data;
    PakFindRecord* find = PakFindFirst(folder + "\\*", data);
    if (find == nullptr)
        return;
    do {
        if (data.name == "." || data.name == "..")
            continue;
        const std::string path = folder + "\\" + data.name;
        if ((data.attributes & Platform::kFileAttributeDirectory) != 0) {
            // A link to a folder could lead back up the tree.
            if ((data.attributes & Platform::kFileAttributeReparsePoint) == 0)
                ScanImageFiles(groups, path);
            continue;
        }
        if (!IsPictureName(data.name))
            continue;
        const std::unique_ptr<ImageLib::Image> image = ImageLib::GetImage(path, false);
        if (image == nullptr)
            continue; // a picture that cannot be read is left alone
        ImageToolRecord record;
        record.fileSize = static_cast<uint32_t>(data.size);
        record.path = path;
        groups[{image->width, image->height}].push_back(std::move(record));
    } while (PakFindNext(find, data));
    PakFindClose(find);
}

void RemoveDuplicates(std::list<ImageToolRecord>& group, DuplicateFiles& found)
{
    while (!group.empty()) {
        ImageToolRecord& first = group.front();
        if (first.image == nullptr)
            first.image = ImageLib::GetImage(first.path, false);
        for (auto it = std::next(group.begin()); it != group.end() && first.image != nullptr;) {
            if (it->image == nullptr)
                it->image = ImageLib::GetImage(it->path, false);
            if (it->image != nullptr && SamePixels(*first.image, *it->image)) {
                AddImageAlias(it->path, first.path);
                found.paths.push_back(it->path);
                found.bytes += it->fileSize;
                it = group.erase(it);
            } else {
                ++it;
            }
        }
        group.pop_front();
    }
}

void AddImageAlias(const std::string& removed, const std::string& kept)
{
    std::map<std::string, std::string, std::less<>>& aliases = GetSharedPakInterface()->Aliases();
    aliases.try_emplace(NormalizePakPath(removed), NormalizePakPath(kept));
}

bool WriteImageAliases()
{
    std::string text = "[common]\n";
    for (const auto& [removed, kept] : GetSharedPakInterface()->Aliases())
        text += removed + "=" + kept + "\n";
    return Platform::SafeWrite::WriteBytes(kAliasFile, text.data(), text.size());
}

void FindDuplicateImages(TandryAppBase* app)
{
    ImageToolGroups groups;
    ScanImageFiles(groups, "data");
    DuplicateFiles found;
    for (auto& [size, group] : groups)
        RemoveDuplicates(group, found);
    // The table goes first: a picture is deleted only once its alias is safe
    // on disk, or the game could no longer open it by its old name.
    std::wstring text;
    if (WriteImageAliases()) {
        for (const std::string& path : found.paths)
            Platform::RemoveFile(path);
        text = FormatWString(L"Можно сэкономить %.1fmb (%d файлов)", static_cast<double>(found.bytes) / 1048576.0,
                             static_cast<int>(found.paths.size()));
    } else {
        text = L"Cannot write data/common.ini: no picture was deleted.";
    }
    Platform::GetPlatform().GetDialogs().MessageBoxW(nullptr, text, L"app", Platform::MB_OK);
    if (app != nullptr)
        app->Shutdown();
}

bool DuplicateImageToolRequested()
{
    const char* value = std::getenv("MOORGLEN_FIND_DUPLICATE_IMAGES");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

} // namespace Tandry
