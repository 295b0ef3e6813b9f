// What images need of the application that keeps them: the display lock, the
// set of live memory images, the saturating-add table, notice of shared
// images that lost their last handle, and, through the display, its pixel
// format, its 3D flag and the images' textures. The application lies above
// the display layer, so images reach it only through this interface, which
// the application implements and installs; tests install a fake.
#pragma once

#include <cstdint>

#include "util/CritSectLock.h"

namespace Tandry {

class MemoryImage;
class NativeDisplay;

class ImageHost {
public:
    // A shared image lost its last handle; the application frees such images
    // at its next update. Called from whichever thread released the handle.
    virtual void SharedImageReleased() = 0;

    // The display's recursive lock; it guards the set of memory images.
    virtual CriticalSection& GetDisplayLock() = 0;
    // Called with the display lock held.
    virtual void AddMemoryImage(MemoryImage* image) = 0;
    virtual void RemoveMemoryImage(MemoryImage* image) = 0;

    // 512 entries: entry i is min(i, 255), indexed by the sum of two channels.
    virtual const uint8_t* GetAddTable() const = 0;

    // The display's current pixel format.
    virtual const NativeDisplay& GetDisplayFormat() const = 0;
    virtual bool IsDisplay3D() const = 0;
    // Drops the image's texture record and textures; leaves mTextureData null.
    virtual void FreeImageTextures(MemoryImage* image) = 0;
    // Reads the image's picture back from its textures into width x height
    // words; false when it cannot.
    virtual bool ReadImageTextures(const MemoryImage* image, uint32_t* bits) = 0;

protected:
    ~ImageHost() = default;
};

// The installed host, or null (before the application exists, after it is
// gone, and in tests that install none). Safe to read from any thread.
ImageHost* GetImageHost();
// Null uninstalls; tests reset with it.
void SetImageHost(ImageHost* host);

} // namespace Tandry
