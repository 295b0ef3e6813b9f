#include "platform/headless/HeadlessSingleInstance.h"

namespace Platform {

HeadlessSingleInstance::HeadlessSingleInstance(std::shared_ptr<HeadlessSystem> system)
    : mSystem(system ? std::move(system) : std::make_shared<HeadlessSystem>())
{
}

HeadlessSingleInstance::~HeadlessSingleInstance()
{
    // Like the end of a process: every mutex it owned is free again. The system's
    // lock is taken without ours, as Deliver takes them the other way round.
    std::vector<std::string> owned;
    {
        std::lock_guard<std::mutex> hold(mLock);
        for (const auto& [handle, entry] : mEntries) {
            if (entry.owner)
                owned.push_back(entry.name);
        }
    }
    for (const std::string& name : owned)
        mSystem->Release(name, this);
}

MutexResult HeadlessSingleInstance::CreateMutex(const std::string& name)
{
    bool owner = mSystem->Claim(name, this);
    std::lock_guard<std::mutex> hold(mLock);
    MutexResult result;
    result.handle = mNextHandle++;
    result.alreadyExisted = !owner;
    mEntries[result.handle] = {name, owner};
    return result;
}

void HeadlessSingleInstance::CloseMutex(MutexHandle handle)
{
    Entry entry;
    {
        std::lock_guard<std::mutex> hold(mLock);
        auto found = mEntries.find(handle);
        if (found == mEntries.end())
            return;
        entry = found->second;
        mEntries.erase(found);
    }
    if (entry.owner)
        mSystem->Release(entry.name, this);
}

bool HeadlessSingleInstance::BroadcastMessage(uint32_t message)
{
    std::string name = NameOfMessage(message);
    if (name.empty())
        return false;
    std::vector<std::string> targets;
    {
        std::lock_guard<std::mutex> hold(mLock);
        for (const auto& [handle, entry] : mEntries) {
            if (!entry.owner)
                targets.push_back(entry.name);
        }
    }
    bool sent = false;
    for (const std::string& target : targets)
        sent = mSystem->Deliver(target, name) || sent;
    return sent;
}

void HeadlessSingleInstance::Receive(const std::string& messageName)
{
    std::lock_guard<std::mutex> hold(mLock);
    mInbox.push_back(messageName);
}

std::vector<std::string> HeadlessSingleInstance::TakeReceivedNames()
{
    std::lock_guard<std::mutex> hold(mLock);
    std::vector<std::string> names;
    names.swap(mInbox);
    return names;
}

} // namespace Platform
