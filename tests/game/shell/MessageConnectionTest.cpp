// Connections between senders and receivers: either side may end one or be
// deleted first, and the other side forgets it (ASan sees any stale entry
// that is used).
#include "game/shell/MessageReceiver.h"
#include "game/shell/MessageSender.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> gEvents;
// A dying sender is only a MessageSender by the time receivers hear of it.
std::map<const MessageSender*, std::string> gNames;

class Sender : public MessageSender {
public:
    explicit Sender(std::string senderName) : name(std::move(senderName)) { gNames[this] = name; }
    void OnReceiverDisconnected(MessageReceiver* /*receiver*/, int deferred) override
    {
        gEvents.push_back(name + " lost a receiver, deferred " + std::to_string(deferred));
    }
    std::string name;
};

class Receiver : public MessageReceiver {
public:
    void OnSenderRemoved(MessageSender* sender) override
    {
        gEvents.push_back("removed " + gNames[sender]);
    }
};

class MessageConnection : public testing::Test {
protected:
    void SetUp() override { gEvents.clear(); }
};

TEST_F(MessageConnection, ConnectingTwiceGivesTwoEntriesThatEitherDeathRemoves)
{
    auto sender = std::make_unique<Sender>("s");
    auto receiver = std::make_unique<Receiver>();
    sender->Connect(receiver.get());
    sender->Connect(receiver.get());
    EXPECT_EQ(sender->receivers.size(), 2u);
    EXPECT_EQ(receiver->senders.size(), 2u);

    sender.reset();
    EXPECT_TRUE(receiver->senders.empty());
    EXPECT_EQ(gEvents, (std::vector<std::string>{"removed s", "removed s"}));

    auto second = std::make_unique<Sender>("t");
    second->Connect(receiver.get());
    second->Connect(receiver.get());
    receiver.reset();
    EXPECT_TRUE(second->receivers.empty());
}

TEST_F(MessageConnection, ReceiverDisconnectWithoutASenderEndsEveryConnection)
{
    Sender first("a");
    Sender second("b");
    Receiver receiver;
    first.Connect(&receiver);
    second.Connect(&receiver);
    receiver.Disconnect(0, nullptr);
    EXPECT_TRUE(receiver.senders.empty());
    EXPECT_TRUE(first.receivers.empty());
    EXPECT_TRUE(second.receivers.empty());
    EXPECT_EQ(gEvents, (std::vector<std::string>{"a lost a receiver, deferred 0", "b lost a receiver, deferred 0"}));
}

TEST_F(MessageConnection, ReceiverDisconnectFromOneSenderLeavesTheOthers)
{
    Sender first("a");
    Sender second("b");
    Receiver receiver;
    first.Connect(&receiver);
    second.Connect(&receiver);
    receiver.Disconnect(1, &first);
    EXPECT_EQ(receiver.senders, std::vector<MessageSender*>{&second});
    EXPECT_TRUE(first.receivers.empty());
    EXPECT_EQ(second.receivers.size(), 1u);
    EXPECT_EQ(gEvents, std::vector<std::string>{"a lost a receiver, deferred 1"});

    // A sender it is not connected to is not told anything.
    receiver.Disconnect(0, &first);
    EXPECT_EQ(gEvents.size(), 1u);
}

TEST_F(MessageConnection, SenderDisconnectEndsTheConnectionOnBothSides)
{
    auto sender = std::make_unique<Sender>("s");
    Receiver one;
    Receiver two;
    sender->Connect(&one);
    sender->Connect(&two);
    sender->Disconnect(0, &one);
    EXPECT_TRUE(one.senders.empty());
    sender->Disconnect(1, nullptr);
    EXPECT_TRUE(two.senders.empty());
    EXPECT_TRUE(sender->receivers.empty());
    EXPECT_EQ(gEvents, (std::vector<std::string>{"s lost a receiver, deferred 0", "s lost a receiver, deferred 1"}));
    // Neither receiver refers to the sender any more.
    sender.reset();
    EXPECT_EQ(gEvents.size(), 2u);
}

TEST_F(MessageConnection, DeferredRemovalOnlyNullsTheEntry)
{
    Sender sender("s");
    Receiver receiver;
    Receiver stranger;
    sender.Connect(&receiver);
    EXPECT_FALSE(sender.RemoveReceiver(&stranger, true));
    EXPECT_FALSE(sender.hasNullEntries);
    EXPECT_TRUE(sender.RemoveReceiver(&receiver, true));
    EXPECT_EQ(sender.receivers, std::vector<MessageReceiver*>{nullptr});
    EXPECT_TRUE(sender.hasNullEntries);
    EXPECT_FALSE(sender.RemoveReceiver(&receiver, false));
    // The receiver still names the sender until it lets go itself.
    receiver.RemoveSender(&sender);
    EXPECT_TRUE(receiver.senders.empty());
    EXPECT_EQ(gEvents, std::vector<std::string>{"removed s"});
}

} // namespace
