#include "graphics/display/CardList.h"

#include "platform/fs/FileOps.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using Tandry::CardListContains;

TEST(CardList, ALineNamesTheCardWhenItOccursInTheDescription)
{
    const struct {
        const char* name;
        std::string contents;
        const char* description;
        bool listed;
    } cases[] = {
        {"trimmed, CRLF, any case", "  radeon 9 \r\n", "RADEON 9600", true},
        {"not in the description", "GeForce\nMatrox\n", "RADEON 9600", false},
        {"later line, no final line end", "GeForce\nRadeon", "ATI Radeon 7000", true},
        {"blank and white lines name nothing", "\n   \n\t\r\n\r\n", "RADEON 9600", false},
        {"empty list", "", "RADEON 9600", false},
        {"a line longer than the description", "RADEON 9600 PRO", "RADEON 9600", false},
        // A line's text ends at a zero byte: the rest of it is not looked at,
        // and a line that starts with one names nothing.
        {"text after a zero byte", std::string("radeon\0zzz\n", 11), "RADEON 9600", true},
        {"a zero byte first", std::string("\0radeon\n", 8), "RADEON 9600", false},
        {"CR alone is no line end", "geforce\rradeon\n", "RADEON 9600", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CardListContains(c.contents, c.description), c.listed) << c.name;
}

TEST(CardList, LongLinesAreTakenInPiecesOf3999)
{
    // A piece that fits in the description lies at 3999 within a very long line.
    std::string line(3999, 'x');
    line += "Radeon";
    EXPECT_TRUE(CardListContains(std::string(5000, 'y') + "\n" + line + "\n", "ATI RADEON 9600"));
    // One byte earlier, the name is split between two pieces and found in neither.
    std::string split(3996, 'x');
    split += "Radeonzz";
    EXPECT_FALSE(CardListContains(split, "ATI RADEON 9600"));
    // Pieces are trimmed one by one.
    EXPECT_TRUE(CardListContains(std::string(3999, ' ') + "  radeon  ", "RADEON"));
}

class CardListFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        Platform::InstallHeadlessPlatform();
        mOldFolder = Platform::GetCurrentFolder();
        mFolder = Platform::GetPlatform().GetFolders().GetAppDataFolder().value();
        Platform::SetCurrentFolder(mFolder);
    }
    void TearDown() override
    {
        Platform::SetCurrentFolder(mOldFolder);
        Platform::ResetPlatform();
    }
    void Write(const std::string& name, const std::string& contents)
    {
        FILE* file = Platform::OpenFile(name, "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(contents.data(), 1, contents.size(), file);
        std::fclose(file);
    }

    std::string mOldFolder;
    std::string mFolder;
};

TEST_F(CardListFile, AMissingListGivesNoAnswer)
{
    EXPECT_EQ(Tandry::FileListContains("vhw.dat", "RADEON 9600"), std::nullopt);
    Write("VHW.DAT", "radeon\n");
    // Found whatever the letter case on disk.
    EXPECT_EQ(Tandry::FileListContains("vhw.dat", "RADEON 9600"), true);
    EXPECT_EQ(Tandry::FileListContains("vhw.dat", "GeForce"), false);
}

} // namespace
