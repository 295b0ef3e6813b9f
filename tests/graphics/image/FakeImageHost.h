// A stand-in for the application as images see it: an image set, a display
// lock, a display format and 3D flag that tests choose, and texture calls that
// are recorded (with whether the display lock was held) instead of performed.
// Shared-image releases are counted.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <set>
#include <thread>
#include <vector>

#include "graphics/display/NativeDisplay.h"
#include "graphics/image/ImageHost.h"
#include "graphics/image/MemoryImage.h"

namespace TandryTest {

class FakeImageHost : public Tandry::ImageHost {
public:
    enum class Event { Add, Remove, FreeTextures, ReadTextures };
    struct Call {
        Event event;
        const Tandry::MemoryImage* image;
        bool lockHeld;
    };

    FakeImageHost()
    {
        format = Tandry::NativeDisplay::Argb8888();
        for (int i = 0; i < 512; ++i)
            addTable[i] = static_cast<uint8_t>(i < 256 ? i : 255);
    }

    void SharedImageReleased() override { ++sharedReleases; }

    Tandry::CriticalSection& GetDisplayLock() override { return lock; }

    void AddMemoryImage(Tandry::MemoryImage* image) override
    {
        Record(Event::Add, image);
        images.insert(image);
    }

    void RemoveMemoryImage(Tandry::MemoryImage* image) override
    {
        Record(Event::Remove, image);
        images.erase(image);
    }

    const uint8_t* GetAddTable() const override { return addTable.data(); }
    const Tandry::NativeDisplay& GetDisplayFormat() const override { return format; }
    bool IsDisplay3D() const override { return is3D; }

    void FreeImageTextures(Tandry::MemoryImage* image) override
    {
        Record(Event::FreeTextures, image);
        image->mTextureData = nullptr;
    }

    bool ReadImageTextures(const Tandry::MemoryImage* image, uint32_t* bits) override
    {
        Record(Event::ReadTextures, image);
        ++readBacks;
        if (!readBackSucceeds)
            return false;
        const size_t count = static_cast<size_t>(image->mWidth) * static_cast<size_t>(image->mHeight);
        for (size_t i = 0; i < count; ++i)
            bits[i] = readBackPixel;
        return true;
    }

    void DetachAll()
    {
        Tandry::CritSectLock hold(lock);
        for (Tandry::MemoryImage* image : images)
            image->DetachHost();
        images.clear();
    }

    size_t CountCalls(Event event) const
    {
        size_t n = 0;
        for (const Call& call : calls)
            n += call.event == event ? 1 : 0;
        return n;
    }

    Tandry::CriticalSection lock;
    std::set<Tandry::MemoryImage*> images;
    std::array<uint8_t, 512> addTable{};
    Tandry::NativeDisplay format;
    bool is3D = false;
    bool readBackSucceeds = true;
    uint32_t readBackPixel = 0xFF204060;
    int readBacks = 0;
    std::atomic<int> sharedReleases{0};
    // Off for the threaded test: probing the lock takes a thread per call.
    bool recordCalls = true;
    std::vector<Call> calls;

private:
    void Record(Event event, const Tandry::MemoryImage* image)
    {
        if (!recordCalls)
            return;
        // A recursive lock says nothing to its own holder; ask from elsewhere.
        bool othersCanLock = false;
        std::thread probe([&] {
            if (lock.try_lock()) {
                othersCanLock = true;
                lock.unlock();
            }
        });
        probe.join();
        calls.push_back({event, image, !othersCanLock});
    }
};

// Stands for a texture record; the images only compare it with null.
inline Tandry::TextureData* FakeTextures()
{
    static int record;
    return reinterpret_cast<Tandry::TextureData*>(&record);
}

} // namespace TandryTest
