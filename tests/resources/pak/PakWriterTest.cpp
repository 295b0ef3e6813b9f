#include "resources/pak/PakWriter.h"

#include "platform/debug/DebugOutput.h"
#include "platform/fs/SafeWrite.h"
#include "resources/pak/PakFile.h"
#include "resources/pak/PakTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using TestSupport::NamesIn;
using TestSupport::PakLayerTest;
using TestSupport::ReadFile;
using TestSupport::WriteFile;
using Tandry::PakClose;
using Tandry::PakFileHandle;
using Tandry::PakOpen;
using Tandry::PakRead;
using Tandry::PakWriteEntry;
namespace fs = std::filesystem;

std::string Unscramble(const std::string& bytes)
{
    std::string out = bytes;
    for (char& c : out)
        c = static_cast<char>(c ^ 0x5D);
    return out;
}

std::string ReadMember(const std::string& name)
{
    PakFileHandle* file = PakOpen(name);
    if (file == nullptr)
        return "<none>";
    std::string text(file->record != nullptr ? file->record->size : 0, '\0');
    text.resize(PakRead(text.data(), 1, text.size(), file));
    PakClose(file);
    return text;
}

class PakWriterTest : public PakLayerTest {
protected:
    ~PakWriterTest() override
    {
        Tandry::SetPakWriteHookForTests({});
        Platform::SetDebugSink({});
        Platform::SafeWrite::SetFaultForTests(Platform::SafeWrite::Fault::None);
    }
};

TEST_F(PakWriterTest, DataFolderBecomesGameDat)
{
    WriteFile("Data/a.txt", "abc");
    WriteFile("Data/Sub/b.png", "hello");
    Tandry::CreatePakFromFolder();

    const std::string pack = ReadFile("game.dat");
    ASSERT_EQ(pack.size(), 69u);
    const std::string plain = Unscramble(pack);
    const std::string expected = std::string("\xC0\x4A\xC0\xBA\0\0\0\0", 8)
        + std::string("\0\x0A", 2) + "DATA\\A.TXT" + std::string("\3\0\0\0", 4) + std::string(8, '\0')
        + std::string("\0\x0E", 2) + "DATA\\SUB\\B.PNG" + std::string("\5\0\0\0", 4) + std::string(8, '\0')
        + "\x80" + "abc" + "hello";
    EXPECT_EQ(plain, expected);
    EXPECT_EQ(plain.substr(61, 3), "abc");
    EXPECT_EQ(plain.substr(64, 5), "hello");

    ASSERT_TRUE(mPak->AddPakFile("game.dat"));
    EXPECT_EQ(ReadMember("data/a.txt"), "abc");
    EXPECT_EQ(ReadMember("Data/Sub/B.png"), "hello");
}

TEST_F(PakWriterTest, EmptyDataFolderGivesTheNineByteHeader)
{
    fs::create_directory("Data");
    Tandry::CreatePakFromFolder();
    EXPECT_EQ(ReadFile("game.dat"), "\x9D\x17\x9D\xE7\x5D\x5D\x5D\x5D\xDD");
    EXPECT_TRUE(mPak->AddPakFile("game.dat"));
}

TEST_F(PakWriterTest, NamesThatDifferOnlyInCaseAreEachReadFromTheirOwnFile)
{
    WriteFile("Data/x.txt", "lower");
    WriteFile("Data/X.TXT", "UPPER!");
    std::vector<PakWriteEntry> entries;
    Tandry::CollectPakFiles("data", entries);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "DATA\\X.TXT");
    EXPECT_EQ(entries[1].name, "DATA\\X.TXT");
    EXPECT_EQ(entries[0].path, "data/X.TXT");
    EXPECT_EQ(entries[1].path, "data/x.txt");

    std::vector<uint8_t> pack;
    std::string error;
    ASSERT_TRUE(Tandry::WritePakToMemory(entries, pack, error)) << error;
    const std::string plain = Unscramble(std::string(pack.begin(), pack.end()));
    EXPECT_EQ(plain.substr(plain.size() - 11), "UPPER!lower");
}

TEST_F(PakWriterTest, FileAndMemoryOutputsAreTheSameBytes)
{
    WriteFile("Pics/Gui/b.png", "bb");
    WriteFile("Pics/a.png", "a");
    std::vector<PakWriteEntry> entries;
    Tandry::CollectPakFiles("Pics", entries);
    entries.push_back(PakWriteEntry::FromBytes("MEMORY\\M.TXT", {'m'}));
    std::vector<uint8_t> memory;
    std::string error;
    ASSERT_TRUE(Tandry::WritePakToMemory(entries, memory, error)) << error;
    ASSERT_TRUE(Tandry::WritePakFile(entries, "out.pak", error)) << error;
    EXPECT_EQ(ReadFile("out.pak"), std::string(memory.begin(), memory.end()));

    ASSERT_TRUE(mPak->AddPakMemory("out.pak", memory));
    EXPECT_EQ(ReadMember("pics/a.png"), "a");
    EXPECT_EQ(ReadMember("pics/gui/b.png"), "bb");
    EXPECT_EQ(ReadMember("memory/m.txt"), "m");
}

