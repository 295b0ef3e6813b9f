// What a memory image asks of the application that owns it: the display lock,
// the application's set of live memory images, the saturating-add table, and,
// through the display, its pixel format, its 3D flag and the image's textures.
// The application object implements it; tests put a fake in its place.
#pragma once

#include <cstdint>

#include "app/util/CritSectLock.h"

namespace Tandry {

class MemoryImage;
class NativeDisplay;

class ImageHost {
public:
    virtual ~ImageHost() = default;

    // The display's recursive lock; it guards the image set.
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
};

// The host that images made without one register with: the application sets
// itself here when it is made, tests set a fake and reset it to null.
ImageHost* GetGlobalImageHost();
void SetGlobalImageHost(ImageHost* host);

} // namespace Tandry
