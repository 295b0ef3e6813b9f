#include "platform/music/LibraryOpener.h"

#include "platform/music/BassLibrary.h"
#include "platform/music/FmodLibrary.h"

#include <mutex>

namespace Platform {
namespace {

std::mutex gOpenerLock;
LibraryOpener gOpener;

// The libraries the program ships beside it.
std::shared_ptr<const LibraryTable> OpenShippedLibrary(const std::string& name)
{
    if (name == ".\\bass.dll")
        return BassLibraryTable();
    if (name == "fmod.dll")
        return FmodLibraryTable();
    return nullptr;
}

} // namespace

std::shared_ptr<const LibraryTable> OpenLibrary(const std::string& name)
{
    LibraryOpener opener;
    {
        std::lock_guard<std::mutex> hold(gOpenerLock);
        opener = gOpener;
    }
    return opener ? opener(name) : OpenShippedLibrary(name);
}

void SetLibraryOpener(LibraryOpener opener)
{
    std::lock_guard<std::mutex> hold(gOpenerLock);
    gOpener = std::move(opener);
}

void ResetLibraryOpener()
{
    SetLibraryOpener(nullptr);
}

} // namespace Platform
