// The hidden-object message bus: delivery order, subscriptions made and
// messengers destroyed while a broadcast runs, nested broadcasts, and the
// parameter record.
#include "game/hog/MessageParam.h"
#include "game/hog/TMessenger.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Tandry::BroadcastCode;
using Tandry::BroadcastMessage;
using Tandry::MessageParam;
using Tandry::TMessenger;

std::vector<std::string> gCalls;

class Named : public TMessenger {
public:
    explicit Named(std::string messengerName) : name(std::move(messengerName)) {}
    void OnMessage(int code, TMessenger* sender, MessageParam* param) override
    {
        gCalls.push_back(name + " " + std::to_string(code));
        lastSender = sender;
        lastParam = param;
        if (onMessage)
            onMessage(code);
    }
    std::string name;
    TMessenger* lastSender = nullptr;
    MessageParam* lastParam = nullptr;
    std::function<void(int)> onMessage;
};

class TMessengerTest : public testing::Test {
protected:
    void SetUp() override
    {
        Tandry::ResetMessageBus();
        gCalls.clear();
    }
    void TearDown() override { Tandry::ResetMessageBus(); }
};

TEST_F(TMessengerTest, SubscribingTwiceDeliversOnce)
{
    Named a("a");
    TMessenger::Subscribe(&a, 52);
    TMessenger::Subscribe(&a, 52);
    BroadcastCode(nullptr, 52);
    EXPECT_EQ(gCalls, std::vector<std::string>{"a 52"});
    EXPECT_EQ(a.Codes(), std::vector<int>{52});
}

TEST_F(TMessengerTest, DeliveryFollowsSubscriptionOrderWithSenderAndParameter)
{
    Named statistics("statistics");
    Named board("board");
    Named sender("sender");
    TMessenger::Subscribe(&statistics, 52);
    TMessenger::Subscribe(&board, 52);
    TMessenger::Subscribe(&board, 53);
    MessageParam param(20);
    BroadcastMessage(&sender, 52, &param);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"statistics 52", "board 52"}));
    EXPECT_EQ(board.lastSender, &sender);
    EXPECT_EQ(board.lastParam, &param);
}

TEST_F(TMessengerTest, ADestroyedMessengerIsNotReachedAndTheOthersKeepTheirOrder)
{
    Named a("a");
    auto b = std::make_unique<Named>("b");
    Named c("c");
    for (TMessenger* m : {static_cast<TMessenger*>(&a), static_cast<TMessenger*>(b.get()), static_cast<TMessenger*>(&c)}) {
        TMessenger::Subscribe(m, 0);
        TMessenger::Subscribe(m, 43);
    }
    b.reset();
    BroadcastCode(nullptr, 0);
    BroadcastCode(nullptr, 43);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"a 0", "c 0", "a 43", "c 43"}));
    EXPECT_EQ(TMessenger::SubscribersOf(0), (std::vector<TMessenger*>{&a, &c}));
}

TEST_F(TMessengerTest, ACodeNobodyJoinedGetsAnEmptyEntryThatStays)
{
    BroadcastCode(nullptr, 64);
    EXPECT_TRUE(gCalls.empty());
    EXPECT_TRUE(TMessenger::SubscribersOf(64).empty());
    {
        Named a("a");
        TMessenger::Subscribe(&a, 64);
        EXPECT_EQ(TMessenger::SubscribersOf(64).size(), 1u);
    }
    EXPECT_TRUE(TMessenger::SubscribersOf(64).empty());
}

TEST_F(TMessengerTest, ANestedBroadcastFinishesBeforeTheOuterGoesOn)
{
    Named level("level");
    Named board("board");
    Named listener("listener");
    TMessenger::Subscribe(&level, 49);
    TMessenger::Subscribe(&board, 49);
    TMessenger::Subscribe(&listener, 41);
    level.onMessage = [&level](int code) {
        if (code == 49) {
            MessageParam zero(0);
            BroadcastMessage(&level, 41, &zero);
        }
    };
    BroadcastCode(nullptr, 49);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"level 49", "listener 41", "board 49"}));
}

