#include "game/shell/InternetShortcut.h"

#include "platform/fs/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using Tandry::ParseInternetShortcut;

struct ShortcutCase {
    const char* text;
    const char* url;
};

TEST(InternetShortcut, KeepsTheAddressAsWritten)
{
    const ShortcutCase cases[] = {
        {"[InternetShortcut]\r\nURL=https://Example.org/Path?Q=1\r\n", "https://Example.org/Path?Q=1"},
        // Names in any case; the value trimmed of spaces and tabs only.
        {"[internetshortcut]\nurl = \t https://a.b/C//D;x=1 \t\n", "https://a.b/C//D;x=1"},
        {"  [ InternetShortcut ]  \nUrL=HTTP://X/Y", "HTTP://X/Y"},
        // The first key of the first matching section.
        {"[InternetShortcut]\nURL=first\nURL=second\n", "first"},
        {"[Other]\nURL=wrong\n[InternetShortcut]\nIconIndex=0\nURL=right\n", "right"},
        // "=" in the value belongs to the value; "//" is no comment here.
        {"[InternetShortcut]\nURL=http://h/?a=b=c//d\n", "http://h/?a=b=c//d"},
        // Lone CRs end lines too.
        {"[InternetShortcut]\rURL=http://cr/\r", "http://cr/"},
    };
    for (const ShortcutCase& c : cases)
        EXPECT_EQ(ParseInternetShortcut(c.text), c.url) << c.text;
}

TEST(InternetShortcut, NoSectionOrKeyGivesNothing)
{
    const char* cases[] = {
        "",
        "URL=http://outside/\n",
        "[Other]\nURL=http://other/\n",
        "[InternetShortcut]\nURLs=http://x/\nAddress=y\n",
        "[InternetShortcut\nURL=http://broken/\n",
        "[InternetShortcut]\nURL=\n",
        "[InternetShortcut]\nURL=   \t\n",
    };
    for (const char* text : cases)
        EXPECT_EQ(ParseInternetShortcut(text), "") << text;
}

TEST(InternetShortcut, ReadsThroughTheFileLayerAndAMissingFileGivesNothing)
{
    TestSupport::ScratchFolder scratch;
    const std::filesystem::path file = scratch.Path() / "play.url";
    std::ofstream(file, std::ios::binary) << "[InternetShortcut]\r\nURL=https://Example.org/Path?Q=1\r\n";
    EXPECT_EQ(Tandry::ReadInternetShortcut(file.string()), "https://Example.org/Path?Q=1");
    EXPECT_EQ(Tandry::ReadInternetShortcut((scratch.Path() / "none.url").string()), "");
}

} // namespace