TEST_F(PakWriterTest, FolderLinksAreNotFollowed)
{
    WriteFile("Data/real.txt", "r");
    fs::create_directory_symlink(".", "Data/loop");
    fs::create_symlink("real.txt", "Data/file link");
    std::string debug;
    Platform::SetDebugSink([&](const std::string& text) { debug += text; });
    std::vector<PakWriteEntry> entries;
    Tandry::CollectPakFiles("Data", entries);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "DATA\\FILE LINK");
    EXPECT_EQ(entries[0].size, 1u);
    EXPECT_EQ(entries[1].name, "DATA\\REAL.TXT");
    EXPECT_NE(debug.find("Data/loop"), std::string::npos) << debug;
}

TEST_F(PakWriterTest, LongNamesAreSkippedByCreatePakFromFolder)
{
    const std::string longest(255 - 5, 'n');   // "DATA\\" + 250 characters
    WriteFile("Data/" + longest, "fits");
    WriteFile("Data/" + longest + "x", "too long");
    std::string debug;
    Platform::SetDebugSink([&](const std::string& text) { debug += text; });
    Tandry::CreatePakFromFolder();
    EXPECT_NE(debug.find(longest + "x: name longer than 255 bytes"), std::string::npos) << debug;

    ASSERT_TRUE(mPak->AddPakFile("game.dat"));
    EXPECT_EQ(ReadMember("data/" + longest), "fits");
    EXPECT_EQ(mPak->Records().size(), 2u);

    std::vector<uint8_t> pack;
    std::string error;
    EXPECT_FALSE(Tandry::WritePakToMemory({PakWriteEntry::FromBytes(std::string(256, 'n'), {})}, pack, error));
    EXPECT_NE(error.find("longer than 255"), std::string::npos);
}

TEST_F(PakWriterTest, FilesThatChangedSinceTheListingFailTheWholePack)
{
    WriteFile("game.dat", "old pack");
    const struct {
        const char* what;
        std::function<void()> change;
    } cases[] = {
        {"removed", [] { fs::remove("Data/b.txt"); }},
        {"shrunk", [] { WriteFile("Data/b.txt", "b"); }},
        {"grown", [] { WriteFile("Data/b.txt", "bbbb"); }},
        {"became a folder", [] { fs::remove("Data/b.txt"); fs::create_directory("Data/b.txt"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all("Data");
        WriteFile("Data/a.txt", "a");
        WriteFile("Data/b.txt", "bbb");
        std::string debug;
        Platform::SetDebugSink([&](const std::string& text) { debug += text; });
        Tandry::SetPakWriteHookForTests(c.change);
        Tandry::CreatePakFromFolder();
        EXPECT_NE(debug.find("Data/b.txt"), std::string::npos) << debug;
        EXPECT_EQ(ReadFile("game.dat"), "old pack");
        EXPECT_EQ(NamesIn("."), (std::vector<std::string>{"Data", "game.dat"}));
    }
}

TEST_F(PakWriterTest, FilesOf4GiBOrMoreAreRefused)
{
    PakWriteEntry huge;
    huge.name = "DATA\\HUGE.BIN";
    huge.path = "Data/huge.bin";
    huge.size = uint64_t{1} << 32;
    std::string error;
    EXPECT_FALSE(Tandry::WritePakFile({huge}, "out.pak", error));
    EXPECT_NE(error.find("Data/huge.bin"), std::string::npos) << error;
    EXPECT_EQ(NamesIn("."), std::vector<std::string>{});
}

TEST_F(PakWriterTest, FailedSafeWriteKeepsTheOldPack)
{
    WriteFile("Data/a.txt", "a");
    WriteFile("game.dat", "old pack");
    Platform::SafeWrite::SetFaultForTests(Platform::SafeWrite::Fault::Write);
    Tandry::CreatePakFromFolder();
    EXPECT_EQ(ReadFile("game.dat"), "old pack");
    EXPECT_EQ(NamesIn("."), (std::vector<std::string>{"Data", "game.dat"}));
}

TEST_F(PakWriterTest, AMappedPackIsNotRewrittenInPlace)
{
    WriteFile("Data/a.txt", "first");
    Tandry::CreatePakFromFolder();
    ASSERT_TRUE(mPak->AddPakFile("game.dat"));
    WriteFile("Data/a.txt", "second, longer");
    Tandry::CreatePakFromFolder();
    EXPECT_EQ(ReadMember("data/a.txt"), "first") << "the mapped copy stays intact";
}

} // namespace
