#include "util/CritSectLock.h"

#include <gtest/gtest.h>

#include <future>
#include <stdexcept>

namespace {

using Tandry::CriticalSection;
using Tandry::CritSectLock;

bool TakenByAnotherThread(CriticalSection& section)
{
    return std::async(std::launch::async, [&] {
               if (!section.try_lock())
                   return false;
               section.unlock();
               return true;
           }).get()
        == false;
}

TEST(CritSectLock, NestsOnOneThreadAndExcludesOthersUntilTheOuterScopeEnds)
{
    CriticalSection section;
    {
        CritSectLock outer(section);
        {
            CritSectLock inner(section);
            EXPECT_TRUE(TakenByAnotherThread(section));
        }
        EXPECT_TRUE(TakenByAnotherThread(section));
    }
    EXPECT_FALSE(TakenByAnotherThread(section));
}

TEST(CritSectLock, ReleasedWhenAnExceptionLeavesTheScope)
{
    CriticalSection section;
    try {
        CritSectLock hold(section);
        throw std::runtime_error("leave");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(TakenByAnotherThread(section));
}

} // namespace
