#include "tools/makepak/MakePak.h"

#include "platform/fs/FileOps.h"
#include "platform/fs/FindData.h"
#include "resources/pak/PakWriter.h"

namespace Tandry {
namespace {

constexpr int kFailed = 1;
constexpr int kBadArguments = 2;

void PrintUsage(std::ostream& err)
{
    err << "usage: makepak <output file> <folder>...\n"
           "Packs every file below each folder, in argument order, into one pack file.\n"
           "Folders are given relative to the working folder; each file is stored under\n"
           "the folder as given plus its path inside it, with '\\' between folders,\n"
           "upper-cased (Data/Sub/b.png becomes DATA\\SUB\\B.PNG).\n";
}

// The folder with runs of separators and trailing ones dropped; empty when it
// is not a plain relative path, since "." or ".." would end up in entry names
// that no lookup can match.
std::string CleanFolder(const std::string& folder)
{
    if (folder.empty() || folder[0] == '/' || folder[0] == '\\')
        return std::string();
    std::string clean;
    size_t i = 0;
    while (i < folder.size()) {
        size_t end = folder.find_first_of("/\\", i);
        if (end == std::string::npos)
            end = folder.size();
        const std::string part = folder.substr(i, end - i);
        i = end + 1;
        if (part.empty())
            continue;
        if (part == "." || part == "..")
            return std::string();
        if (!clean.empty())
            clean += '/';
        clean += part;
    }
    return clean;
}

int Fail(const std::string& output, const std::string& message, std::ostream& err)
{
    err << "makepak: " << message << "\n";
    // A stale pack must not pass for the one that failed.
    if (Platform::GetFileAttributes(output) != Platform::kInvalidFileAttributes)
        Platform::RemoveFile(output);
    return kFailed;
}

} // namespace

int RunMakePak(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() < 2) {
        PrintUsage(err);
        return kBadArguments;
    }
    const std::string& output = args[0];
    std::vector<std::string> folders;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i].empty() || args[i][0] == '-') {
            err << "makepak: unexpected argument '" << args[i] << "'\n";
            PrintUsage(err);
            return kBadArguments;
        }
        if (i == 0)
            continue;
        const std::string folder = CleanFolder(args[i]);
        if (folder.empty()) {
            err << "makepak: '" << args[i] << "' must be a folder relative to the working folder, without . or ..\n";
            PrintUsage(err);
            return kBadArguments;
        }
        folders.push_back(folder);
    }

    std::vector<PakWriteEntry> entries;
    for (const std::string& folder : folders) {
        const uint32_t attributes = Platform::GetFileAttributes(folder);
        if (attributes == Platform::kInvalidFileAttributes || (attributes & Platform::kFileAttributeDirectory) == 0)
            return Fail(output, "no folder " + folder, err);
        CollectPakFiles(folder, entries);
    }
    for (const PakWriteEntry& entry : entries) {
        if (entry.name.size() > kPakMaxNameLength)
            return Fail(output, "name longer than 255 bytes: " + entry.path, err);
    }
    std::string error;
    if (!WritePakFile(entries, output, error))
        return Fail(output, error, err);
    out << "makepak: wrote " << output << " (" << entries.size() << " files)\n";
    return 0;
}

} // namespace Tandry
