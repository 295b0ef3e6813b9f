#include "resources/ini/LangTable.h"

#include "resources/ini/IniDocumentDump.h"
#include "resources/pak/PakTestSupport.h"

#include "platform/fs/SafeWrite.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using Platform::SafeWrite;
using Tandry::GetLangString;
using Tandry::GetLangTable;
using Tandry::WideIniDocument;
using TestSupport::NamesIn;
using TestSupport::ReadFile;
using TestSupport::WriteFile;

std::string Fixture(const std::string& name)
{
    return ReadFile(std::string(MOORGLEN_TEST_DATA) + "/ini/" + name);
}

class LangTableTest : public TestSupport::PakLayerTest {
protected:
    LangTableTest() { Tandry::ResetLangTableForTests(); }
    ~LangTableTest() override
    {
        Tandry::ResetLangTableForTests();
        SafeWrite::SetFaultForTests(SafeWrite::Fault::None);
    }
};

TEST_F(LangTableTest, MissingKeyIsAddedToItsSectionAndTheFileRewritten)
{
    const std::string fixture = Fixture("lang.ini");
    WriteFile("res/lang.ini", fixture);

    EXPECT_EQ(GetLangString("Title", GetLangTable(), L"interface"), L"Moorglen");
    EXPECT_EQ(ReadFile("res/lang.ini"), fixture) << "a key that exists writes nothing";

    EXPECT_EQ(GetLangString("Missing", GetLangTable(), L"Interface"), L"???");
    // The rest unchanged; the new key last in [Interface].
    std::string expected = fixture;
    const std::string before = IniTest::Utf16Bytes(L"\r\n\r\n[Credits]", false);
    expected.insert(expected.find(before), IniTest::Utf16Bytes(L"\r\nMissing=???", false));
    EXPECT_EQ(ReadFile("res/lang.ini"), expected);

    // Found in the table now: no second write.
    WriteFile("res/lang.ini", "sentinel");
    EXPECT_EQ(GetLangString("Missing", GetLangTable(), L"Interface"), L"???");
    EXPECT_EQ(GetLangString("", GetLangTable(), L"Interface"), L"");
    EXPECT_EQ(ReadFile("res/lang.ini"), "sentinel");
}

TEST_F(LangTableTest, MissingSectionIsAddedAtTheEnd)
{
    WriteFile("res/lang.ini", Fixture("lang.ini"));
    EXPECT_EQ(GetLangString("Intro", GetLangTable(), L"Movie"), L"???");
    WideIniDocument reread;
    ASSERT_TRUE(WideIniDocument::LoadUtf16("res/lang.ini", reread));
    EXPECT_EQ(IniTest::Dump(reread).back(), L"kIntro=???");
    EXPECT_EQ(IniTest::Dump(reread).end()[-2], L"[Movie]");
}

TEST_F(LangTableTest, EscapedSlashesSurviveTheRewrite)
{
    WriteFile("res/lang.ini", Fixture("lang_url.ini"));
    EXPECT_EQ(GetLangString("Missing", GetLangTable(), L"Interface"), L"???");
    Tandry::ReloadLangTable(GetLangTable());
    EXPECT_EQ(GetLangString("Url", GetLangTable(), L"Interface"), L"http://host");
    EXPECT_EQ(GetLangString("Title", GetLangTable(), L"Interface"), L"Moorglen");
}

TEST_F(LangTableTest, KeyIsReadAsWindows1252AndCutAt1024Characters)
{
    WriteFile("res/lang.ini", IniTest::Utf16Bytes(L"[Shop]\r\nPrice\u20AC=ten"));
    EXPECT_EQ(GetLangString("Price\x80", GetLangTable(), L"Shop"), L"ten");

    const std::string longKey(1030, 'a');
    EXPECT_EQ(GetLangString(longKey, GetLangTable(), L"Shop"), L"???");
    EXPECT_TRUE(GetLangTable().HasKey(L"Shop", std::wstring(1024, L'a')));
    EXPECT_EQ(GetLangString(longKey.substr(0, 1024), GetLangTable(), L"Shop"), L"???");
}

TEST_F(LangTableTest, TableLoadsOnFirstUseAndAgainAfterAReset)
{
    WriteFile("res/lang.ini", IniTest::Utf16Bytes(L"[A]\r\nk=one"));
    EXPECT_EQ(GetLangString("k", GetLangTable(), L"A"), L"one");
    WriteFile("res/lang.ini", IniTest::Utf16Bytes(L"[A]\r\nk=two"));
    EXPECT_EQ(GetLangString("k", GetLangTable(), L"A"), L"one");
    Tandry::ResetLangTableForTests();
    EXPECT_EQ(GetLangString("k", GetLangTable(), L"A"), L"two");
}

TEST_F(LangTableTest, FailedRewriteKeepsTheOldFile)
{
    const std::string fixture = Fixture("lang.ini");
    WriteFile("res/lang.ini", fixture);
    SafeWrite::SetFaultForTests(SafeWrite::Fault::Rename);
    EXPECT_EQ(GetLangString("Missing", GetLangTable(), L"Interface"), L"???");
    SafeWrite::SetFaultForTests(SafeWrite::Fault::None);
    EXPECT_EQ(ReadFile("res/lang.ini"), fixture);
    EXPECT_EQ(NamesIn("res"), std::vector<std::string>{"lang.ini"});

    // Without the file and its folder the text is still "???".
    std::filesystem::remove_all("res");
    Tandry::ResetLangTableForTests();
    EXPECT_EQ(GetLangString("Missing", GetLangTable(), L"Interface"), L"???");
    EXPECT_FALSE(std::filesystem::exists("res"));
}

} // namespace
