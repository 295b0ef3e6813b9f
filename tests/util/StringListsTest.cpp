#include "util/StringUtils.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

TEST(SplitCommaList, OneItemMoreThanCommasEachTrimmedOfSpaces)
{
    const struct {
        std::string text;
        Strings items;
    } cases[] = {
        {"", {""}},
        {"a", {"a"}},
        {",", {"", ""}},
        {"a,", {"a", ""}},
        {" a , b ", {"a", "b"}},
        {" a ,b,", {"a", "b", ""}},
        {",,x,,", {"", "", "x", "", ""}},
        {"\ta\t, \"q,r\"", {"\ta\t", "\"q", "r\""}},   // tabs stay, no quoting
    };
    for (const auto& c : cases) {
        Strings out = {"stale"};
        Tandry::SplitCommaList(out, c.text);
        EXPECT_EQ(out, c.items) << '"' << c.text << '"';
    }
}

TEST(JoinCommaList, CommasBetweenItemsOnly)
{
    EXPECT_EQ(Tandry::JoinCommaList({}), "");
    EXPECT_EQ(Tandry::JoinCommaList({""}), "");
    EXPECT_EQ(Tandry::JoinCommaList({"a"}), "a");
    EXPECT_EQ(Tandry::JoinCommaList({"a", "", "b c"}), "a,,b c");

    const Strings items = {"x", "", "y z"};
    Strings back;
    Tandry::SplitCommaList(back, Tandry::JoinCommaList(items));
    EXPECT_EQ(back, items);
}

TEST(ParseIntList, AppendsOneNumberPerNonEmptyPiece)
{
    const struct {
        std::string text;
        std::vector<int> appended;
    } cases[] = {
        {" 1, 2,,x ,3", {1, 2, 0, 3}},
        {"\t-4\t, +5 ", {-4, 5}},
        {"", {}},
        {" \t", {}},
        {" , ,\t,", {}},
        {"12abc, 3 4", {12, 3}},
        {"\n7", {7}},                       // atoi skips leading whitespace
        {"- 3,--3,+", {0, 0, 0}},
        {"2147483647,-2147483648", {INT_MAX, INT_MIN}},
        {"99999999999,-99999999999", {INT_MAX, INT_MIN}},   // clamped, never overflowing
    };
    for (const auto& c : cases) {
        std::vector<int> out = {99};
        Tandry::ParseIntList(out, c.text);
        std::vector<int> expected = {99};
        expected.insert(expected.end(), c.appended.begin(), c.appended.end());
        EXPECT_EQ(out, expected) << '"' << c.text << '"';
    }
}

} // namespace
