#include "game/shell/MessageSender.h"

#include "game/shell/MessageReceiver.h"

#include <algorithm>

MessageSender::~MessageSender()
{
    DropAllReceivers();
}

void MessageSender::DropAllReceivers()
{
    // A receiver told of the removal may end other connections; taking one
    // entry at a time keeps the walk valid.
    while (!receivers.empty()) {
        MessageReceiver* receiver = receivers.front();
        receivers.erase(receivers.begin());
        if (receiver != nullptr)
            receiver->RemoveSender(this);
    }
    hasNullEntries = false;
}

void MessageSender::Connect(MessageReceiver* receiver)
{
    receiver->AddSender(this);
    receivers.push_back(receiver);
}

bool MessageSender::RemoveReceiver(MessageReceiver* receiver, bool deferred)
{
    const auto it = std::find(receivers.begin(), receivers.end(), receiver);
    if (receiver == nullptr || it == receivers.end())
        return false;
    if (deferred) {
        *it = nullptr;
        hasNullEntries = true;
    } else {
        receivers.erase(it);
    }
    return true;
}

void MessageSender::Disconnect(int deferred, MessageReceiver* receiver)
{
    // Both sides forget the connection here, so a sender ended from either
    // end never stays behind in the receiver's list.
    if (receiver != nullptr) {
        RemoveReceiver(receiver, false);
        receiver->ForgetSender(this);
        OnReceiverDisconnected(receiver, deferred);
        return;
    }
    while (!receivers.empty()) {
        MessageReceiver* next = receivers.front();
        receivers.erase(receivers.begin());
        if (next == nullptr)
            continue;
        next->ForgetSender(this);
        OnReceiverDisconnected(next, deferred);
    }
    hasNullEntries = false;
}
