#include "platform/fs/FileFinder.h"

#include "platform/fs/ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <vector>

namespace {

using Platform::FileFinder;
using Platform::FindData;
using TestSupport::ScratchFolder;
using TestSupport::WriteFile;

std::vector<FindData> ListAll(const std::string& pattern)
{
    std::vector<FindData> found;
    FindData data;
    auto finder = FileFinder::First(pattern, data);
    if (finder == nullptr)
        return found;
    do
        found.push_back(data);
    while (finder->Next(data));
    return found;
}

std::vector<std::string> Names(const std::vector<FindData>& entries)
{
    std::vector<std::string> names;
    for (const FindData& e : entries)
        names.push_back(e.name);
    return names;
}

TEST(FileFinder, ListsMatchesSortedByUpperCasedNameWithDotEntries)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("Pics/b.png", "12345");
    WriteFile("Pics/A.PNG", "1");
    WriteFile("Pics/readme", "no dot");
    WriteFile("Pics/_x.txt", "");
    WriteFile("Pics/Sub/deep.png", "");

    // '_' (0x5F) sorts after the upper-case letters but before the lower-case ones.
    EXPECT_EQ(Names(ListAll("pics\\*.*")),
        (std::vector<std::string>{".", "..", "A.PNG", "b.png", "readme", "Sub", "_x.txt"}));
    EXPECT_EQ(Names(ListAll("PICS/*.PNG")), (std::vector<std::string>{"A.PNG", "b.png"}));
    EXPECT_EQ(Names(ListAll("pics/README")), (std::vector<std::string>{"readme"}));
}

TEST(FileFinder, EntriesCarryAttributesSizeAndFileTimes)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("f/data.bin", "12345");
    std::filesystem::create_directory("f/Sub");
    // 2001-09-09 01:46:40 UTC, one billion seconds after the Unix epoch.
    const auto when = std::chrono::file_clock::from_sys(
        std::chrono::sys_seconds(std::chrono::seconds(1000000000)));
    std::filesystem::last_write_time("f/data.bin", when);

    const std::vector<FindData> entries = ListAll("f/*.*");
    ASSERT_EQ(entries.size(), 4u);
    const FindData& file = entries[2];
    const FindData& folder = entries[3];
    EXPECT_EQ(file.name, "data.bin");
    EXPECT_EQ(file.attributes, 0u);
    EXPECT_EQ(file.size, 5u);
    EXPECT_EQ(file.lastWriteTime, 126444736000000000ull);
    EXPECT_EQ(file.creationTime, file.lastWriteTime);
    EXPECT_EQ(folder.name, "Sub");
    EXPECT_EQ(folder.attributes, Platform::kFileAttributeDirectory);
    EXPECT_EQ(folder.size, 0u);
}

TEST(FileFinder, LinksAreMarked)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("target/in.txt", "x");
    std::filesystem::create_directory("f");
    std::filesystem::create_directory_symlink("../target", "f/dirlink");
    std::filesystem::create_symlink("../target/in.txt", "f/filelink");
    std::filesystem::create_symlink("../nowhere", "f/dangling");

    const std::vector<FindData> entries = ListAll("f/*");
    ASSERT_EQ(Names(entries), (std::vector<std::string>{".", "..", "dangling", "dirlink", "filelink"}));
    EXPECT_EQ(entries[2].attributes, Platform::kFileAttributeReparsePoint);
    EXPECT_EQ(entries[3].attributes, Platform::kFileAttributeReparsePoint | Platform::kFileAttributeDirectory);
    EXPECT_EQ(entries[4].attributes, Platform::kFileAttributeReparsePoint);
    EXPECT_EQ(entries[4].size, 1u);
}

TEST(FileFinder, NothingToListGivesNoFinder)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("f/a.txt", "");
    FindData data;
    EXPECT_EQ(FileFinder::First("missing/*.*", data), nullptr);
    EXPECT_EQ(FileFinder::First("f/*.png", data), nullptr);
    EXPECT_EQ(FileFinder::First("f/", data), nullptr);
    EXPECT_EQ(FileFinder::First("f/a.txt/*", data), nullptr);
}

TEST(FileFinder, AnEntryRemovedAfterTheListingIsPassedOver)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("f/a.txt", "");
    WriteFile("f/b.txt", "");
    WriteFile("f/c.txt", "");
    FindData data;
    auto finder = FileFinder::First("f/*.txt", data);
    ASSERT_NE(finder, nullptr);
    EXPECT_EQ(data.name, "a.txt");
    std::filesystem::remove("f/b.txt");
    ASSERT_TRUE(finder->Next(data));
    EXPECT_EQ(data.name, "c.txt");
    EXPECT_FALSE(finder->Next(data));
    EXPECT_FALSE(finder->Next(data));
}

} // namespace
