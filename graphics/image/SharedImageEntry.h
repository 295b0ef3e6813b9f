// One shared image and the number of handles that refer to it. The
// application's map of shared images holds entries in place; an entry whose
// count drops to 0 is freed by the application's clean-up, never by a handle.
// While its first caller loads the image, the entry is marked as loading and
// other callers wait for it.
#pragma once

#include <atomic>

namespace Tandry {

class Image;

struct SharedImageEntry {
    // Owned by the application's map.
    Image* image = nullptr;
    // Handles are copied and released on the main and the loading thread.
    std::atomic<int> refCount{0};
    // Set while the first caller loads the image; the image is set before it clears.
    std::atomic<bool> loading{false};
};

} // namespace Tandry
