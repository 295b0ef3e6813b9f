// Any local process may write to the socket of the instance that owns the
// mutex. The input is sent to it twice as datagrams, as it is and after the
// notify prefix, and the owner's notifications must be exactly those a
// model of the accepted form gives: at most 512 bytes, the prefix, then a
// name this instance registered, compared without regard to ASCII case.
#include "tests/fuzz/FuzzBytes.h"

#include "platform/instance/SocketSingleInstance.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

const std::string kPrefix = "tandry-notify\n";
constexpr size_t kLongestAccepted = 512;
const char* const kRegistered[] = {"NotifyMoorglen", "Other", "x", "Notify\xC3\x84ndern"};

struct Owner {
    Platform::SocketSingleInstance instance;
    std::vector<uint32_t> numbers; // of kRegistered, in order
    sockaddr_un address{};
    socklen_t addressLength = 0;
    int sender = -1;
};

Owner& MadeOwner()
{
    // Made once and kept for the run; the kernel frees the name at exit.
    static Owner* owner = [] {
        auto* made = new Owner;
        const std::string mutex = "Fuzz" + std::to_string(getpid()) + "Mutex";
        FuzzCheck(!made->instance.CreateMutex(mutex).alreadyExisted);
        for (const char* name : kRegistered)
            made->numbers.push_back(made->instance.RegisterWindowMessage(name));
        // The socket's abstract name, as another instance of the program forms it.
        const std::string path = "tandry." + std::to_string(getuid()) + "." + mutex;
        made->address.sun_family = AF_UNIX;
        std::memcpy(made->address.sun_path + 1, path.data(), path.size());
        made->addressLength = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size());
        made->sender = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        FuzzCheck(made->sender >= 0);
        return made;
    }();
    return *owner;
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringAsciiCase(const std::string& a, const char* b)
{
    const size_t length = std::strlen(b);
    if (a.size() != length)
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

// What the owner must report for one datagram that reached it.
void Expect(const Owner& owner, const std::string& datagram, std::vector<uint32_t>& expected)
{
    if (datagram.size() > kLongestAccepted || datagram.size() <= kPrefix.size() ||
        datagram.compare(0, kPrefix.size(), kPrefix) != 0)
        return;
    const std::string name = datagram.substr(kPrefix.size());
    for (size_t i = 0; i < std::size(kRegistered); ++i) {
        if (SameIgnoringAsciiCase(name, kRegistered[i])) {
            expected.push_back(owner.numbers[i]);
            return;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Owner& owner = MadeOwner();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<uint32_t> expected;
    for (const std::string& datagram : {bytes, kPrefix + bytes}) {
        const ssize_t sent = sendto(owner.sender, datagram.data(), datagram.size(), MSG_DONTWAIT,
                                    reinterpret_cast<const sockaddr*>(&owner.address), owner.addressLength);
        if (sent == static_cast<ssize_t>(datagram.size()))
            Expect(owner, datagram, expected);
    }
    FuzzCheck(owner.instance.TakeNotifications() == expected);
    return 0;
}
