// Headless single instance. The named mutexes live in a HeadlessSystem, an
// in-memory stand-in for the operating system that several platform objects
// of one test can share: the first to create a name owns it until it closes
// the mutex or goes away, and a broadcast lands in the owner's inbox.
#pragma once

#include "platform/instance/SingleInstance.h"

#include <map>
#include <memory>

namespace Platform {

class HeadlessSingleInstance;

class HeadlessSystem {
public:
    // The owner of a name, or null.
    HeadlessSingleInstance* OwnerOf(const std::string& mutexName);
    bool Claim(const std::string& mutexName, HeadlessSingleInstance* owner);
    void Release(const std::string& mutexName, HeadlessSingleInstance* owner);
    // Hands a message name to the owner of a mutex; false when nobody owns it.
    bool Deliver(const std::string& mutexName, const std::string& messageName);

private:
    std::mutex mLock;
    std::map<std::string, HeadlessSingleInstance*> mOwners;
};

class HeadlessSingleInstance : public SingleInstance {
public:
    explicit HeadlessSingleInstance(std::shared_ptr<HeadlessSystem> system);
    ~HeadlessSingleInstance() override;

    MutexResult CreateMutex(const std::string& name) override;
    void CloseMutex(MutexHandle handle) override;
    bool BroadcastMessage(uint32_t message) override;

    // Called by the system with the lock of the system held.
    void Receive(const std::string& messageName);

protected:
    std::vector<std::string> TakeReceivedNames() override;

private:
    struct Entry {
        std::string name;
        bool owner = false;
    };
    std::shared_ptr<HeadlessSystem> mSystem;
    std::mutex mLock;
    std::map<MutexHandle, Entry> mEntries;
    MutexHandle mNextHandle = 1;
    std::vector<std::string> mInbox;
};

} // namespace Platform
