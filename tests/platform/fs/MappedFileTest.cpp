#include "platform/fs/MappedFile.h"

#include "platform/fs/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using TestSupport::ScratchFolder;
using TestSupport::WriteFile;

TEST(MappedFile, MapsTheWholeFileFoundWhateverTheCase)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("Packs/Main.pak", std::string("ab\0cd", 5));
    auto mapped = Platform::MappedFile::Open("packs\\MAIN.PAK");
    ASSERT_NE(mapped, nullptr);
    ASSERT_EQ(mapped->Size(), 5u);
    EXPECT_EQ(std::memcmp(mapped->Data(), "ab\0cd", 5), 0);

    // The mapping does not depend on the file staying where it was.
    std::filesystem::remove("Packs/Main.pak");
    EXPECT_EQ(mapped->Data()[4], 'd');
}

TEST(MappedFile, EmptyFileMapsToNoBytesAndMissingFileToNothing)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("empty.pak", "");
    auto empty = Platform::MappedFile::Open("empty.pak");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->Size(), 0u);
    EXPECT_EQ(Platform::MappedFile::Open("missing.pak"), nullptr);
    std::filesystem::create_directory("folder.pak");
    EXPECT_EQ(Platform::MappedFile::Open("folder.pak"), nullptr);
}

} // namespace
