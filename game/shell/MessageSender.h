// The sending end of a two-way connection list (see MessageReceiver). Value
// animators derive from it to keep their listeners; a receiver list may hold
// null entries while someone walks it.
#pragma once

#include <vector>

class MessageReceiver;

class MessageSender {
public:
    MessageSender() = default;
    MessageSender(const MessageSender&) = delete;
    MessageSender& operator=(const MessageSender&) = delete;
    // Every receiver forgets this sender and is told.
    virtual ~MessageSender();

    // The connection with receiver has ended; deferred is 1 when the receiver
    // ended it from inside one of this sender's notifications.
    virtual void OnReceiverDisconnected(MessageReceiver* receiver, int deferred) = 0;

    void Connect(MessageReceiver* receiver);
    // Drops the first entry of receiver: deferred only nulls it, for a list
    // being walked. False when there is none.
    bool RemoveReceiver(MessageReceiver* receiver, bool deferred);
    // Ends one connection with receiver on both sides, or with null every
    // connection, and reports each through OnReceiverDisconnected.
    void Disconnect(int deferred, MessageReceiver* receiver);

    std::vector<MessageReceiver*> receivers;
    bool hasNullEntries = false;

protected:
    // What the destructor does, for a derived sender that must let go of its
    // receivers while it is still itself.
    void DropAllReceivers();
};
