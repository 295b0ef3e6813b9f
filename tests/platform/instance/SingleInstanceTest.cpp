#include "platform/headless/HeadlessPlatform.h"
#include "platform/instance/SocketSingleInstance.h"
#include "platform/window/WindowMessages.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

using namespace Platform;

namespace {

intptr_t QuietProc(WindowHandle, uint32_t, uintptr_t, intptr_t)
{
    return 0;
}

std::string UniqueMutexName(const char* base)
{
    return std::string(base) + std::to_string(getpid()) + "Mutex";
}

TEST(SingleInstance, RegisteredNamesGiveStableNumbersWithoutRegardToCase)
{
    HeadlessSingleInstance instance(nullptr);
    uint32_t notify = instance.RegisterWindowMessage("NotifyMoorglen");
    EXPECT_GE(notify, 0xC000u);
    EXPECT_LE(notify, 0xFFFFu);
    EXPECT_EQ(instance.RegisterWindowMessage("notifymoorglen"), notify);
    EXPECT_NE(instance.RegisterWindowMessage("Other"), notify);
    EXPECT_EQ(instance.RegisterWindowMessage(""), 0u);
}

// The steps both channels must take alike: first fresh, second told it existed,
// one record for one broadcast, and a new first instance once the first is gone.
template <typename MakeInstance>
void CheckHandOver(MakeInstance make, const std::string& mutexName)
{
    auto first = make();
    auto second = make();
    uint32_t firstNotify = first->RegisterWindowMessage("NotifyMoorglen");
    uint32_t secondNotify = second->RegisterWindowMessage("NotifyMoorglen");
    MutexResult owned = first->CreateMutex(mutexName);
    EXPECT_NE(owned.handle, 0u);
    EXPECT_FALSE(owned.alreadyExisted);
    MutexResult opened = second->CreateMutex(mutexName);
    EXPECT_TRUE(opened.alreadyExisted);
    EXPECT_TRUE(second->BroadcastMessage(secondNotify));
    EXPECT_EQ(first->TakeNotifications(), std::vector<uint32_t>{firstNotify});
    EXPECT_TRUE(first->TakeNotifications().empty());
    EXPECT_TRUE(second->TakeNotifications().empty());
    EXPECT_FALSE(second->BroadcastMessage(0xC000 + 999));

    first.reset();
    second.reset();
    auto next = make();
    EXPECT_FALSE(next->CreateMutex(mutexName).alreadyExisted);
}

TEST(SingleInstance, HeadlessInstancesOfOneSystemHandOver)
{
    auto system = std::make_shared<HeadlessSystem>();
    CheckHandOver([&] { return std::make_unique<HeadlessSingleInstance>(system); }, "MoorglenMutex");
}

TEST(SingleInstance, SocketInstancesHandOver)
{
    CheckHandOver([] { return std::make_unique<SocketSingleInstance>(); }, UniqueMutexName("HandOver"));
}

TEST(SingleInstance, SocketClosingTheMutexFreesTheName)
{
    SocketSingleInstance first;
    std::string name = UniqueMutexName("Close");
    MutexResult owned = first.CreateMutex(name);
    ASSERT_FALSE(owned.alreadyExisted);
    first.CloseMutex(owned.handle);
    SocketSingleInstance second;
    EXPECT_FALSE(second.CreateMutex(name).alreadyExisted);
}

TEST(SingleInstance, SocketIgnoresDatagramsThatAreNotTheExactNotifyForm)
{
    SocketSingleInstance owner;
    owner.RegisterWindowMessage("NotifyMoorglen");
    std::string name = UniqueMutexName("Hostile");
    ASSERT_FALSE(owner.CreateMutex(name).alreadyExisted);

    int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::string path = "tandry." + std::to_string(getuid()) + "." + name;
    std::memcpy(address.sun_path + 1, path.data(), path.size());
    socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size());
    for (std::string junk : {std::string("NotifyMoorglen"), std::string("tandry-notify\n"),
                             std::string("tandry-notify\nUnknownMessage"), std::string(600, 'x')}) {
        sendto(fd, junk.data(), junk.size(), 0, reinterpret_cast<sockaddr*>(&address), length);
    }
    close(fd);
    EXPECT_TRUE(owner.TakeNotifications().empty());
}

TEST(SingleInstance, BroadcastReachesTheOwnersPumpAsOneRecordForItsMainWindow)
{
    auto system = std::make_shared<HeadlessSystem>();
    HeadlessPlatform::Options options;
    options.system = system;
    HeadlessPlatform first(options);
    HeadlessPlatform second(options);
    first.Windows().RegisterWindowClass({"MainWindow", CS_DBLCLKS, QuietProc, 0});
    WindowHandle main = first.Windows().CreateWindow("MainWindow", L"", WS_POPUP, 0, 0, 0, 640, 480);
    uint32_t notify = first.Instance().RegisterWindowMessage("NotifyMoorglen");
    first.Instance().CreateMutex("MoorglenMutex");
    second.Instance().CreateMutex("MoorglenMutex");
    second.Instance().BroadcastMessage(second.Instance().RegisterWindowMessage("NotifyMoorglen"));

    WindowMessage record;
    ASSERT_TRUE(first.Windows().PeekMessage(record));
    EXPECT_EQ(record.hwnd, main);
    EXPECT_EQ(record.message, notify);
    EXPECT_EQ(record.wParam, 0u);
    EXPECT_EQ(record.lParam, 0);
    EXPECT_FALSE(first.Windows().PeekMessage(record));
}

} // namespace
