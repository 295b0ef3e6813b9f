#include "widgets/BoundCall.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Tandry::BoundCall;

class Panel {
public:
    int OnModeChanged(bool windowed)
    {
        seen.push_back(windowed);
        return windowed ? 1 : 2;
    }
    std::vector<bool> seen;
};

TEST(BoundCall, CallsTheMemberWithTheFlag)
{
    Panel panel;
    const BoundCall<int(bool)> call(&panel, &Panel::OnModeChanged);
    EXPECT_FALSE(call.IsEmpty());
    EXPECT_EQ(call(true), 1);
    EXPECT_EQ(call(false), 2);
    EXPECT_EQ(panel.seen, (std::vector<bool>{true, false}));
}

TEST(BoundCall, EmptyCallsAnswerMinusOne)
{
    Panel panel;
    const BoundCall<int(bool)> calls[] = {
        BoundCall<int(bool)>(),
        BoundCall<int(bool)>(static_cast<Panel*>(nullptr), static_cast<int (Panel::*)(bool)>(nullptr)),
        BoundCall<int(bool)>(static_cast<Panel*>(nullptr), &Panel::OnModeChanged),
        BoundCall<int(bool)>(&panel, static_cast<int (Panel::*)(bool)>(nullptr)),
    };
    for (const BoundCall<int(bool)>& call : calls) {
        EXPECT_TRUE(call.IsEmpty());
        EXPECT_TRUE(Tandry::IsEmptyBoundCall(call));
        EXPECT_EQ(call.State(), -1);
        EXPECT_EQ(call(true), -1);
    }
    EXPECT_TRUE(panel.seen.empty());
}

// The callers of the shell: a clear list (no arguments), a tooltip (text and
// seconds), a hint's use request (a bool answer). Their bases carry the
// functions, and one base is virtual, as the game's buttons derive from the
// widget.
struct Log {
    std::vector<std::wstring> entries;
};

class Shown {
public:
    virtual ~Shown() = default;
    virtual void Show(const std::wstring& text, float seconds)
    {
        log->entries.push_back(L"base " + text + L" " + std::to_wstring(static_cast<int>(seconds * 10)));
    }
    Log* log = nullptr;
};

class Other {
public:
    virtual ~Other() = default;
    int padding = 0;
};

class Tip : public Other, public virtual Shown {
public:
    void Show(const std::wstring& text, float seconds) override
    {
        log->entries.push_back(L"tip " + text + L" " + std::to_wstring(static_cast<int>(seconds * 10)));
    }
    void Clear() { log->entries.push_back(L"clear"); }
    bool Use()
    {
        log->entries.push_back(L"use");
        return answer;
    }
    bool answer = true;
};

TEST(BoundCall, EverySignatureBindsAMemberOfAnyClassAndDispatchesVirtually)
{
    Log log;
    Tip tip;
    tip.log = &log;

    const BoundCall<void()> clear(&tip, &Tip::Clear);
    const BoundCall<void(const std::wstring&, float)> show(&tip, &Shown::Show);
    const BoundCall<bool()> use(&tip, &Tip::Use);
    EXPECT_EQ(clear.State(), 4);
    EXPECT_EQ(show.State(), 4);
    EXPECT_FALSE(Tandry::IsEmptyBoundCall(use));

    clear();
    show.CallWithText(L"key", 1.5f);
    EXPECT_TRUE(use());
    tip.answer = false;
    EXPECT_FALSE(use());
    EXPECT_EQ(log.entries, (std::vector<std::wstring>{L"clear", L"tip key 15", L"use", L"use"}));
}

TEST(BoundCall, EmptyCallsOfOtherResultsDoNothing)
{
    const BoundCall<void()> clear;
    const BoundCall<bool()> use(static_cast<Tip*>(nullptr), &Tip::Use);
    const BoundCall<void(const std::wstring&, float)> show;
    clear();
    show.CallWithText(L"nobody", 1.0f);
    EXPECT_FALSE(use());
    EXPECT_EQ(use.State(), -1);
}

TEST(BoundCall, CopiesCallTheSameObject)
{
    Panel first;
    Panel second;
    BoundCall<int(bool)> call(&first, &Panel::OnModeChanged);
    const BoundCall<int(bool)> copy = call;
    call = BoundCall<int(bool)>(&second, &Panel::OnModeChanged);
    copy(true);
    call(false);
    EXPECT_EQ(first.seen, std::vector<bool>{true});
    EXPECT_EQ(second.seen, std::vector<bool>{false});
}

} // namespace
