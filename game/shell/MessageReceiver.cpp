#include "game/shell/MessageReceiver.h"

#include "game/shell/MessageSender.h"

#include <algorithm>

MessageReceiver::~MessageReceiver()
{
    // Each Disconnect drops one entry of the sender here, so the list shrinks
    // however the senders react.
    while (!senders.empty())
        senders.front()->Disconnect(0, this);
}

void MessageReceiver::OnSenderRemoved(MessageSender* /*sender*/) {}

void MessageReceiver::AddSender(MessageSender* sender)
{
    senders.push_back(sender);
}

void MessageReceiver::RemoveSender(MessageSender* sender)
{
    if (ForgetSender(sender))
        OnSenderRemoved(sender);
}

void MessageReceiver::Disconnect(int deferred, MessageSender* sender)
{
    if (sender != nullptr) {
        if (std::find(senders.begin(), senders.end(), sender) != senders.end())
            sender->Disconnect(deferred, this);
        return;
    }
    while (!senders.empty())
        senders.front()->Disconnect(deferred, this);
}

bool MessageReceiver::ForgetSender(MessageSender* sender)
{
    const auto it = std::find(senders.begin(), senders.end(), sender);
    if (it == senders.end())
        return false;
    senders.erase(it);
    return true;
}
