// The shell's hexadecimal reader: digits of either case add their value,
// any other character only shifts, and nothing ever fails.
#include "game/shell/ParseHex.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(ParseHex, EveryCharacterShiftsAndOnlyDigitsAdd)
{
    const std::pair<const char*, int> cases[] = {
        {"", 0},          {"ff", 255},       {"1A", 26},          {"1g", 16},
        {"zz", 0},        {"FFFFFFFF", -1},  {"123456789", 0x23456789}, {"0x1f", 0x1f},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(Tandry::ParseHex(text), value) << text;
}

} // namespace
