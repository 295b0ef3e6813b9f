// The hidden-object game's message bus: messengers subscribe to integer
// codes, and a broadcast calls every subscriber of its code at once, in the
// order of subscription. The board, the level, its pictures and elements, the
// items-to-find panel and the miss statistics derive from TMessenger; the
// shell's level controllers broadcast on it. The subscriber table is one per
// process and never owns a messenger.
#pragma once

#include <vector>

namespace Tandry {

class MessageParam;

class TMessenger {
public:
    TMessenger() = default;
    // A copy takes the code list but is subscribed to nothing.
    TMessenger(const TMessenger& other);
    // Keeps every code it is subscribed to on its list, so that its
    // destructor still finds all its subscriptions.
    TMessenger& operator=(const TMessenger& other);
    // Leaves every code it subscribed to.
    virtual ~TMessenger();

    // The handler; does nothing here.
    virtual void OnMessage(int code, TMessenger* sender, MessageParam* param);

    // Subscribing twice to a code has no further effect.
    static void Subscribe(TMessenger* messenger, int code);
    // The subscribers of the code in subscription order; the entry is made
    // when missing and stays. Entries of messengers destroyed during a
    // broadcast of the code are null until that broadcast returns.
    static std::vector<TMessenger*>& SubscribersOf(int code);

    // Each code this messenger subscribed to, once, in subscription order.
    const std::vector<int>& Codes() const { return mCodes; }

private:
    std::vector<int> mCodes;
};

// Calls OnMessage of every subscriber of the code. Subscribers that join
// during the broadcast are reached by it; ones destroyed during it are not
// called; broadcasts from inside a handler finish before this one goes on.
void BroadcastMessage(TMessenger* sender, int code, MessageParam* param);
// BroadcastMessage with the shared parameter whose every field is zero.
void BroadcastCode(TMessenger* sender, int code);
// The shared empty parameter.
MessageParam* EmptyMessageParam();

// Tests only: forgets every code and zeroes the shared parameter. Messengers
// alive across the reset are safe to destroy.
void ResetMessageBus();

} // namespace Tandry
