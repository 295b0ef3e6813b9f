#include "platform/registry/FileRegistry.h"

#include "platform/debug/DebugOutput.h"
#include "platform/fs/FileOps.h"
#include "platform/fs/FindData.h"
#include "platform/fs/SafeWrite.h"
#include "platform/registry/RegistryFile.h"

#include <cstdio>
#include <optional>

namespace Platform {

FileRegistry::FileRegistry(std::string filePath)
    : mFilePath(std::move(filePath))
{
    if (mFilePath.empty())
        OutputDebugText("Registry: no settings folder; settings are kept in memory for this run only\n");
    else
        Load();
}

FileRegistry::~FileRegistry()
{
    Flush();
}

namespace {

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path)
{
    FILE* file = OpenFile(path, "rb");
    if (file == nullptr)
        return std::nullopt;
    std::string text;
    char chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        text.append(chunk, got);
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return std::nullopt;
    return text;
}

} // namespace

void FileRegistry::Load()
{
    uint32_t attributes = GetFileAttributes(mFilePath);
    if (attributes == kInvalidFileAttributes)
        return; // a first run: nothing stored yet
    std::optional<std::string> text;
    if ((attributes & kFileAttributeDirectory) == 0)
        text = ReadWholeFile(mFilePath);
    if (!text) {
        OutputDebugText("Registry: cannot read " + mFilePath + "; it is left as it is and nothing is saved\n");
        mWritable = false;
        return;
    }
    std::string error;
    RegistryStore loaded;
    bool closed = false;
    if (ParseRegistryFile(*text, loaded, error, closed)) {
        if (!closed)
            OutputDebugText("Registry: " + mFilePath +
                            " has no closing \";end\" line but every line reads; its settings are kept\n");
        std::lock_guard<std::mutex> hold(Lock());
        Store() = std::move(loaded);
        return;
    }
    SetAside(error);
}

void FileRegistry::SetAside(const std::string& error)
{
    // Each damaged copy keeps its own name: the first is the one players and
    // support already know, later ones are numbered after it.
    constexpr int kMostCopies = 1000;
    const std::string first = mFilePath + ".corrupt";
    std::string aside = first;
    for (int number = 1; GetFileAttributes(aside) != kInvalidFileAttributes; ++number) {
        if (number >= kMostCopies) {
            OutputDebugText("Registry: " + mFilePath + " is damaged (" + error +
                            ") and every name to move it aside to is taken; it is left as it is and nothing is "
                            "saved\n");
            mWritable = false;
            return;
        }
        aside = first + "." + std::to_string(number);
    }
    if (!RenameOver(mFilePath, aside)) {
        OutputDebugText("Registry: " + mFilePath + " is damaged (" + error +
                        ") and cannot be moved aside; it is left as it is and nothing is saved\n");
        mWritable = false;
        return;
    }
    OutputDebugText("Registry: " + mFilePath + " is damaged (" + error + "); it was renamed to " + aside +
                    " and the settings start empty\n");
}

bool FileRegistry::Persist(const RegistryStore& store)
{
    if (mFilePath.empty())
        return true;
    if (!mWritable)
        return false;
    // The folders below the settings folder appear with the first save.
    for (size_t slash = mFilePath.find('/', 1); slash != std::string::npos; slash = mFilePath.find('/', slash + 1))
        MakeFolder(mFilePath.substr(0, slash));
    std::string text = FormatRegistryFile(store);
    if (!SafeWrite::WriteBytes(mFilePath, text.data(), text.size())) {
        OutputDebugText("Registry: cannot save " + mFilePath + "; the previous file is kept\n");
        return false;
    }
    return true;
}

} // namespace Platform
