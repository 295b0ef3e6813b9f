#include "platform/headless/HeadlessSystem.h"

#include "platform/headless/HeadlessSingleInstance.h"

namespace Platform {

HeadlessSingleInstance* HeadlessSystem::OwnerOf(const std::string& mutexName)
{
    std::lock_guard<std::mutex> hold(mLock);
    auto found = mOwners.find(mutexName);
    return found == mOwners.end() ? nullptr : found->second;
}

bool HeadlessSystem::Claim(const std::string& mutexName, HeadlessSingleInstance* owner)
{
    std::lock_guard<std::mutex> hold(mLock);
    return mOwners.emplace(mutexName, owner).second;
}

void HeadlessSystem::Release(const std::string& mutexName, HeadlessSingleInstance* owner)
{
    std::lock_guard<std::mutex> hold(mLock);
    auto found = mOwners.find(mutexName);
    if (found != mOwners.end() && found->second == owner)
        mOwners.erase(found);
}

bool HeadlessSystem::Deliver(const std::string& mutexName, const std::string& messageName)
{
    std::lock_guard<std::mutex> hold(mLock);
    auto found = mOwners.find(mutexName);
    if (found == mOwners.end())
        return false;
    found->second->Receive(messageName);
    return true;
}

} // namespace Platform
