#include "platform/ddraw/DDrawCallLog.h"

namespace Platform {

void DDrawCallLog::Add(const DDrawCall& call)
{
    if (mCalls.size() == kLimit)
        mCalls.pop_front();
    mCalls.push_back(call);
}

} // namespace Platform
