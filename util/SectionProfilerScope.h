// Marks a section for as long as it lives, so the section is closed on every
// return path of the code it wraps. Stop closes it early; it is closed once.
#pragma once

#include "util/SectionProfiler.h"

namespace Tandry {

class SectionProfilerScope {
public:
    explicit SectionProfilerScope(const char* name) : mName(name) { SectionProfiler::BeginSection(name); }
    ~SectionProfilerScope() { Stop(); }
    SectionProfilerScope(const SectionProfilerScope&) = delete;
    SectionProfilerScope& operator=(const SectionProfilerScope&) = delete;

    void Stop()
    {
        if (mActive) {
            SectionProfiler::EndSection(mName);
            mActive = false;
        }
    }

private:
    const char* mName;
    bool mActive = true;
};

} // namespace Tandry
