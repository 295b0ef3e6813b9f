#include "platform/fs/FileOps.h"

#include "platform/fs/FindData.h"
#include "platform/fs/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace {

using TestSupport::NamesIn;
using TestSupport::ReadFile;
using TestSupport::ScratchFolder;
using TestSupport::WriteFile;

std::string ReadAll(FILE* file)
{
    std::string text;
    char buffer[64];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    return text;
}

TEST(FileOps, ReadingFindsTheFileWhateverTheCase)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("Data/Sounds/Click.wav", "riff\r\n");
    for (const char* mode : {"r", "rb", "rt", "RB"}) {
        FILE* file = Platform::OpenFile("data\\sounds\\CLICK.WAV", mode);
        ASSERT_NE(file, nullptr) << mode;
        EXPECT_EQ(ReadAll(file), "riff\r\n") << "always binary, mode " << mode;
        std::fclose(file);
    }
    EXPECT_EQ(Platform::OpenFile("data/sounds/missing.wav", "rb"), nullptr);
    EXPECT_EQ(Platform::OpenFile("data/sounds/Click.wav", "x"), nullptr);
    EXPECT_EQ(errno, EINVAL);
}

TEST(FileOps, AFolderIsNeverOpenedAsAFile)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    std::filesystem::create_directory("Data");
    EXPECT_EQ(Platform::OpenFile("data", "rb"), nullptr);
    EXPECT_EQ(Platform::OpenFile("Data", "rb"), nullptr);
    EXPECT_EQ(Platform::OpenFile("Data", "wb"), nullptr);
}

TEST(FileOps, WritingReplacesTheExistingFileOfAnyCase)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("Res/Lang.ini", "old text");
    FILE* file = Platform::OpenFile("res\\lang.ini", "w");
    ASSERT_NE(file, nullptr);
    std::fputs("new", file);
    std::fclose(file);
    EXPECT_EQ(NamesIn("Res"), (std::vector<std::string>{"Lang.ini"}));
    EXPECT_EQ(ReadFile("Res/Lang.ini"), "new");

    // A missing file is created with the caller's spelling, in the folder that exists.
    file = Platform::OpenFile("RES/New.Ini", "wb");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_EQ(NamesIn("Res"), (std::vector<std::string>{"Lang.ini", "New.Ini"}));

    // Appending and updating reach the same file.
    file = Platform::OpenFile("RES/LANG.INI", "a");
    ASSERT_NE(file, nullptr);
    std::fputs("+", file);
    std::fclose(file);
    file = Platform::OpenFile("res/lang.INI", "r+");
    ASSERT_NE(file, nullptr);
    std::fputs("N", file);
    std::fclose(file);
    EXPECT_EQ(ReadFile("Res/Lang.ini"), "New+");
}

TEST(FileOps, FolderOperationsGoThroughTheResolver)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    EXPECT_TRUE(Platform::MakeFolder("Saves"));
    EXPECT_FALSE(Platform::MakeFolder("SAVES")) << "exists in another case";
    EXPECT_TRUE(Platform::MakeFolder("saves\\Slot1"));
    EXPECT_EQ(NamesIn("Saves"), (std::vector<std::string>{"Slot1"}));

    WriteFile("Saves/Slot1/a.prf", "new");
    WriteFile("Saves/Slot1/B.prf", "old");
    EXPECT_TRUE(Platform::RenameOver("saves/slot1/A.PRF", "SAVES/SLOT1/b.PRF"));
    EXPECT_EQ(NamesIn("Saves/Slot1"), (std::vector<std::string>{"B.prf"}));
    EXPECT_EQ(ReadFile("Saves/Slot1/B.prf"), "new");

    EXPECT_FALSE(Platform::RemoveFolder("saves/slot1")) << "not empty";
    EXPECT_TRUE(Platform::RemoveFile("saves/slot1/b.prf"));
    EXPECT_FALSE(Platform::RemoveFile("saves/slot1/b.prf"));
    EXPECT_TRUE(Platform::RemoveFolder("saves/SLOT1"));
    EXPECT_EQ(NamesIn("Saves"), std::vector<std::string>{});
}

TEST(FileOps, CurrentFolderAndAttributes)
{
    ScratchFolder scratch;
    WriteFile(scratch / "Profiles/p.prf", "x");
    const std::string previous = Platform::GetCurrentFolder();
    ASSERT_TRUE(Platform::SetCurrentFolder(scratch / "PROFILES"));
    EXPECT_EQ(Platform::GetCurrentFolder(), scratch / "Profiles");
    EXPECT_EQ(Platform::GetFileAttributes("P.PRF"), 0u);
    EXPECT_EQ(Platform::GetFileAttributes(".."), Platform::kFileAttributeDirectory);
    EXPECT_EQ(Platform::GetFileAttributes("missing"), Platform::kInvalidFileAttributes);
    EXPECT_FALSE(Platform::SetCurrentFolder("missing"));
    ASSERT_TRUE(Platform::SetCurrentFolder(previous));
}

TEST(FileOps, CurrentFolderHasNoLengthLimit)
{
    ScratchFolder scratch;
    std::filesystem::path deep = scratch.Path();
    for (int i = 0; i < 20; ++i)
        deep /= std::string(30, static_cast<char>('a' + i));
    std::filesystem::create_directories(deep);
    const std::string previous = Platform::GetCurrentFolder();
    ASSERT_TRUE(Platform::SetCurrentFolder(deep.string()));
    EXPECT_EQ(Platform::GetCurrentFolder(), deep.string());
    ASSERT_TRUE(Platform::SetCurrentFolder(previous));
}

} // namespace
