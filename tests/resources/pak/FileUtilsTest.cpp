#include "resources/pak/FileUtils.h"

#include "platform/fs/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

namespace {

using TestSupport::NamesIn;
using TestSupport::ScratchFolder;
using TestSupport::WriteFile;
namespace fs = std::filesystem;

TEST(FileUtils, BaseFileName)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"music.ogg", "music"},
        {"data/sounds/click.wav", "click"},
        {"data\\sounds\\click.wav", "click"},
        {"dir/", ""},
        {"a.b/c", "c"},
        {"a/b.c\\d.e.f", "d.e"},
        {"plain", "plain"},
        {".hidden", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tandry::GetBaseFileName(c.in), c.out) << c.in;
}

TEST(FileUtils, HexToWideString)
{
    EXPECT_EQ(Tandry::HexToWideString("0041004200"), L"AB");
    EXPECT_EQ(Tandry::HexToWideString("zz41"), std::wstring(1, L'\x41'));
    EXPECT_EQ(Tandry::HexToWideString("fFfF04aB"), std::wstring({wchar_t(0xFFFF), wchar_t(0x04AB)}));
    EXPECT_EQ(Tandry::HexToWideString("004"), L"");
    const char digits[] = "0123456789abcdefABCDEFgG/:@`";
    const int values[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 10, 11, 12, 13, 14, 15, 0, 0, 0, 0, 0, 0};
    for (size_t i = 0; i < sizeof values / sizeof values[0]; ++i)
        EXPECT_EQ(Tandry::HexDigitValue(digits[i]), values[i]) << digits[i];
    EXPECT_EQ(Tandry::HexDigitValue('\xC1'), 0);
}

TEST(FileUtils, WideStringToHexWritesFourLowerCaseDigitsPerUnit)
{
    const struct {
        std::wstring text;
        std::string hex;
    } cases[] = {
        {L"", ""},
        {L"Ann", "0041006e006e"},
        {std::wstring({wchar_t(0), wchar_t(0xFFFF), wchar_t(0x00E9)}), "0000ffff00e9"},
        // One character beyond 16 bits is stored as its surrogate pair.
        {std::wstring(1, wchar_t(0x1F600)), "d83dde00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Tandry::WideStringToHex(c.text), c.hex) << c.hex;
    }
    // Every 16-bit unit survives the round trip, surrogates and NUL included.
    std::wstring all;
    for (uint32_t unit = 0; unit <= 0xFFFF; unit += 0x0101)
        all += static_cast<wchar_t>(unit);
    all += std::wstring({wchar_t(0xD83D), wchar_t(0xDE00)});
    EXPECT_EQ(Tandry::HexToWideString(Tandry::WideStringToHex(all)), all);
    EXPECT_EQ(Tandry::HexToWideString("0041006E006Ex"), L"Ann");
}

TEST(FileUtils, CreateDirectoriesMakesEveryLevelAndReusesOtherCases)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    Tandry::CreateDirectories("a/b/c");
    EXPECT_TRUE(fs::is_directory("a/b/c"));

    fs::create_directory("Saves");
    Tandry::CreateDirectories("saves\\Profiles\\");
    Tandry::CreateDirectories("SAVES/profiles/One");
    EXPECT_EQ(NamesIn("."), (std::vector<std::string>{"Saves", "a"}));
    EXPECT_EQ(NamesIn("Saves"), (std::vector<std::string>{"Profiles"}));
    EXPECT_EQ(NamesIn("Saves/Profiles"), (std::vector<std::string>{"One"}));
}

TEST(FileUtils, DeleteFolderTreeRemovesANestedTree)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("Tree/a.txt", "a");
    WriteFile("Tree/Sub/b.txt", "b");
    WriteFile("Tree/Sub/Deeper/c", "c");
    fs::create_directories("Tree/Empty/Emptier");
    EXPECT_TRUE(Tandry::DeleteFolderTree("tree"));
    EXPECT_EQ(NamesIn("."), std::vector<std::string>{});
}

TEST(FileUtils, DeleteFolderTreeRefusesWhatItCannotList)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("f", "a file, not a folder");
    fs::create_directory("x");
    EXPECT_FALSE(Tandry::DeleteFolderTree("x")) << "shorter than 2 characters";
    EXPECT_FALSE(Tandry::DeleteFolderTree(""));
    EXPECT_FALSE(Tandry::DeleteFolderTree("missing"));
    EXPECT_FALSE(Tandry::DeleteFolderTree("f/"));
    EXPECT_EQ(NamesIn("."), (std::vector<std::string>{"f", "x"}));
}

TEST(FileUtils, DeleteFolderTreeRemovesLinksAsLinks)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("Keep/precious.txt", "keep me");
    WriteFile("Tree/own.txt", "x");
    fs::create_directory_symlink("../Keep", "Tree/folder link");
    fs::create_symlink("../Keep/precious.txt", "Tree/file link");
    fs::create_directory_symlink("Keep", "TopLink");

    EXPECT_TRUE(Tandry::DeleteFolderTree("Tree"));
    EXPECT_TRUE(Tandry::DeleteFolderTree("toplink"));
    EXPECT_EQ(NamesIn("."), (std::vector<std::string>{"Keep"}));
    EXPECT_EQ(NamesIn("Keep"), (std::vector<std::string>{"precious.txt"}));
}

} // namespace
