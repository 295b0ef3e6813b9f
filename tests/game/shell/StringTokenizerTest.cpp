#include "game/shell/StringTokenizer.h"

#include <gtest/gtest.h>

#include <climits>
#include <locale>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Tandry::StringTokenizer;

std::vector<std::string> Tokens(const std::string& text)
{
    StringTokenizer tokenizer(text, ',');
    std::vector<std::string> out;
    std::string token;
    while (tokenizer.Next(token))
        out.push_back(token);
    return out;
}

TEST(StringTokenizer, SplitsTrimsAndKeepsEmptyTokens)
{
    const struct {
        std::string text;
        std::vector<std::string> tokens;
    } cases[] = {
        {"", {""}},
        {" \t ", {""}},
        {"a", {"a"}},
        {" a , b\t,c ", {"a", "b", "c"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a", ""}},
        {",", {"", ""}},
        {"book_new,3,1,a,1", {"book_new", "3", "1", "a", "1"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tokens(c.text), c.tokens) << '"' << c.text << '"';
}

TEST(StringTokenizer, NumbersLeaveTheValueAloneWhenTheTokenHoldsNone)
{
    StringTokenizer tokenizer("12, -7x, x, , 2147483648, -99999999999, 0.5, 1e3, abc", ',');
    int i = 42;
    EXPECT_TRUE(tokenizer.NextInt(i));
    EXPECT_EQ(i, 12);
    EXPECT_TRUE(tokenizer.NextInt(i));  // reading stops at the 'x'
    EXPECT_EQ(i, -7);
    EXPECT_FALSE(tokenizer.NextInt(i));
    EXPECT_EQ(i, -7);
    EXPECT_FALSE(tokenizer.NextInt(i));  // the empty token is used up too
    EXPECT_EQ(i, -7);
    EXPECT_TRUE(tokenizer.NextInt(i));
    EXPECT_EQ(i, INT_MAX);
    EXPECT_TRUE(tokenizer.NextInt(i));
    EXPECT_EQ(i, INT_MIN);
    float f = 9.0f;
    EXPECT_TRUE(tokenizer.NextFloat(f));
    EXPECT_EQ(f, 0.5f);
    EXPECT_TRUE(tokenizer.NextFloat(f));
    EXPECT_EQ(f, 1000.0f);
    EXPECT_FALSE(tokenizer.NextFloat(f));
    EXPECT_EQ(f, 1000.0f);
    EXPECT_FALSE(tokenizer.NextFloat(f));  // exhausted
    EXPECT_FALSE(tokenizer.NextInt(i));
}

TEST(StringTokenizer, NumbersIgnoreTheProcessLocale)
{
    std::locale comma;
    try {
        comma = std::locale("de_DE.UTF-8");
    } catch (const std::runtime_error&) {
        GTEST_SKIP() << "no locale with a decimal comma";
    }
    const std::locale old = std::locale::global(comma);
    float f = 0.0f;
    const bool read = Tandry::ParseClassicFloat("1.25", f);
    std::locale::global(old);
    EXPECT_TRUE(read);
    EXPECT_EQ(f, 1.25f);
}

} // namespace
