#include "util/PathUtils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

TEST(JoinPath, ResolvesLeadingComponentsAgainstTheBase)
{
    const struct {
        const char* base;
        const char* relative;
        const char* joined;
    } cases[] = {
        {"D:\\game\\data", "..\\save\\a.ini", "D:\\game\\save\\a.ini"},
        {"D:\\a\\b\\", "..\\..\\c", "D:\\c"},
        {"data/gui", "./a/b", "data/gui/a/b"},
        {"a", "b", "a/b"},
        {"a/", "b", "a/b"},
        {"/usr/share", "../lib/x", "/usr/lib/x"},
        // An absolute relative path keeps only the base's drive.
        {"D:\\game", "\\x\\y", "D:\\x\\y"},
        {"/a/b", "/c", "/c"},
        // A drive in the relative path wins, separators untouched.
        {"x", "E:\\y", "E:\\y"},
        {"x\\y", "E:/y\\z", "E:/y\\z"},
        // The separator: a backslash in the relative path, else in the base, else '/'.
        {"a/b", "c\\d", "a\\b\\c\\d"},
        {"a\\b", "c/d", "a\\b\\c\\d"},
        {"a/b", "c/d", "a/b/c/d"},
        {"", "a\\b/c", "a\\b\\c"},
        {"", "a/b", "a/b"},
        {"", "../x", "../x"},
        // Resolution stops at the first ordinary component or when the base runs out.
        {"a", "../../b", "../b"},
        {"a/b", "c/../d", "a/b/c/../d"},
        {"a/b", "./../x/./y", "a/x/./y"},
        {"..", "../x", "../../x"},
        {"a/..", "../x", "a/../../x"},
        {"C:", "x", "C:x"},
        {"D:\\", "..\\x", "D:x"},
        {"a/b", "..", "a/b/.."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tandry::JoinPath(c.base, c.relative), c.joined) << c.base << " + " << c.relative;
}

TEST(StripTrailingSlash, RemovesOneSeparator)
{
    EXPECT_EQ(Tandry::StripTrailingSlash("dir//"), "dir/");
    EXPECT_EQ(Tandry::StripTrailingSlash("dir\\"), "dir");
    EXPECT_EQ(Tandry::StripTrailingSlash("/"), "");
    EXPECT_EQ(Tandry::StripTrailingSlash("dir"), "dir");
    EXPECT_EQ(Tandry::StripTrailingSlash(""), "");
}

// Changes the working directory for one test and restores it.
class WorkingDirectory : public ::testing::Test {
protected:
    void SetUp() override { mSaved = fs::current_path(); }
    void TearDown() override { fs::current_path(mSaved); }

    fs::path mSaved;
};

TEST_F(WorkingDirectory, LongPathsHaveNoLimit)
{
    fs::path deep = fs::temp_directory_path() / ("cwd-" + std::to_string(getpid()));
    const fs::path top = deep;
    for (int i = 0; i < 6; ++i)
        deep /= std::string(60, static_cast<char>('a' + i));
    fs::create_directories(deep);
    fs::current_path(deep);

    const std::string cwd = Tandry::GetCurrentDir();
    EXPECT_GT(cwd.size(), 360u);
    EXPECT_EQ(fs::path(cwd), fs::canonical(deep));
    EXPECT_EQ(Tandry::ResolveAgainstCwd("../x"), Tandry::JoinPath(cwd, "../x"));

    fs::current_path(mSaved);
    fs::remove_all(top);
}

TEST_F(WorkingDirectory, UnreadableDirectoryGivesTheEmptyString)
{
    const fs::path gone = fs::temp_directory_path() / ("gone-" + std::to_string(getpid()));
    fs::create_directory(gone);
    fs::current_path(gone);
    fs::remove(gone);

    EXPECT_EQ(Tandry::GetCurrentDir(), "");
}

} // namespace
