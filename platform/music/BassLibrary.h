// The table of ".\\bass.dll": all its entry points in the version-2 shapes,
// answered by the stand-in (BassRuntime). The entries the music back end
// uses behave as the library does; the others are present and answer failure.
#pragma once

#include "platform/music/LibraryOpener.h"

#include <memory>

namespace Platform {

std::shared_ptr<const LibraryTable> BassLibraryTable();

} // namespace Platform
