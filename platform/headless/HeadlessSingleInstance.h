// Headless single instance: named mutexes and broadcasts through a
// HeadlessSystem that several platform objects of one test can share. The
// first to create a name owns it until it closes the mutex or goes away, and
// a broadcast lands in the owner's inbox.
#pragma once

#include "platform/headless/HeadlessSystem.h"
#include "platform/instance/SingleInstance.h"

#include <map>
#include <memory>

namespace Platform {

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
