#include "util/StringUtils.h"

#include <gtest/gtest.h>

namespace {

TEST(StringCase, OnlyAsciiLettersChange)
{
    const std::string text = "AbZ az@[`{\xC9\xE9\xFF";
    EXPECT_EQ(Tandry::LowerCaseCopy(text), "abz az@[`{\xC9\xE9\xFF");
    EXPECT_EQ(Tandry::UpperCaseCopy(text), "ABZ AZ@[`{\xC9\xE9\xFF");
    EXPECT_EQ(Tandry::LowerCaseCopyLocale(text), Tandry::LowerCaseCopy(text));
}

} // namespace
