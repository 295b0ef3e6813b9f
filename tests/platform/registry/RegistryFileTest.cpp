#include "platform/registry/RegistryFile.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Platform;

namespace {

RegistryStore Sample()
{
    RegistryStore store;
    store.SetValue("SOFTWARE\\Hollowmere\\Moorglen", "MusicVolume", 4, {85, 0, 0, 0});
    store.SetValue("SOFTWARE\\Hollowmere\\Moorglen", "", 1, {});
    std::string odd = "a=b\"c\\d]e[f;g#h%i j\t\n\x80\xE9\xFF";
    odd.push_back('\0');
    store.SetValue("SOFTWARE\\Hollowmere\\Moorglen\\Te]st=3D", odd, 3, {0, 0xFF, 0x10});
    store.SetValue("SOFTWARE\\Hollowmere\\Moorglen\\Te]st=3D", "Big", 3, std::vector<uint8_t>(70000, 0xA5));
    store.CreateKey("SOFTWARE\\Empty\\Key");
    return store;
}

TEST(RegistryFile, WrittenAndReadBackEqualsTheOriginal)
{
    RegistryStore original = Sample();
    std::string text = FormatRegistryFile(original);
    RegistryStore read;
    std::string error;
    ASSERT_TRUE(ParseRegistryFile(text, read, error)) << error;
    EXPECT_EQ(read, original);
    EXPECT_EQ(FormatRegistryFile(read), text);
}

TEST(RegistryFile, ReadsHandWrittenTextWithCommentsAndWindowsLineEnds)
{
    std::string text = "; my settings\r\n\r\n[SOFTWARE\\Hollowmere\\Moorglen]\r\nMusic%20Volume=4:55000000\r\n"
                       "Name=1:4D4f\r\n;end\r\n";
    RegistryStore read;
    std::string error;
    ASSERT_TRUE(ParseRegistryFile(text, read, error)) << error;
    const RegistryValue* value = read.FindValue("software\\hollowmere\\moorglen", "music volume");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->data, (std::vector<uint8_t>{0x55, 0, 0, 0}));
    EXPECT_EQ(read.FindValue("SOFTWARE\\Hollowmere\\Moorglen", "Name")->data, (std::vector<uint8_t>{'M', 'O'}));
}

// What an editor or an older version leaves is read, and says whether it was closed.
TEST(RegistryFile, ReadsWhatEditorsAndOlderVersionsLeave)
{
    const std::vector<uint8_t> volume = {0x55, 0, 0, 0};
    const struct {
        const char* what;
        std::string text;
        bool closed;
    } cases[] = {
        {"byte-order mark", "\xEF\xBB\xBF[A]\nx=4:55000000\n;end\n", true},
        {"trailing blanks", "[A]  \nx=4:55000000 \t\n;end \n", true},
        {"trailing blanks before CR", "[A] \r\nx=4:55000000\t\r\n;end\r\n", true},
        {"blank lines", "\n  \n[A]\n\t\nx=4:55000000\n\n;end\n", true},
        {"blank lines after the end", "[A]\nx=4:55000000\n;end\n\n \n\r\n", true},
        {"no closing line", "[A]\nx=4:55000000\n", false},
        {"no closing line, blanks and mark", "\xEF\xBB\xBF[A] \n\nx=4:55000000  \n\n", false},
    };
    for (const auto& c : cases) {
        RegistryStore store;
        std::string error;
        bool closed = !c.closed;
        ASSERT_TRUE(ParseRegistryFile(c.text, store, error, closed)) << c.what << ": " << error;
        EXPECT_EQ(closed, c.closed) << c.what;
        const RegistryValue* value = store.FindValue("A", "x");
        ASSERT_NE(value, nullptr) << c.what;
        EXPECT_EQ(value->type, 4u) << c.what;
        EXPECT_EQ(value->data, volume) << c.what;
    }
    // Nothing at all is an empty store, not a damaged one.
    RegistryStore store;
    store.SetValue("Old", "v", 4, {1});
    std::string error;
    bool closed = true;
    EXPECT_TRUE(ParseRegistryFile("", store, error, closed));
    EXPECT_FALSE(closed);
    EXPECT_TRUE(store.Keys().empty());
}

TEST(RegistryFile, DamagedTextIsRefusedWithAMessageAndAnEmptyStore)
{
    const char* damaged[] = {
        "[A]\nx=4:0\n;end\n",                // odd number of hex digits
        "[A]\nx=4:zz\n;end\n",               // not hex
        "[A]\nx=:00\n;end\n",                // no type
        "[A]\nx=4294967296:00\n;end\n",      // type out of range
        "[A]\nx 4:00\n;end\n",               // no '='
        "[A]\nx=4\n;end\n",                  // no ':'
        "x=4:00\n;end\n",                    // value before any key
        "[A\n;end\n",                        // unclosed key line
        "[A\\\\B]\n;end\n",                  // empty level
        "[A]\nbad%2=4:00\n;end\n",           // short escape
        "[A]\nx=4:00\nX=4:00\n;end\n",       // one name twice
        "[A]\nx=4:00\n;end",                 // truncated mid-line
        "[A]\nx=4:0",                         // a value cut short, no closing line
        "[A]\nx=4:00\n;end\n[B]\n",          // text after the end
        "\xEF\xBB[A]\n;end\n",               // part of a byte-order mark
        "[A]\n\xEF\xBB\xBFx=4:00\n;end\n",   // a byte-order mark not at the start
        " [A]\n;end\n",                      // blanks lead nothing
    };
    for (const char* text : damaged) {
        RegistryStore store;
        store.SetValue("Old", "v", 4, {1});
        std::string error;
        EXPECT_FALSE(ParseRegistryFile(text, store, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
        EXPECT_TRUE(store.Keys().empty()) << text;
    }
}

} // namespace
