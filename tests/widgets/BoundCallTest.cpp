#include "widgets/BoundCall.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

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
    const Tandry::BoundCall call(&panel, &Panel::OnModeChanged);
    EXPECT_FALSE(call.IsEmpty());
    EXPECT_EQ(call(true), 1);
    EXPECT_EQ(call(false), 2);
    EXPECT_EQ(panel.seen, (std::vector<bool>{true, false}));
}

TEST(BoundCall, EmptyCallsAnswerMinusOne)
{
    Panel panel;
    const Tandry::BoundCall calls[] = {
        Tandry::BoundCall(),
        Tandry::BoundCall(static_cast<Panel*>(nullptr), static_cast<int (Panel::*)(bool)>(nullptr)),
        Tandry::BoundCall(static_cast<Panel*>(nullptr), &Panel::OnModeChanged),
        Tandry::BoundCall(&panel, static_cast<int (Panel::*)(bool)>(nullptr)),
    };
    for (const Tandry::BoundCall& call : calls) {
        EXPECT_TRUE(call.IsEmpty());
        EXPECT_EQ(call(true), -1);
    }
    EXPECT_TRUE(panel.seen.empty());
}

} // namespace
