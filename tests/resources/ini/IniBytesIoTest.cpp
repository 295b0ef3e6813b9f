#include "resources/ini/IniBytesIo.h"

#include "resources/ini/IniDocument.h"
#include "resources/ini/IniDocumentDump.h"
#include "resources/ini/IniFile.h"
#include "resources/ini/IniStdIFile.h"
#include "resources/pak/PakTestSupport.h"

#include "platform/fs/SafeWrite.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using Platform::SafeWrite;
using Tandry::IniFile;
using Tandry::NarrowIniDocument;
using Tandry::WideIniDocument;
using TestSupport::MakePack;
using TestSupport::NamesIn;
using TestSupport::ReadFile;
using TestSupport::WriteFile;
using Names = std::vector<std::string>;

class IniFilesTest : public TestSupport::PakLayerTest {
protected:
    ~IniFilesTest() override { SafeWrite::SetFaultForTests(SafeWrite::Fault::None); }

    void AddPack(const TestSupport::PakFiles& files)
    {
        ASSERT_TRUE(mPak->AddPakMemory("test.pak", MakePack(files)));
    }
};

TEST_F(IniFilesTest, LoadOfAMissingFileAnswersFalseAndChangesNothing)
{
    NarrowIniDocument narrow;
    IniTest::LoadText(narrow, "[Main]\nk=1");
    EXPECT_FALSE(NarrowIniDocument::Load("missing.prf", narrow));
    EXPECT_EQ(IniTest::Dump(narrow), (Names{"[Main]", "kk=1"}));
    EXPECT_EQ(narrow.GetLineEnding(), "\n");

    WideIniDocument wide;
    IniTest::LoadText(wide, IniTest::Utf16Bytes(L"[Main]\r\nk=1"));
    EXPECT_FALSE(WideIniDocument::LoadUtf16("missing.ini", wide));
    EXPECT_EQ(IniTest::Dump(wide), (std::vector<std::wstring>{L"[Main]", L"kk=1"}));
}

TEST_F(IniFilesTest, Utf16CrLfFileLoadsTheSameFromAPackAsFromDisk)
{
    const std::string bytes = IniTest::Utf16Bytes(L"[Interface]\r\nTitle=Moorglen\r\n; note\r\n\r\n[Movie]\r\nIntro=\u00C9t\u00E9");
    WriteFile("res/lang.ini", bytes);
    AddPack({{"RES\\PACKED.INI", bytes}});

    WideIniDocument fromDisk;
    WideIniDocument fromPack;
    ASSERT_TRUE(WideIniDocument::LoadUtf16("res\\lang.ini", fromDisk));
    ASSERT_TRUE(WideIniDocument::LoadUtf16("res\\packed.ini", fromPack));
    EXPECT_EQ(IniTest::Dump(fromPack), IniTest::Dump(fromDisk));
    EXPECT_EQ(fromPack.GetLineEnding(), L"\r\n");
    EXPECT_EQ(WideIniDocument::SaveBytes(fromPack), bytes);
    EXPECT_EQ(fromDisk.FindKey(L"movie", L"intro").GetValue(), L"\u00C9t\u00E9");
}

TEST_F(IniFilesTest, NarrowPackMemberKeepsItsCarriageReturns)
{
    const std::string bytes = "[Main]\r\nk=a\\\r\nb\r\nj=2";
    AddPack({{"DATA\\P.PRF", bytes}});
    NarrowIniDocument doc;
    ASSERT_TRUE(NarrowIniDocument::Load("data/p.prf", doc));
    EXPECT_EQ(IniTest::Dump(doc), (Names{"[Main]", "kk=ab", "kj=2"}));
    EXPECT_EQ(NarrowIniDocument::SaveBytes(doc), "[Main]\r\nk=ab\r\nj=2");
}

TEST_F(IniFilesTest, SaveReplacesTheFileWhole)
{
    NarrowIniDocument doc;
    IniTest::LoadText(doc, "[Main]\r\nName=0041\r\nCRC=1");
    WriteFile("Profile0.prf", "an older and much longer profile than the new one");
    ASSERT_TRUE(NarrowIniDocument::Save("profile0.prf", doc));
    EXPECT_EQ(NamesIn("."), Names{"Profile0.prf"});
    EXPECT_EQ(ReadFile("Profile0.prf"), "[Main]\r\nName=0041\r\nCRC=1");

    WideIniDocument wide;
    wide.AddKey(wide.FindOrAddSection(L"Main"), L"Profile", L"\"Ann\"");
    ASSERT_TRUE(WideIniDocument::SaveUtf16("settings.ini", wide));
    EXPECT_EQ(ReadFile("settings.ini"), IniTest::Utf16Bytes(L"[Main]\r\nProfile=\"Ann\""));
}

