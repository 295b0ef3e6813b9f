// A stand-in for the application as the resource manager sees it: the
// display mode, the system family and the sound manager come from fields
// the test sets; shared images come from picture makers the test registers
// by path, one shared entry per (path, variant) as the application keeps
// them. Every image request (with the alpha colour in force), every sound
// manager call and every freed sound is recorded.
#pragma once

#include "tests/resources/manager/RecordingSounds.h"
#include "graphics/image/Image.h"
#include "graphics/image/SharedImageEntry.h"
#include "resources/images/ImageLib.h"
#include "resources/manager/ResourceHost.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace TestSupport {

class FakeResourceHost : public Tandry::ResourceHost {
public:
    FakeResourceHost() = default;
    FakeResourceHost(const FakeResourceHost&) = delete;
    FakeResourceHost& operator=(const FakeResourceHost&) = delete;
    ~FakeResourceHost() override
    {
        for (auto& [key, entry] : mEntries)
            delete entry.image;
    }

    Tandry::SharedImageHandle AcquireResourceImage(const std::string& path, const std::string& variant,
                                                   bool* isNew) override
    {
        images.emplace_back(path, variant);
        alphaColors.push_back(Tandry::gAlphaColor);
        auto [it, added] = mEntries.try_emplace(std::make_pair(path, variant));
        // The application's clean-up drops an entry nobody holds, so an
        // unreadable file is read again by the next request.
        if (!added && it->second.image == nullptr && it->second.refCount == 0)
            added = true;
        if (added) {
            const auto maker = pictures.find(path);
            it->second.image = maker == pictures.end() ? nullptr : maker->second();
        }
        if (isNew != nullptr)
            *isNew = added;
        Tandry::SharedImageHandle handle;
        handle.entry = &it->second;
        handle.entry->refCount.fetch_add(1);
        return handle;
    }
    Tandry::SoundManager* GetResourceSoundManager() override { return sounds; }
    bool IsResourceDisplay3D() const override { return display3D; }
    bool IsResourceSystemWindows9x() const override { return windows9x; }

    // The shared entry of (path, variant); null when nobody asked for it.
    Tandry::SharedImageEntry* Entry(const std::string& path, const std::string& variant = "")
    {
        const auto found = mEntries.find(std::make_pair(path, variant));
        return found == mEntries.end() ? nullptr : &found->second;
    }

    bool display3D = false;
    bool windows9x = false;
    Tandry::SoundManager* sounds = nullptr;
    // What a path reads as; a path without a maker cannot be read.
    std::map<std::string, std::function<Tandry::Image*()>> pictures;
    std::vector<std::pair<std::string, std::string>> images;
    std::vector<uint32_t> alphaColors;

private:
    std::map<std::pair<std::string, std::string>, Tandry::SharedImageEntry> mEntries;
};

} // namespace TestSupport
