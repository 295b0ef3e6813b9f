#include <gtest/gtest.h>

#include <string>

#include "platform/flash/MovieFile.h"

namespace {

using namespace Platform;

bool Parse(const std::string& text, MovieFile& out, std::string& error)
{
    return ParseMovieFile(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), out, error);
}

TEST(MovieFile, ReadsTimedLinesSkippingBlanksAndComments)
{
    const std::string text = "MOORGLEN MOVIE 1\r\n"
                             "\n"
                             "  # a comment\n"
                             "0 next 1\r\n"
                             "\t\t\n"
                             "  250\tsound   door  creak \t\r\n"
                             "0 end\n"
                             "7 wait  myPlay   1 2 \n"
                             "12 x\r";
    MovieFile movie;
    std::string error;
    ASSERT_TRUE(Parse(text, movie, error)) << error;
    ASSERT_EQ(movie.lines.size(), 5u);
    EXPECT_EQ(movie.lines[0].delay, 0u);
    EXPECT_EQ(movie.lines[0].command, "next");
    EXPECT_EQ(movie.lines[0].argument, "1");
    EXPECT_EQ(movie.lines[1].delay, 250u);
    EXPECT_EQ(movie.lines[1].command, "sound");
    EXPECT_EQ(movie.lines[1].argument, "door  creak");
    EXPECT_EQ(movie.lines[2].command, "end");
    EXPECT_EQ(movie.lines[2].argument, "");
    EXPECT_TRUE(movie.lines[3].IsWait());
    EXPECT_EQ(movie.lines[3].variable, "myPlay");
    EXPECT_EQ(movie.lines[3].value, "1 2");
    // A CR that ends the file without an LF is still dropped.
    EXPECT_EQ(movie.lines[4].command, "x");
    EXPECT_EQ(movie.lines[4].argument, "");
}

TEST(MovieFile, KeepsHighBytesAndInnerBlanksOfArguments)
{
    const std::string text = std::string("MOORGLEN MOVIE 1\n5 say \x80\xff  \xe9t\xe9\n");
    MovieFile movie;
    std::string error;
    ASSERT_TRUE(Parse(text, movie, error)) << error;
    ASSERT_EQ(movie.lines.size(), 1u);
    EXPECT_EQ(movie.lines[0].argument, std::string("\x80\xff  \xe9t\xe9"));
}

TEST(MovieFile, MagicOnlyIsAnEmptyMovie)
{
    MovieFile movie;
    std::string error;
    EXPECT_TRUE(Parse("MOORGLEN MOVIE 1", movie, error));
    EXPECT_TRUE(movie.lines.empty());
}

std::string ManyLines(size_t count)
{
    std::string text = "MOORGLEN MOVIE 1\n";
    for (size_t i = 0; i < count; ++i)
        text += "1 c\n";
    return text;
}

TEST(MovieFile, RefusesMalformedFiles)
{
    const struct {
        const char* name;
        std::string text;
        const char* where;
    } cases[] = {
        {"empty", "", "line 1"},
        {"other magic", "MOORGLEN MOVIE 2\n0 next 1\n", "line 1"},
        {"magic with a blank", " MOORGLEN MOVIE 1\n", "line 1"},
        {"magic lower case", "moorglen movie 1\n", "line 1"},
        {"delay without digits", "MOORGLEN MOVIE 1\nsoon next 1\n", "line 2"},
        {"delay with a sign", "MOORGLEN MOVIE 1\n-1 next 1\n", "line 2"},
        {"delay with letters", "MOORGLEN MOVIE 1\n12ms next\n", "line 2"},
        {"delay too long", "MOORGLEN MOVIE 1\n0 a\n3600001 next 1\n", "line 3"},
        {"delay overflowing", "MOORGLEN MOVIE 1\n99999999999999999999999 next\n", "line 2"},
        {"no command", "MOORGLEN MOVIE 1\n100\n", "line 2"},
        {"no command after blanks", "MOORGLEN MOVIE 1\n100 \t \n", "line 2"},
        {"wait with one name", "MOORGLEN MOVIE 1\n0 wait myPlay\n", "line 2"},
        {"wait with nothing", "MOORGLEN MOVIE 1\n0 wait\n", "line 2"},
        {"10001 lines", ManyLines(10'001), "line 10002"},
    };
    for (const auto& c : cases) {
        MovieFile movie;
        movie.lines.resize(3);
        std::string error;
        EXPECT_FALSE(Parse(c.text, movie, error)) << c.name;
        EXPECT_EQ(error.rfind(std::string(c.where) + ":", 0), 0u) << c.name << ": " << error;
        EXPECT_EQ(movie.lines.size(), 3u) << c.name << ": a refused file leaves the output alone";
    }
}

TEST(MovieFile, AcceptsTheLimits)
{
    MovieFile movie;
    std::string error;
    EXPECT_TRUE(Parse(ManyLines(10'000) + "# a comment past the limit\n\n", movie, error)) << error;
    EXPECT_EQ(movie.lines.size(), 10'000u);
    EXPECT_TRUE(Parse("MOORGLEN MOVIE 1\n3600000 next 1\n0000 wait a b\n", movie, error)) << error;
    EXPECT_EQ(movie.lines[0].delay, 3'600'000u);
}

} // namespace
