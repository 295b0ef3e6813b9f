#include "platform/instance/SocketSingleInstance.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace Platform {
namespace {

// The exact datagram a broadcast sends: this prefix, then the message name.
constexpr char kNotifyPrefix[] = "tandry-notify\n";
constexpr size_t kNotifyPrefixLength = sizeof kNotifyPrefix - 1;
constexpr size_t kMaxDatagram = 512;

socklen_t AddressFor(const std::string& mutexName, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    // A leading NUL makes the name abstract: no file, freed with the last socket.
    std::string name = "tandry." + std::to_string(getuid()) + "." + mutexName;
    size_t room = sizeof address.sun_path - 1;
    if (name.size() > room)
        name.resize(room);
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
}

} // namespace

SocketSingleInstance::~SocketSingleInstance()
{
    for (auto& [handle, entry] : mEntries) {
        if (entry.socket >= 0)
            close(entry.socket);
    }
}

MutexResult SocketSingleInstance::CreateMutex(const std::string& name)
{
    MutexResult result;
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return result;
    sockaddr_un address;
    socklen_t length = AddressFor(name, address);
    Entry entry;
    entry.name = name;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0) {
        int on = 1;
        setsockopt(fd, SOL_SOCKET, SO_PASSCRED, &on, sizeof on);
        entry.socket = fd;
    } else {
        result.alreadyExisted = errno == EADDRINUSE;
        close(fd);
        if (!result.alreadyExisted)
            return result;
    }
    std::lock_guard<std::mutex> hold(mLock);
    result.handle = mNextHandle++;
    mEntries.emplace(result.handle, std::move(entry));
    return result;
}

void SocketSingleInstance::CloseMutex(MutexHandle handle)
{
    std::lock_guard<std::mutex> hold(mLock);
    auto found = mEntries.find(handle);
    if (found == mEntries.end())
        return;
    if (found->second.socket >= 0)
        close(found->second.socket);
    mEntries.erase(found);
}

bool SocketSingleInstance::BroadcastMessage(uint32_t message)
{
    std::string name = NameOfMessage(message);
    if (name.empty())
        return false;
    std::string datagram = kNotifyPrefix + name;
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    bool sent = false;
    std::lock_guard<std::mutex> hold(mLock);
    for (const auto& [handle, entry] : mEntries) {
        if (entry.socket >= 0)
            continue; // our own mutex: nobody else to tell
        sockaddr_un address;
        socklen_t length = AddressFor(entry.name, address);
        if (sendto(fd, datagram.data(), datagram.size(), MSG_DONTWAIT, reinterpret_cast<const sockaddr*>(&address),
                   length) == static_cast<ssize_t>(datagram.size()))
            sent = true;
    }
    close(fd);
    return sent;
}

std::vector<std::string> SocketSingleInstance::TakeReceivedNames()
{
    std::vector<std::string> names;
    std::lock_guard<std::mutex> hold(mLock);
    for (const auto& [handle, entry] : mEntries) {
        if (entry.socket < 0)
            continue;
        for (;;) {
            char buffer[kMaxDatagram];
            alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
            iovec part{buffer, sizeof buffer};
            msghdr header{};
            header.msg_iov = &part;
            header.msg_iovlen = 1;
            header.msg_control = control;
            header.msg_controllen = sizeof control;
            ssize_t got = recvmsg(entry.socket, &header, MSG_DONTWAIT);
            if (got < 0)
                break;
            // Any local process may write here: only our own user's exact notify form counts.
            const ucred* sender = nullptr;
            for (cmsghdr* c = CMSG_FIRSTHDR(&header); c != nullptr; c = CMSG_NXTHDR(&header, c)) {
                if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_CREDENTIALS)
                    sender = reinterpret_cast<const ucred*>(CMSG_DATA(c));
            }
            if (sender == nullptr || sender->uid != getuid() || (header.msg_flags & MSG_TRUNC) != 0)
                continue;
            std::string text(buffer, static_cast<size_t>(got));
            if (text.size() <= kNotifyPrefixLength || text.compare(0, kNotifyPrefixLength, kNotifyPrefix) != 0)
                continue;
            names.push_back(text.substr(kNotifyPrefixLength));
        }
    }
    return names;
}

} // namespace Platform