TEST_F(TMessengerTest, AMessengerJoiningDuringABroadcastOfItsCodeIsReachedByIt)
{
    Named first("first");
    Named late("late");
    TMessenger::Subscribe(&first, 0);
    first.onMessage = [&late](int) { TMessenger::Subscribe(&late, 0); };
    BroadcastCode(nullptr, 0);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"first 0", "late 0"}));
}

TEST_F(TMessengerTest, AMessengerDestroyedByAnEarlierHandlerIsNotCalledAndTheNextOneIs)
{
    Named killer("killer");
    auto* victim = new Named("victim");
    Named next("next");
    TMessenger::Subscribe(&killer, 52);
    TMessenger::Subscribe(victim, 52);
    TMessenger::Subscribe(&next, 52);
    killer.onMessage = [&victim](int) {
        delete victim;
        victim = nullptr;
    };
    BroadcastCode(nullptr, 52);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"killer 52", "next 52"}));
    // The null entry went when the broadcast returned.
    EXPECT_EQ(TMessenger::SubscribersOf(52), (std::vector<TMessenger*>{&killer, &next}));
}

TEST_F(TMessengerTest, AMessengerDestroyingItselfInANestedBroadcastLeavesBothWalksValid)
{
    Named outer("outer");
    auto* self = new Named("self");
    Named last("last");
    TMessenger::Subscribe(&outer, 0);
    TMessenger::Subscribe(self, 0);
    TMessenger::Subscribe(self, 35);
    TMessenger::Subscribe(&last, 0);
    TMessenger::Subscribe(&last, 35);
    outer.onMessage = [](int code) {
        if (code == 0)
            BroadcastCode(nullptr, 35);
    };
    self->onMessage = [self](int code) {
        if (code == 35)
            delete self;
    };
    BroadcastCode(nullptr, 0);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"outer 0", "self 35", "last 35", "last 0"}));
    EXPECT_EQ(TMessenger::SubscribersOf(0).size(), 2u);
    EXPECT_EQ(TMessenger::SubscribersOf(35).size(), 1u);
}

TEST_F(TMessengerTest, ACopyTakesTheCodesButIsNotSubscribed)
{
    Named original("original");
    TMessenger::Subscribe(&original, 35);
    {
        Named copy = original;
        EXPECT_EQ(copy.Codes(), std::vector<int>{35});
        BroadcastCode(nullptr, 35);
    }
    EXPECT_EQ(gCalls, std::vector<std::string>{"original 35"});
    EXPECT_EQ(TMessenger::SubscribersOf(35).size(), 1u);

    // Assigned over, a subscribed messenger still leaves what it joined.
    {
        Named assigned("assigned");
        TMessenger::Subscribe(&assigned, 37);
        Named codeless("codeless");
        static_cast<TMessenger&>(assigned) = codeless;
    }
    EXPECT_TRUE(TMessenger::SubscribersOf(37).empty());
}

TEST_F(TMessengerTest, EveryFieldButThePayloadIsZero)
{
    const MessageParam number(20);
    EXPECT_EQ(number.value, 20);
    EXPECT_EQ(number.time, 0.0f);
    EXPECT_EQ(number.picture, nullptr);
    EXPECT_EQ(number.element, nullptr);
    EXPECT_EQ(number.level, nullptr);

    const MessageParam tick(0.25f);
    EXPECT_EQ(tick.time, 0.25f);
    EXPECT_EQ(tick.value, 0);

    const MessageParam* empty = Tandry::EmptyMessageParam();
    EXPECT_EQ(empty->time, 0.0f);
    EXPECT_EQ(empty->value, 0);
    EXPECT_EQ(empty->level, nullptr);
}

} // namespace
