// What the resource manager needs of the application that owns it: shared
// images by file, the sound manager, and two questions about the system.
// The manager lies below the application object, which implements this by
// forwarding to its own operations; tests answer with a fake.
#pragma once

#include "graphics/image/SharedImageHandle.h"

#include <string>

namespace Tandry {

class SoundManager;

class ResourceHost {
public:
    virtual ~ResourceHost() = default;

    // The one shared image of (path, variant), loaded on the first request;
    // isNew tells whether this call loaded it. The handle holds no image
    // when the file cannot be read.
    virtual SharedImageHandle AcquireResourceImage(const std::string& path, const std::string& variant,
                                                   bool* isNew) = 0;
    // Null before start-up made it.
    virtual SoundManager* GetResourceSoundManager() = 0;
    // Whether the display draws in 3D ("nobits3d" and "nobits2d").
    virtual bool IsResourceDisplay3D() const = 0;
    // Whether the system is of the Windows 95/98/Me family (no bold system fonts).
    virtual bool IsResourceSystemWindows9x() const = 0;
};

} // namespace Tandry
