#include "game/hog/TMessenger.h"

#include "game/hog/MessageParam.h"

#include <algorithm>
#include <map>

namespace Tandry {

namespace {

struct CodeEntry {
    std::vector<TMessenger*> subscribers;
    // Broadcasts of the code in progress (nested ones count each).
    int broadcasting = 0;
    bool hasNullEntries = false;
};

// Made on first use and never destroyed, so a messenger that outlives the
// other globals can still leave it at exit.
std::map<int, CodeEntry>& Table()
{
    static auto* table = new std::map<int, CodeEntry>();
    return *table;
}

MessageParam& SharedEmptyParam()
{
    static auto* param = new MessageParam();
    return *param;
}

void Leave(TMessenger* messenger, int code)
{
    const auto found = Table().find(code);
    if (found == Table().end())
        return;
    CodeEntry& entry = found->second;
    const auto it = std::find(entry.subscribers.begin(), entry.subscribers.end(), messenger);
    if (it == entry.subscribers.end())
        return;
    // A running broadcast walks the vector by index: keep the positions.
    if (entry.broadcasting > 0) {
        *it = nullptr;
        entry.hasNullEntries = true;
    } else {
        entry.subscribers.erase(it);
    }
}

} // namespace

TMessenger::TMessenger(const TMessenger& other) : mCodes(other.mCodes) {}

TMessenger& TMessenger::operator=(const TMessenger& other)
{
    for (int code : other.mCodes) {
        if (std::find(mCodes.begin(), mCodes.end(), code) == mCodes.end())
            mCodes.push_back(code);
    }
    return *this;
}

TMessenger::~TMessenger()
{
    for (int code : mCodes)
        Leave(this, code);
}

void TMessenger::OnMessage(int /*code*/, TMessenger* /*sender*/, MessageParam* /*param*/) {}

void TMessenger::Subscribe(TMessenger* messenger, int code)
{
    if (messenger == nullptr)
        return;
    if (std::find(messenger->mCodes.begin(), messenger->mCodes.end(), code) == messenger->mCodes.end())
        messenger->mCodes.push_back(code);
    std::vector<TMessenger*>& subscribers = SubscribersOf(code);
    if (std::find(subscribers.begin(), subscribers.end(), messenger) == subscribers.end())
        subscribers.push_back(messenger);
}

std::vector<TMessenger*>& TMessenger::SubscribersOf(int code)
{
    return Table()[code].subscribers;
}

void BroadcastMessage(TMessenger* sender, int code, MessageParam* param)
{
    // Map entries stay where they are while handlers add other codes.
    CodeEntry& entry = Table()[code];
    ++entry.broadcasting;
    for (size_t i = 0; i < entry.subscribers.size(); ++i) {
        if (TMessenger* subscriber = entry.subscribers[i])
            subscriber->OnMessage(code, sender, param);
    }
    if (--entry.broadcasting == 0 && entry.hasNullEntries) {
        std::erase(entry.subscribers, nullptr);
        entry.hasNullEntries = false;
    }
}

void BroadcastCode(TMessenger* sender, int code)
{
    BroadcastMessage(sender, code, EmptyMessageParam());
}

MessageParam* EmptyMessageParam()
{
    return &SharedEmptyParam();
}

void ResetMessageBus()
{
    Table().clear();
    SharedEmptyParam() = MessageParam();
}

} // namespace Tandry
