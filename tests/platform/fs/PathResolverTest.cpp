#include "platform/fs/PathResolver.h"

#include "platform/fs/FolderCache.h"
#include "platform/fs/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using TestSupport::ScratchFolder;
using TestSupport::WriteFile;
using Platform::PathResolver;

TEST(PathResolver, NormalizeUnifiesSeparatorsAndResolvesDotsByText)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""},
        {"a", "a"},
        {"data\\sounds\\click.wav", "data/sounds/click.wav"},
        {"data//sounds\\/\\click.wav", "data/sounds/click.wav"},
        {"a\\x\\..\\b", "a/b"},
        {"./a/./b/", "a/b"},
        {"a/..", "."},
        {"../a", "../a"},
        {"../../a/../b", "../../b"},
        {"\\abs\\x", "/abs/x"},
        {"/..", "/"},
        {"/../a", "/a"},
        {"//", "/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PathResolver::Normalize(c.in), c.out) << c.in;
}

TEST(PathResolver, LooseFileIsFoundWhateverTheCaseOfEachComponent)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("Data/Sounds/Click.wav", "riff");
    EXPECT_EQ(PathResolver::Resolve("data\\sounds\\CLICK.WAV"), "Data/Sounds/Click.wav");
    EXPECT_EQ(PathResolver::Resolve("Data/Sounds/Click.wav"), "Data/Sounds/Click.wav");
    EXPECT_EQ(PathResolver::Resolve(scratch / "DATA/sounds/click.wav"), scratch / "Data/Sounds/Click.wav");
    // ".." is text: the missing "nope" never has to exist.
    EXPECT_EQ(PathResolver::Resolve("DATA\\nope\\..\\SOUNDS\\click.wav"), "Data/Sounds/Click.wav");
}

TEST(PathResolver, ExactSpellingWinsThenFirstInSortedOrder)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("a.txt", "lower");
    WriteFile("A.TXT", "upper");
    WriteFile("A.txt", "mixed");
    EXPECT_EQ(PathResolver::Resolve("a.txt"), "a.txt");
    EXPECT_EQ(PathResolver::Resolve("A.txt"), "A.txt");
    // No exact match: the first of the three in upper-case order, ties by bytes.
    EXPECT_EQ(PathResolver::Resolve("a.TXT"), "A.TXT");
}

TEST(PathResolver, MissingComponentsKeepTheCallersSpelling)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("Res/Lang.ini", "x");
    EXPECT_EQ(PathResolver::Resolve("res\\New.ini"), "Res/New.ini");
    EXPECT_EQ(PathResolver::Resolve("res/Missing/Deeper/f.txt"), "Res/Missing/Deeper/f.txt");
    EXPECT_EQ(PathResolver::Resolve("nothing/here"), "nothing/here");
    // A file in the middle of a path ends the lookup.
    EXPECT_EQ(PathResolver::Resolve("RES/LANG.INI/x"), "Res/Lang.ini/x");
}

TEST(PathResolver, RelativePathsFollowTheCurrentFolderOfEachCall)
{
    ScratchFolder scratch;
    WriteFile(scratch / "one/Target.txt", "1");
    WriteFile(scratch / "two/target.TXT", "2");
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(scratch / "one");
    EXPECT_EQ(PathResolver::Resolve("TARGET.txt"), "Target.txt");
    std::filesystem::current_path(scratch / "two");
    EXPECT_EQ(PathResolver::Resolve("TARGET.txt"), "target.TXT");
    std::filesystem::current_path(previous);
}

TEST(PathResolver, ChangesMadeByAnyMeansAreSeenByTheNextLookup)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    std::filesystem::create_directory("Folder");
    // Each change follows a lookup in the same instant, so a listing cached by
    // the lookup must not hide it.
    EXPECT_EQ(PathResolver::Resolve("folder/NEW.TXT"), "Folder/NEW.TXT");
    WriteFile("Folder/New.txt", "made with ofstream");
    EXPECT_EQ(PathResolver::Resolve("folder/NEW.TXT"), "Folder/New.txt");

    std::filesystem::rename("Folder/New.txt", "Folder/Renamed.txt");
    EXPECT_EQ(PathResolver::Resolve("folder/NEW.TXT"), "Folder/NEW.TXT");
    EXPECT_EQ(PathResolver::Resolve("folder/renamed.txt"), "Folder/Renamed.txt");

    std::filesystem::remove("Folder/Renamed.txt");
    WriteFile("Folder/RENAMED.txt", "again");
    EXPECT_EQ(PathResolver::Resolve("folder/renamed.txt"), "Folder/RENAMED.txt");

    // The folder itself replaced by another of another spelling.
    std::filesystem::remove_all("Folder");
    WriteFile("FOLDER/renamed.txt", "new folder");
    EXPECT_EQ(PathResolver::Resolve("folder/renamed.txt"), "FOLDER/renamed.txt");
}

TEST(PathResolver, OldUnchangedListingIsReusedAndStillRight)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("Old/File.txt", "x");
    // Back-date the folder so that its listing is trusted once read.
    const auto past = std::filesystem::last_write_time("Old") - std::chrono::hours(1);
    std::filesystem::last_write_time("Old", past);
    EXPECT_EQ(PathResolver::Resolve("old/FILE.TXT"), "Old/File.txt");
    EXPECT_EQ(PathResolver::Resolve("old/file.TXT"), "Old/File.txt");
    WriteFile("Old/Second.txt", "y");
    EXPECT_EQ(PathResolver::Resolve("old/SECOND.txt"), "Old/Second.txt");
}

TEST(PathResolver, IsNormalExactlyWhenNormalizeChangesNothing)
{
    for (const char* path : {"", "/", ".", "..", "a", "a/b", "/a/b", "../../a", "a/../b", "../a/..", "a//b", "a/",
             "/a/", "./a", "a/.", "a\\b", "/..", "//", "...", "a/.../b", ".hidden/x"}) {
        EXPECT_EQ(PathResolver::IsNormal(path), PathResolver::Normalize(path) == path) << path;
    }
}

TEST(PathResolver, FolderWrittenInAnotherCaseFollowsLaterChanges)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("Outer/Inner/f.txt", "1");
    EXPECT_EQ(PathResolver::Resolve("outer/INNER/F.TXT"), "Outer/Inner/f.txt");
    EXPECT_EQ(PathResolver::Resolve("outer/INNER/F.TXT"), "Outer/Inner/f.txt");

    // An exact spelling that appears later wins over what was learned.
    WriteFile("outer/INNER/F.TXT", "2");
    EXPECT_EQ(PathResolver::Resolve("outer/INNER/F.TXT"), "outer/INNER/F.TXT");
    EXPECT_EQ(PathResolver::Resolve("outer/inner/f.txt"), "outer/INNER/F.TXT");

    std::filesystem::remove_all("outer");
    std::filesystem::remove_all("Outer");
    WriteFile("OUTER/inner/f.txt", "3");
    EXPECT_EQ(PathResolver::Resolve("outer/INNER/F.TXT"), "OUTER/inner/f.txt");
}

} // namespace
