// The in-memory stand-in for what the operating system keeps between
// processes: who owns which named mutex. Several headless platforms of one
// test share one, as two instances of the program share one machine.
#pragma once

#include <map>
#include <mutex>
#include <string>

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

} // namespace Platform
