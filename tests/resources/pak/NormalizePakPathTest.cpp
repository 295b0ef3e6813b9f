#include "resources/pak/NormalizePakPath.h"

#include "platform/fs/FileOps.h"
#include "platform/fs/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

using Tandry::NormalizePakPath;

TEST(NormalizePakPath, NamesToKeys)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"data/Sounds//Click.WAV", "DATA\\SOUNDS\\CLICK.WAV"},
        {"DATA\\SOUNDS\\CLICK.WAV", "DATA\\SOUNDS\\CLICK.WAV"},
        {"data\\/\\sounds", "DATA\\SOUNDS"},
        {"data/x/../y.png", "DATA\\Y.PNG"},
        {"data/x/..//y.png", "DATA\\Y.PNG"},
        {"a/b/c/../../d", "A\\D"},
        {"../a", "..\\A"},
        {"data/./x", "DATA\\.\\X"},
        {"./data/sounds/click.wav", ".\\DATA\\SOUNDS\\CLICK.WAV"},
        {"a/../b", "AB"},             // the step back stops after the first character
        {"\\a\\..\\b", "\\B"},        // a leading separator stays
        {"a..b/c..", "A..B\\C.."},    // ".." only counts right after a separator
        {"data/", "DATA\\"},
        {"", ""},
        {"\xe4\xf6z", "\xe4\xf6Z"},   // only ASCII letters change
    };
    for (const auto& c : cases)
        EXPECT_EQ(NormalizePakPath(c.in), c.out) << c.in;
}

TEST(NormalizePakPath, StopsAtTheFirstNul)
{
    EXPECT_EQ(NormalizePakPath(std::string_view("ab\0cd", 5)), "AB");
}

TEST(NormalizePakPath, CurrentFolderIsDroppedWhateverItsCaseAndSeparators)
{
    TestSupport::ScratchFolder scratch(TestSupport::ScratchFolder::Enter);
    const std::string here = Platform::GetCurrentFolder();
    EXPECT_EQ(NormalizePakPath(here + "/data/sounds/click.wav"), "DATA\\SOUNDS\\CLICK.WAV");
    EXPECT_EQ(NormalizePakPath(here + "\\Data\\x"), "DATA\\X");

    std::string shouted = here;
    for (char& c : shouted) {
        if (c == '/')
            c = '\\';
        else if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    EXPECT_EQ(NormalizePakPath(shouted + "\\data\\x"), "DATA\\X");

    // Only the folder followed by a separator counts: a sibling with a longer
    // name, and the folder itself, keep their whole path.
    EXPECT_EQ(NormalizePakPath(here + "x/data")[0], '\\');
    EXPECT_EQ(NormalizePakPath(here).size(), here.size());
}

} // namespace
