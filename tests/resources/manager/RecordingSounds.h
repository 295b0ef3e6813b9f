// A sound manager that records what the resource manager asks of it: the
// free ids it hands out in turn, the loads it answers as told, the default
// volumes and pans, and the sounds it is told to free.
#pragma once

#include "tests/app/SoundManagerStub.h"
#include "util/Format.h"

#include <string>
#include <vector>

namespace TestSupport {

class RecordingSounds : public AppTest::SoundManagerStub {
public:
    int FindFreeSoundId() override
    {
        calls.push_back("FindFreeSoundId");
        return freeId < 0 ? -1 : freeId++;
    }
    bool LoadSoundIntoSlot(int id, const std::string& name) override
    {
        calls.push_back(Tandry::FormatString("LoadSoundIntoSlot %d %s", id, name.c_str()));
        return loadSucceeds;
    }
    bool SetSoundDefaultVolume(int id, double volume) override
    {
        calls.push_back(Tandry::FormatString("SetSoundDefaultVolume %d %g", id, volume));
        return true;
    }
    bool SetSoundDefaultPan(int id, int pan) override
    {
        calls.push_back(Tandry::FormatString("SetSoundDefaultPan %d %d", id, pan));
        return true;
    }
    void FreeSound(int soundId) override { freed.push_back(soundId); }

    // The next id handed out; below 0: none is free.
    int freeId = 0;
    bool loadSucceeds = true;
    std::vector<std::string> calls;
    std::vector<int> freed;
};

} // namespace TestSupport
