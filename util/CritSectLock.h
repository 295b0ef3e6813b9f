// Scoped hold of the display's recursive lock (and any other recursive lock).
#pragma once

#include <mutex>

namespace Tandry {

using CriticalSection = std::recursive_mutex;

class CritSectLock {
public:
    explicit CritSectLock(CriticalSection& section) : mSection(&section) { mSection->lock(); }
    ~CritSectLock() { mSection->unlock(); }
    CritSectLock(const CritSectLock&) = delete;
    CritSectLock& operator=(const CritSectLock&) = delete;

private:
    CriticalSection* mSection;
};

} // namespace Tandry
