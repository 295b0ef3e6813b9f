#include "platform/registry/FileRegistry.h"

#include "platform/debug/DebugOutput.h"
#include "platform/registry/RegistryFile.h"
#include "platform/registry/RegistrySaveFile.h"

#include <filesystem>
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

namespace {

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "rb");
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
    std::error_code ec;
    std::filesystem::file_status status = std::filesystem::status(mFilePath, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        return; // a first run: nothing stored yet
    std::optional<std::string> text;
    if (!ec && std::filesystem::is_regular_file(status))
        text = ReadWholeFile(mFilePath);
    if (!text) {
        OutputDebugText("Registry: cannot read " + mFilePath + "; it is left as it is and nothing is saved\n");
        mWritable = false;
        return;
    }
    std::string error;
    RegistryStore loaded;
    if (ParseRegistryFile(*text, loaded, error)) {
        std::lock_guard<std::mutex> hold(Lock());
        Store() = std::move(loaded);
        return;
    }
    std::string aside = mFilePath + ".corrupt";
    std::filesystem::rename(mFilePath, aside, ec);
    if (ec) {
        OutputDebugText("Registry: " + mFilePath + " is damaged (" + error + ") and cannot be moved aside (" +
                        ec.message() + "); it is left as it is and nothing is saved\n");
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
    std::string error;
    if (!SaveRegistryFile(mFilePath, FormatRegistryFile(store), error)) {
        OutputDebugText("Registry: cannot save " + mFilePath + ": " + error + "\n");
        return false;
    }
    return true;
}

} // namespace Platform
