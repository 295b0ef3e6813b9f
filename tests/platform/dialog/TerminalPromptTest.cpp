#include "platform/dialog/TerminalPrompt.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace Platform;

namespace {

TEST(TerminalPrompt, TextPromptShowsTheDefaultAndReadsOneLine)
{
    std::istringstream in("2:05\r\nignored\n");
    std::ostringstream out;
    EXPECT_EQ(PromptTextOnTerminal(in, out, "Jump To Time", "1:30"), "2:05");
    EXPECT_EQ(out.str(), "Jump To Time [1:30]: ");
}

TEST(TerminalPrompt, TextPromptKeepsTheDefaultOnEmptyLineAndCancelsAtEnd)
{
    std::ostringstream out;
    std::istringstream empty("\n");
    EXPECT_EQ(PromptTextOnTerminal(empty, out, "T", "caf\xE9"), "caf\xE9");
    std::istringstream none("");
    EXPECT_EQ(PromptTextOnTerminal(none, out, "T", "x"), std::nullopt);
}

TEST(TerminalPrompt, TextGoesOutAndComesInAsUtf8)
{
    std::istringstream in("\xE2\x82\xAC\xE2\x98\x83\n");
    std::ostringstream out;
    EXPECT_EQ(PromptTextOnTerminal(in, out, "caf\xE9", ""), "\x80?");
    EXPECT_EQ(out.str(), "caf\xC3\xA9 []: ");
}

TEST(TerminalPrompt, ChoicePromptListsNumberedLinesAndReadsANumber)
{
    struct Case {
        const char* input;
        std::optional<int> answer;
    };
    const Case cases[] = {{"2\n", 1}, {" 3 \n", 2}, {"1\n", 0}, {"0\n", std::nullopt}, {"4\n", std::nullopt},
                          {"x\n", std::nullopt}, {"2x\n", std::nullopt}, {"\n", std::nullopt}, {"", std::nullopt}};
    for (const Case& c : cases) {
        std::istringstream in(c.input);
        std::ostringstream out;
        EXPECT_EQ(PromptChoiceOnTerminal(in, out, "Marker List", {"start", "door", "end"}), c.answer) << c.input;
        EXPECT_EQ(out.str(), "Marker List\n  1. start\n  2. door\n  3. end\nNumber (empty to cancel): ");
    }
}

} // namespace
