// The table of "fmod.dll": its 30 entry points under their decorated names,
// answered by the stand-in (FmodRuntime). Sample and channel calls behave as
// the library does; there is no module decoder, so songs never load, and the
// stream calls are present but open nothing.
#pragma once

#include "platform/music/LibraryOpener.h"

#include <memory>

namespace Platform {

std::shared_ptr<const LibraryTable> FmodLibraryTable();

} // namespace Platform
