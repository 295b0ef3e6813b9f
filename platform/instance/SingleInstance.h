// The single-instance channel: registered window messages, named mutexes and
// the broadcast that asks the instance owning a mutex to come to the front.
// A broadcast reaches the owner's pump as one record {main window, the
// registered number, 0, 0}; the window service collects it through
// TakeNotifications. Registered numbers lie in 0xC000..0xFFFF and one name
// (compared without regard to ASCII case) always gives the same number.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace Platform {

using MutexHandle = uintptr_t; // 0 = none

struct MutexResult {
    MutexHandle handle = 0;
    bool alreadyExisted = false;
};

class SingleInstance {
public:
    virtual ~SingleInstance() = default;

    // 0 when the table is full.
    uint32_t RegisterWindowMessage(const std::string& name);
    // Creates the named mutex, or opens it and says so when another instance owns it.
    virtual MutexResult CreateMutex(const std::string& name) = 0;
    virtual void CloseMutex(MutexHandle handle) = 0;
    // Sends a registered message (wParam 0, lParam 0) to the owners of the
    // mutexes this instance found existing. False for an unregistered number.
    virtual bool BroadcastMessage(uint32_t message) = 0;
    // The registered numbers that reached this instance since the last call.
    std::vector<uint32_t> TakeNotifications();

protected:
    // The name of a registered number; empty when none.
    std::string NameOfMessage(uint32_t message);
    // Hands over the names received since the last call.
    virtual std::vector<std::string> TakeReceivedNames() = 0;

private:
    std::mutex mLock;
    std::vector<std::string> mNames; // index + 0xC000 is the number
};

} // namespace Platform
