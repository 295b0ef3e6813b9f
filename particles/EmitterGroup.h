// The library emitters of one root entry of an effects file (an emitter, or
// everything under a folder), loaded at start-up and kept until shutdown.
// The group unloads them when it goes.
#pragma once

#include <vector>

namespace Tandry {

class EmitterGroup {
public:
    EmitterGroup() = default;
    ~EmitterGroup();
    EmitterGroup(const EmitterGroup&) = delete;
    EmitterGroup& operator=(const EmitterGroup&) = delete;

    void Add(int emitter) { mEmitters.push_back(emitter); }
    bool Empty() const { return mEmitters.empty(); }
    const std::vector<int>& Emitters() const { return mEmitters; }

private:
    std::vector<int> mEmitters;
};

} // namespace Tandry
