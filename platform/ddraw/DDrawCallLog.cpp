#include "platform/ddraw/DDrawCallLog.h"

#include <utility>

namespace Platform {

void DDrawCallLog::Add(DDrawCall call)
{
    if (mCalls.size() == kLimit)
        mCalls.pop_front();
    mCalls.push_back(std::move(call));
}

} // namespace Platform