TEST_F(IniFilesTest, SaveGoesToThePrefixFolderWhenAFileCanBeCreatedThere)
{
    NarrowIniDocument doc;
    IniTest::LoadText(doc, "k=1");
    mPak->SetPrefixFolder("data\\de\\");
    ASSERT_TRUE(NarrowIniDocument::Save("a.ini", doc));  // data/de is missing
    EXPECT_EQ(ReadFile("a.ini"), "k=1");

    std::filesystem::create_directories("data/de");
    ASSERT_TRUE(NarrowIniDocument::Save("b.ini", doc));
    EXPECT_EQ(ReadFile("data/de/b.ini"), "k=1");
    EXPECT_FALSE(std::filesystem::exists("b.ini"));
}

// Every way of saving answers false on any failure, keeps the old file byte
// for byte and leaves no temporary file.
TEST_F(IniFilesTest, FailedSaveKeepsTheOldFile)
{
    using Save = std::function<bool(const std::string& path)>;
    NarrowIniDocument narrow;
    IniTest::LoadText(narrow, "[Main]\r\nk=new");
    WideIniDocument wide;
    IniTest::LoadText(wide, IniTest::Utf16Bytes(L"[Main]\r\nk=new"));
    IniFile settings;
    settings.SelectSection("main").SetKey("k", "new");
    const std::pair<const char*, Save> saves[] = {
        {"Save", [&](const std::string& path) { return NarrowIniDocument::Save(path, narrow); }},
        {"SaveUtf16", [&](const std::string& path) { return WideIniDocument::SaveUtf16(path, wide); }},
        {"SaveTo", [&](const std::string& path) { return settings.SaveTo(path); }},
    };
    for (const auto& [what, save] : saves) {
        EXPECT_FALSE(save("no/such/folder/x.ini")) << what;
        EXPECT_FALSE(std::filesystem::exists("no")) << what;

        for (const auto fault : {SafeWrite::Fault::Write, SafeWrite::Fault::Rename}) {
            WriteFile("old.ini", "old bytes");
            SafeWrite::SetFaultForTests(fault);
            EXPECT_FALSE(save("old.ini")) << what;
            SafeWrite::SetFaultForTests(SafeWrite::Fault::None);
            EXPECT_EQ(ReadFile("old.ini"), "old bytes") << what;
            EXPECT_EQ(NamesIn("."), Names{"old.ini"}) << what;
        }
        EXPECT_TRUE(save("old.ini")) << what;
        EXPECT_NE(ReadFile("old.ini"), "old bytes") << what;
    }
}

TEST_F(IniFilesTest, IniFileLoadsThroughThePacksAndSavesItsOwnLayout)
{
    AddPack({{"RES\\GAME.INI", "[Game]\r\nWidth = 800\r\n"}});
    IniFile ini;
    ini.Load("res\\game.ini");
    EXPECT_EQ(ini.GetPath(), "res\\game.ini");
    EXPECT_EQ(ini.GetString("width", "game", ""), "800");

    ini.Load("missing.ini");
    EXPECT_EQ(ini.GetPath(), "missing.ini");
    EXPECT_EQ(ini.GetSections().size(), 1u);

    IniFile out;
    out.SelectSection("a").SetKey("k", "1, 2");
    ASSERT_TRUE(out.SaveTo("out.ini"));
    EXPECT_EQ(ReadFile("out.ini"), "[a]\nk = 1,2\n\n");
    EXPECT_EQ(out.GetPath(), "out.ini");
}

TEST_F(IniFilesTest, IniFileSavesOnDestructionOnlyWhenModified)
{
    {
        IniFile ini;
        ini.SelectSection("a").SetKey("k", "1");
        ini.SaveTo("kept.ini");
        ini.SelectSection("a").SetKey("k", "2");
    }
    EXPECT_EQ(ReadFile("kept.ini"), "[a]\nk = 1\n\n");
    {
        IniFile ini;
        ini.Load("kept.ini");
        ini.SelectSection("a").SetKey("k", "3");
        ini.SetModified(true);
    }
    EXPECT_EQ(ReadFile("kept.ini"), "[a]\nk = 3\n\n");
}

TEST_F(IniFilesTest, IniStdIFileReadsTheDiskWhateverTheCaseButNotThePacks)
{
    WriteFile("Profiles/Profile0.prf", "[Main]\nName=0041\n");
    AddPack({{"PROFILES\\PROFILE1.PRF", "[Main]\nName=0042\n"}});

    NarrowIniDocument doc;
    Tandry::IniStdIFile disk("profiles\\PROFILE0.PRF");
    EXPECT_FALSE(disk.Failed());
    NarrowIniDocument::LoadStream(disk, doc);
    EXPECT_EQ(IniTest::Dump(doc), (Names{"[Main]", "kName=0041"}));

    Tandry::IniStdIFile packed("profiles\\profile1.prf");
    EXPECT_TRUE(packed.Failed());
    NarrowIniDocument::LoadStream(packed, doc);
    EXPECT_EQ(IniTest::Dump(doc), (Names{"[Main]", "kName=0041"}));
}

} // namespace
