#include "resources/ini/IniFile.h"

#include "resources/ini/GameIni.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <string>
#include <vector>

namespace {

using Tandry::IniFile;
using Tandry::IniKey;
using Tandry::IniRect;
using Tandry::IniSection;
using Names = std::vector<std::string>;

Names SectionNames(const IniFile& ini)
{
    Names names;
    for (const auto& section : ini.GetSections())
        names.push_back(section.GetName());
    return names;
}

class GameIniTest : public testing::Test {
protected:
    void SetUp() override { Tandry::ResetGameIni(); }
    void TearDown() override { Tandry::ResetGameIni(); }
};

TEST_F(GameIniTest, ReadsSettingsWhateverTheCaseOfTheirNames)
{
    Tandry::gGameIni.LoadText("[Game]\r\nWidth = 800\r\nHintColor = FF8800\r\nPicture = 10, 20, 300, 400\r\n");
    EXPECT_EQ(Tandry::GetGameSettingInt("Width", "Game", -1, 0), 800);
    EXPECT_EQ(Tandry::GetGameSettingInt("Missing", "Game", -1, 7), 7);
    EXPECT_EQ(Tandry::GetGameSettingInt("Width", "Other", -1, 7), 7);
    EXPECT_EQ(Tandry::GetGameSettingHex("game", "hintcolor", 0), 0xFF8800);
    EXPECT_EQ(Tandry::GetGameSettingRect("PICTURE", "Game", IniRect{}), (IniRect{10, 20, 300, 400}));
    EXPECT_EQ(Tandry::GetGameSettingRect("Width", "Game", IniRect{1, 2, 3, 4}), (IniRect{1, 2, 3, 4}));

    Tandry::ResetGameIni();
    EXPECT_EQ(Tandry::GetGameSettingInt("Width", "Game", -1, 0), 0);
}

TEST(IniFile, CommaListIsReadOneItemPerCall)
{
    IniFile ini;
    ini.LoadText("[s]\nColors = 10, 20 ,30\n");
    EXPECT_EQ(ini.GetString("colors", "s", "d"), "10");
    EXPECT_EQ(ini.GetString("", "", "d"), "20");
    EXPECT_EQ(ini.GetString("", "", "d"), "30");
    EXPECT_EQ(ini.GetString("", "", "d"), "d");
    EXPECT_EQ(ini.GetString("Colors", "S", "d"), "10");  // naming the key starts it again
}

TEST(IniFile, LinesAreReadAsTheFormatAlwaysHas)
{
    struct Case {
        const char* what;
        const char* text;
        Names sections;
        const char* section;  // where to look
        const char* key;
        std::string value;    // all items joined, or "-" for a missing key
    };
    const Case cases[] = {
        {"a bracket pair anywhere names a section", "[x]\na=[1]\nk=v", {"x", "1"}, "1", "k", "v"},
        {"section names are not trimmed", "[ Game ]\nk=1", {" game "}, " game ", "k", "1"},
        {"the name stops at the first ']'", "[a]b]\nk=1", {"a"}, "a", "k", "1"},
        {"a ']' before the '[' reads to the end", "]x[abc\nk=1", {"abc"}, "abc", "k", "1"},
        {"values come back in lower case", "[s]\nv=Hello", {"s"}, "s", "v", "hello"},
        {"items lose their spaces", "[s]\nx = 1 , 2", {"s"}, "s", "x", "1,2"},
        {"only spaces are trimmed", "[s]\nk\t=\t5 , a\t", {"s"}, "s", "k\t", "\t5,a\t"},
        {"further '=' belong to the value", "[s]\nk=a=b", {"s"}, "s", "k", "a=b"},
        {"an empty value is one empty item", "[s]\nk=\nj=a,", {"s"}, "s", "j", "a,"},
        {"a key before any section is ignored", "k=1\n[s]\nj=2", {"s"}, "s", "k", "-"},
        {"comments and other lines are ignored", "; c=1\n[s]\n# x\njunk\nk=2", {"s"}, "s", "k", "2"},
        {"a repeated key takes the new items", "[s]\nk=1\nk=2,3", {"s"}, "s", "k", "2,3"},
        {"CR, LF and their runs end lines", "[s]\rk=1\r\n\r\nj=2\n\nm=3", {"s"}, "s", "m", "3"},
        {"bytes above 127 stay as they are", "[\xC9t\xE9]\nK\xC9=\xC9", {"\xC9t\xE9"}, "\xC9t\xE9", "k\xC9", "\xC9"},
    };
    for (const auto& c : cases) {
        IniFile ini;
        ini.LoadText(c.text);
        EXPECT_EQ(SectionNames(ini), c.sections) << c.what;
        const std::string value = ini.GetValueText(c.section, c.key);
        Names items;
        ini.GetValueList(items, c.key, c.section);
        EXPECT_EQ(items.empty() ? "-" : value, c.value) << c.what;
    }
}

TEST(IniFile, NulInTheMiddleOfAFileEndsIt)
{
    IniFile ini;
    ini.LoadText(std::string_view("[s]\nk=1\0\nj=2", 12));
    EXPECT_EQ(ini.GetString("j", "s", "none"), "none");
    EXPECT_EQ(ini.GetString("k", "s", "none"), "1");
}

TEST(IniFile, MissingSectionIsCreatedEmptyByTheGetterThatNamesIt)
{
    IniFile ini;
    ini.LoadText("[s]\nk=1");
    EXPECT_EQ(ini.GetString("k", "Other", "d"), "d");
    EXPECT_EQ(SectionNames(ini), (Names{"s", "other"}));
    EXPECT_EQ(ini.GetValueText("nothing", "k"), "");
    Names keys;
    ini.GetKeyNames("s", keys);
    EXPECT_EQ(keys, Names{"k"});
}

TEST(IniFile, LoadAddsToTheSectionsPresent)
{
    IniFile ini;
    ini.LoadText("[a]\nk=1,2\n[b]\nx=1");
    EXPECT_EQ(ini.GetString("k", "a", ""), "1");
    ini.LoadText("[A]\nj=3\nk=5,6,7\n[c]\n");
    EXPECT_EQ(SectionNames(ini), (Names{"a", "b", "c"}));
    // The key read last is selected; it took the new items but kept its cursor.
    EXPECT_EQ(ini.GetString("", "a", "d"), "6");
    Names keys;
    ini.GetKeyNames("a", keys);
    EXPECT_EQ(keys, (Names{"k", "j"}));
}

TEST(IniFile, SaveFormatIsSectionThenKeysThenAnEmptyLine)
{
    IniFile ini;
    ini.SelectSection("a").SetKey(" K ", "1, 2");
    ini.SelectSection("b");
    EXPECT_EQ(ini.FormatText(), "[a]\nk = 1,2\n\n[b]\n\n");
    IniFile again;
    again.LoadText(ini.FormatText());
    EXPECT_EQ(again.GetValueText("a", "k"), "1,2");
}

TEST(IniKey, IntegersAsAtoiReadsThem)
{
    IniKey key("k");
    key.SetValues("800,  -12abc, abc, 99999999999, -99999999999, +7, ");
    const int expected[] = {800, -12, 0, INT_MAX, INT_MIN, 7, 0};
    for (const int value : expected)
        EXPECT_EQ(key.NextInt(-1), value);
    EXPECT_EQ(key.NextInt(-1), -1);
}

TEST(IniKey, IndexMovesTheCursorAndAnIndexOutsideAnswersTheDefault)
{
    IniFile ini;
    ini.LoadText("[s]\nk=5,6,7");
    IniSection& s = ini.SelectSection("s");
    EXPECT_EQ(s.GetInt("k", 2, -1), 7);
    EXPECT_EQ(s.GetInt("", -1, -1), -1);
    EXPECT_EQ(s.GetInt("k", -5, 9), 9);
    EXPECT_EQ(s.GetCurrentKey()->GetCursor(), -5);
    EXPECT_EQ(s.GetInt("", 3, 9), 9);
    EXPECT_EQ(s.GetInt("", 0, 9), 5);
    EXPECT_EQ(s.GetInt("", -1, 9), 6);
    EXPECT_EQ(s.GetInt("missing", 0, 4), 4);
}

TEST(IniKey, HexShiftsEveryCharacterAndAddsOnlyDigits)
{
    const std::pair<const char*, int> cases[] = {
        {"ff", 255},         {"0xff", 255},       {"ff ff", 0xFF0FF},  {"AbC", 0xABC},
        {"123456789", 0x23456789}, {"\xE9", 0}, {"1\xE9" "2", 0x102}, {"ffffffff", -1}, {"", 0},
    };
    for (const auto& [text, value] : cases) {
        IniKey key("k");
        key.SetValues(text);
        EXPECT_EQ(key.NextHex(-7), value) << text;
        EXPECT_EQ(key.NextHex(-7), -7) << text;
    }
}

TEST(IniKey, FloatsAsAtofReadsThemInTheCLocale)
{
    // A locale with a decimal comma, when the machine has one, must not matter.
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const bool commaLocale = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    IniKey key("k");
    key.SetValues("1.5, 1e3, 0x10, abc, -0.25x");
    const float expected[] = {1.5f, 1000.f, 16.f, 0.f, -0.25f};
    for (const float value : expected)
        EXPECT_EQ(key.NextFloat(-1.f), value) << (commaLocale ? "with a decimal-comma locale" : "");
    std::setlocale(LC_ALL, previous.c_str());

    // Used up: the default, and the cursor stays.
    EXPECT_EQ(key.NextFloat(-1.f), -1.f);
    EXPECT_EQ(key.GetCursor(), 5);

    IniKey precise("k");
    precise.SetValues("0.1");
    EXPECT_EQ(precise.NextFloat(0.f), 0.1f);  // rounded to single precision
}

TEST(IniKey, PairsAndRectanglesNeedAllTheirItems)
{
    IniKey key("k");
    key.SetValues("1,2,3,4,5");
    EXPECT_EQ(key.NextIntPair({-1, -1}), std::make_pair(1, 2));
    EXPECT_EQ(key.NextRect(IniRect{9, 9, 9, 9}), (IniRect{9, 9, 9, 9}));  // three left
    EXPECT_EQ(key.GetCursor(), 2);
    EXPECT_EQ(key.NextIntPair({-1, -1}), std::make_pair(3, 4));
    EXPECT_EQ(key.NextIntPair({-1, -1}), std::make_pair(-1, -1));  // one left
    key.SetCursor(1);
    EXPECT_EQ(key.NextRect(IniRect{}), (IniRect{2, 3, 4, 5}));
    EXPECT_EQ(key.NextString("d"), "d");
}

} // namespace
