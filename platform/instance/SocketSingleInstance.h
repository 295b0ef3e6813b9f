// The single-instance channel between processes: a named mutex is an abstract
// UNIX datagram socket named after the user id and the mutex name. Binding it
// is owning the mutex, and the kernel frees the name when the process ends, so
// a crashed first instance never blocks the next start and nothing is written
// to disk. A broadcast is one datagram; the owner accepts only the exact
// notify form from a sender of its own user id.
#pragma once

#include "platform/instance/SingleInstance.h"

#include <map>

namespace Platform {

class SocketSingleInstance : public SingleInstance {
public:
    SocketSingleInstance() = default;
    ~SocketSingleInstance() override;
    SocketSingleInstance(const SocketSingleInstance&) = delete;
    SocketSingleInstance& operator=(const SocketSingleInstance&) = delete;

    MutexResult CreateMutex(const std::string& name) override;
    void CloseMutex(MutexHandle handle) override;
    bool BroadcastMessage(uint32_t message) override;

protected:
    std::vector<std::string> TakeReceivedNames() override;

private:
    struct Entry {
        std::string name;
        int socket = -1; // bound socket when this instance owns the mutex
    };
    std::mutex mLock;
    std::map<MutexHandle, Entry> mEntries;
    MutexHandle mNextHandle = 1;
};

} // namespace Platform
