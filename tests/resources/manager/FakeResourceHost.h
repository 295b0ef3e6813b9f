// A stand-in for the application as the resource manager sees it: the
// display mode, the system family and the sound manager come from fields
// the test sets, and every shared-image request and freed sound is recorded.
#pragma once

#include "tests/app/SoundManagerStub.h"
#include "resources/manager/ResourceHost.h"

#include <string>
#include <utility>
#include <vector>

namespace TestSupport {

class RecordingSounds : public AppTest::SoundManagerStub {
public:
    void FreeSound(int soundId) override { freed.push_back(soundId); }

    std::vector<int> freed;
};

class FakeResourceHost : public Tandry::ResourceHost {
public:
    Tandry::SharedImageHandle AcquireResourceImage(const std::string& path, const std::string& variant,
                                                   bool* isNew) override
    {
        images.emplace_back(path, variant);
        if (isNew != nullptr)
            *isNew = false;
        return {};
    }
    Tandry::SoundManager* GetResourceSoundManager() override { return sounds; }
    bool IsResourceDisplay3D() const override { return display3D; }
    bool IsResourceSystemWindows9x() const override { return windows9x; }

    bool display3D = false;
    bool windows9x = false;
    Tandry::SoundManager* sounds = nullptr;
    std::vector<std::pair<std::string, std::string>> images;
};

} // namespace TestSupport
