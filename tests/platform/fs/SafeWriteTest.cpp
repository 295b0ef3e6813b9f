#include "platform/fs/SafeWrite.h"

#include "platform/fs/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Platform::SafeWrite;
using TestSupport::NamesIn;
using TestSupport::ReadFile;
using TestSupport::ScratchFolder;
using TestSupport::WriteFile;

class SafeWriteTest : public ::testing::Test {
protected:
    ~SafeWriteTest() override { SafeWrite::SetFaultForTests(SafeWrite::Fault::None); }
    ScratchFolder mScratch{ScratchFolder::Enter};
};

TEST_F(SafeWriteTest, BytesReplaceTheFileOfAnyCaseAndKeepItsPermissions)
{
    WriteFile("Res/Settings.ini", "old contents");
    std::filesystem::permissions("Res/Settings.ini", std::filesystem::perms(0640));
    ASSERT_TRUE(SafeWrite::WriteBytes("res\\settings.INI", "new", 3));
    EXPECT_EQ(NamesIn("Res"), (std::vector<std::string>{"Settings.ini"}));
    EXPECT_EQ(ReadFile("Res/Settings.ini"), "new");
    EXPECT_EQ(std::filesystem::status("Res/Settings.ini").permissions(), std::filesystem::perms(0640));

    ASSERT_TRUE(SafeWrite::WriteBytes("res/Fresh.ini", "", 0));
    EXPECT_EQ(NamesIn("Res"), (std::vector<std::string>{"Fresh.ini", "Settings.ini"}));
    EXPECT_EQ(ReadFile("Res/Fresh.ini"), "");
}

TEST_F(SafeWriteTest, StreamIsCommittedOrAbandoned)
{
    WriteFile("shot.png", "old");
    {
        SafeWrite write("SHOT.PNG");
        ASSERT_TRUE(write.IsOpen());
        std::fputs("partial", write.File());
        // Nothing committed yet: the old file is what readers see.
        EXPECT_EQ(ReadFile("shot.png"), "old");
        write.Abandon();
    }
    EXPECT_EQ(NamesIn("."), (std::vector<std::string>{"shot.png"}));
    EXPECT_EQ(ReadFile("shot.png"), "old");
    {
        SafeWrite write("shot.png");
        std::fputs("dropped by the destructor", write.File());
    }
    EXPECT_EQ(NamesIn("."), (std::vector<std::string>{"shot.png"}));
    EXPECT_EQ(ReadFile("shot.png"), "old");
    {
        SafeWrite write("shot.png");
        std::fputs("complete", write.File());
        EXPECT_TRUE(write.Commit());
        EXPECT_FALSE(write.Commit()) << "only once";
    }
    EXPECT_EQ(NamesIn("."), (std::vector<std::string>{"shot.png"}));
    EXPECT_EQ(ReadFile("shot.png"), "complete");
}

TEST_F(SafeWriteTest, FailedWriteOrRenameLeavesTheOldFileAndNoTemporary)
{
    const std::string old("old\0bytes\xff", 10);
    for (SafeWrite::Fault fault : {SafeWrite::Fault::Write, SafeWrite::Fault::Rename}) {
        SCOPED_TRACE(fault == SafeWrite::Fault::Write ? "write fails" : "rename fails");
        WriteFile("demo.dmo", old);
        SafeWrite::SetFaultForTests(fault);

        EXPECT_FALSE(SafeWrite::WriteBytes("demo.dmo", "new contents", 12));
        EXPECT_EQ(ReadFile("demo.dmo"), old);
        EXPECT_EQ(NamesIn("."), (std::vector<std::string>{"demo.dmo"}));

        SafeWrite write("demo.dmo");
        ASSERT_TRUE(write.IsOpen());
        std::fputs("new contents", write.File());
        EXPECT_FALSE(write.Commit());
        EXPECT_EQ(ReadFile("demo.dmo"), old);
        EXPECT_EQ(NamesIn("."), (std::vector<std::string>{"demo.dmo"}));

        // A new file is not created either.
        EXPECT_FALSE(SafeWrite::WriteBytes("other.dmo", "x", 1));
        EXPECT_EQ(NamesIn("."), (std::vector<std::string>{"demo.dmo"}));
        SafeWrite::SetFaultForTests(SafeWrite::Fault::None);
    }
}

TEST_F(SafeWriteTest, TargetThatCannotBeWrittenAnswersFalse)
{
    std::filesystem::create_directory("Folder");
    EXPECT_FALSE(SafeWrite::WriteBytes("missing/file.ini", "x", 1));
    EXPECT_FALSE(SafeWrite::WriteBytes("folder", "x", 1)) << "a folder is not replaced";
    EXPECT_TRUE(std::filesystem::is_directory("Folder"));
    EXPECT_EQ(NamesIn("."), (std::vector<std::string>{"Folder"}));
    EXPECT_EQ(NamesIn("Folder"), std::vector<std::string>{});
    EXPECT_FALSE(SafeWrite::WriteBytes("", "x", 1));
}

TEST_F(SafeWriteTest, LongNamesAndLinksAreWritten)
{
    const std::string longest(255, 'n');
    ASSERT_TRUE(SafeWrite::WriteBytes(longest, "long", 4));
    EXPECT_EQ(ReadFile(longest), "long");

    // The link stays; the file it leads to gets the new bytes.
    WriteFile("Real/settings.ini", "old");
    std::filesystem::create_symlink("Real/settings.ini", "link.ini");
    ASSERT_TRUE(SafeWrite::WriteBytes("LINK.INI", "new", 3));
    EXPECT_TRUE(std::filesystem::is_symlink("link.ini"));
    EXPECT_EQ(ReadFile("Real/settings.ini"), "new");
    EXPECT_EQ(NamesIn("Real"), (std::vector<std::string>{"settings.ini"}));
}

} // namespace
