// The receiving end of a two-way connection list: it keeps the senders it is
// connected to, so that either side can end a connection, and either side
// can be deleted first while the other forgets it. Value animators report to
// their listeners through such connections.
#pragma once

#include <vector>

class MessageSender;

class MessageReceiver {
public:
    MessageReceiver() = default;
    MessageReceiver(const MessageReceiver&) = delete;
    MessageReceiver& operator=(const MessageReceiver&) = delete;
    // Ends the connection with every sender.
    virtual ~MessageReceiver();

    // A sender that is being deleted has dropped this receiver.
    virtual void OnSenderRemoved(MessageSender* sender);

    // Appends, without looking for a duplicate: a receiver connected twice
    // holds two entries.
    void AddSender(MessageSender* sender);
    // Forgets one entry of the sender and then tells this receiver.
    void RemoveSender(MessageSender* sender);
    // Ends one connection with sender, or with null every connection; the
    // sender is told deferred (1 from inside one of its own notifications).
    void Disconnect(int deferred, MessageSender* sender);

    std::vector<MessageSender*> senders;

private:
    friend class MessageSender;
    // Drops one entry without telling anybody; false when there is none.
    bool ForgetSender(MessageSender* sender);
};
