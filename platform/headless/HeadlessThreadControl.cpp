#include "platform/headless/HeadlessThreadControl.h"

namespace Platform {

void HeadlessThreadControl::SetCurrentThreadPriority(ThreadPriority priority)
{
    uint32_t id = GetCurrentThreadId();
    std::lock_guard<std::mutex> hold(mLock);
    mCurrent[id] = priority;
    mChanges.push_back({id, priority});
}

ThreadPriority HeadlessThreadControl::GetPriorityOf(uint32_t threadId)
{
    std::lock_guard<std::mutex> hold(mLock);
    auto found = mCurrent.find(threadId);
    return found == mCurrent.end() ? ThreadPriority::Normal : found->second;
}

std::vector<HeadlessThreadControl::Change> HeadlessThreadControl::GetChanges()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mChanges;
}

} // namespace Platform
