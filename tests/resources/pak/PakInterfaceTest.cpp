#include "resources/pak/PakInterface.h"

#include "platform/fs/FileOps.h"
#include "resources/pak/PakFile.h"
#include "resources/pak/PakTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

using TestSupport::MakePack;
using TestSupport::PakLayerTest;
using TestSupport::ReadFile;
using TestSupport::WriteFile;
using TestSupport::WritePack;
using Tandry::GetSharedPakInterface;
using Tandry::PakAtEnd;
using Tandry::PakClose;
using Tandry::PakCloseIfOpen;
using Tandry::PakCodecRead;
using Tandry::PakCodecSeek;
using Tandry::PakFileHandle;
using Tandry::PakFindClose;
using Tandry::PakFindFirst;
using Tandry::PakFindNext;
using Tandry::PakFindRecord;
using Tandry::PakGetChar;
using Tandry::PakOpen;
using Tandry::PakRead;
using Tandry::PakReadBytes;
using Tandry::PakReadWholeFile;
using Tandry::PakSeek;
using Tandry::PakSeekCallback;
using Tandry::PakTell;
using Tandry::PakUngetChar;
using Tandry::PublishPakInterface;

struct Closer {
    void operator()(PakFileHandle* file) const { PakCloseIfOpen(file); }
};
using Handle = std::unique_ptr<PakFileHandle, Closer>;

Handle Open(const std::string& name, const char* mode = "rb")
{
    return Handle(PakOpen(name, mode));
}

std::string ReadRest(PakFileHandle* file)
{
    std::string text;
    char buffer[7];
    size_t n = 0;
    while ((n = PakRead(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    return text;
}

std::string ReadName(const std::string& name)
{
    Handle file = Open(name);
    return file ? ReadRest(file.get()) : "<none>";
}

using PakInterfaceTest = PakLayerTest;

TEST_F(PakInterfaceTest, OneRecordUnderEverySpellingOfItsName)
{
    WritePack("main.pak", {{"DATA\\SOUNDS\\CLICK.WAV", "packed"}, {"DATA\\Y.PNG", "why"}});
    ASSERT_TRUE(mPak->AddPakFile("main.pak"));
    WriteFile("data/sounds/click.wav", "loose");

    const std::string here = Platform::GetCurrentFolder();
    for (const std::string& name : {std::string("data/Sounds//Click.WAV"), std::string("DATA\\SOUNDS\\CLICK.WAV"),
             here + "/data/sounds/click.wav", here + "\\DATA\\Sounds\\click.wav"}) {
        Handle file = Open(name);
        ASSERT_NE(file, nullptr) << name;
        EXPECT_NE(file->record, nullptr) << name;
        EXPECT_EQ(ReadRest(file.get()), "packed") << name;
    }

    // The leading dot component stays in the key, so this one comes from disk.
    Handle dotted = Open("./data/sounds/click.wav");
    ASSERT_NE(dotted, nullptr);
    EXPECT_EQ(dotted->record, nullptr);
    EXPECT_EQ(ReadRest(dotted.get()), "loose");

    EXPECT_EQ(ReadName("data/x/../y.png"), "why");
    EXPECT_EQ(ReadName("data/sounds/other.wav"), "<none>");
}

TEST_F(PakInterfaceTest, OnlyReadModesLookInThePacks)
{
    WritePack("main.pak", {{"DATA\\A.TXT", "packed"}});
    ASSERT_TRUE(mPak->AddPakFile("main.pak"));
    WriteFile("Data/a.txt", "loose");

    for (const char* mode : {"r", "rb", "rt", "RB", "Rt"}) {
        Handle file = Open("data/a.txt", mode);
        ASSERT_NE(file, nullptr) << mode;
        EXPECT_NE(file->record, nullptr) << mode;
    }
    {
        Handle file = Open("data/a.txt", "r+");
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(file->record, nullptr);
    }
    for (const char* mode : {"w", "wb"}) {
        Handle file = Open("data/a.txt", mode);
        ASSERT_NE(file, nullptr) << mode;
        EXPECT_EQ(file->record, nullptr) << mode;
        ASSERT_EQ(std::fputs(mode, file->file), 1);
    }
    EXPECT_EQ(ReadFile("Data/a.txt"), "wb") << "written on disk, in the existing file";
    EXPECT_EQ(ReadName("data/a.txt"), "packed");
}

TEST_F(PakInterfaceTest, LaterPacksAndLaterEntriesWin)
{
    WritePack("main.pak", {{"DATA\\BOTH.TXT", "main"}, {"DATA\\MAIN.TXT", "only main"}});
    WritePack("game.dat", {{"DATA\\TWICE.TXT", "first"}, {"DATA\\BOTH.TXT", "game"}, {"data\\twice.txt", "second"}});
    ASSERT_TRUE(mPak->AddPakFile("main.pak"));
    ASSERT_TRUE(mPak->AddPakFile("game.dat"));
    EXPECT_EQ(ReadName("data/both.txt"), "game");
    EXPECT_EQ(ReadName("data/main.txt"), "only main");
    EXPECT_EQ(ReadName("data/twice.txt"), "second");
    EXPECT_EQ(mPak->Records().at("DATA\\TWICE.TXT").name, "data\\twice.txt");
}

TEST_F(PakInterfaceTest, PakOpenTriesPrefixFolderThenNameThenAlias)
{
    WritePack("main.pak", {{"DATA\\GERMAN\\BOTH.TXT", "prefixed"}, {"BOTH.TXT", "plain"},
                              {"DATA\\NAME.TXT", "name"}, {"DATA\\KEPT.PNG", "kept"}});
    ASSERT_TRUE(mPak->AddPakFile("main.pak"));
    WriteFile("data/german/disk.txt", "prefixed on disk");
    mPak->SetPrefixFolder("data\\german\\");
    mPak->Aliases()["DATA\\REMOVED.PNG"] = "DATA\\KEPT.PNG";
    mPak->Aliases()["DATA\\NAME.TXT"] = "DATA\\KEPT.PNG";

    EXPECT_EQ(ReadName("both.txt"), "prefixed");
    EXPECT_EQ(ReadName("disk.txt"), "prefixed on disk");
    EXPECT_EQ(ReadName("data/name.txt"), "name") << "the alias comes last";
    EXPECT_EQ(ReadName("Data/Removed.png"), "kept");
    EXPECT_EQ(mPak->LookupAlias("data/removed.PNG"), "DATA\\KEPT.PNG");
    EXPECT_EQ(mPak->LookupAlias("data/kept.png"), "");

    mPak->SetPrefixFolder("");
    EXPECT_EQ(ReadName("Both.txt"), "plain");
    EXPECT_EQ(ReadName("disk.txt"), "<none>");
}

TEST_F(PakInterfaceTest, SeekTellAndReadOnOneRecord)
{
    ASSERT_TRUE(mPak->AddPakMemory("mem.pak", MakePack({{"R", "0123456789"}})));
    Handle file = Open("r");
    ASSERT_NE(file, nullptr);
    PakFileHandle* f = file.get();

    const struct {
        int64_t offset;
        int origin;
        int64_t position;
    } steps[] = {
        {0, 2, 10},            // origin 2 moves back from the end ...
        {5, 2, 5},             // ... by a positive offset
        {-3, 0, 0},            // clamped at the start
        {4, 0, 4},
        {100, 1, 10},          // past the end: the size
        {-7, 1, 3},
        {8, 7, 3},             // unknown origin: stays
        {-1, 2, 10},           // clamped at the end
        {LLONG_MAX, 1, 10},    // no overflow
        {LLONG_MIN, 1, 0},
        {LLONG_MIN, 2, 10},
        {LLONG_MAX, 2, 0},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(PakSeek(f, s.offset, s.origin), 0);
        EXPECT_EQ(PakTell(f), s.position) << s.offset << " from " << s.origin;
    }

    char buffer[16] = {};
    PakSeek(f, 0, 0);
    EXPECT_EQ(PakRead(buffer, 4, 3, f), 2u) << "10 bytes copied: two whole elements";
    EXPECT_EQ(std::string(buffer, 10), "0123456789");
    EXPECT_EQ(PakTell(f), 10);
    EXPECT_TRUE(PakAtEnd(f));
    EXPECT_EQ(PakRead(buffer, 1, 5, f), 0u);

    PakSeek(f, 2, 0);
    EXPECT_EQ(PakRead(buffer, 0, 5, f), 0u);
    EXPECT_EQ(PakTell(f), 2) << "element size 0 moves nothing";
    EXPECT_EQ(PakRead(buffer, 2, SIZE_MAX, f), 4u) << "a count that overflows reads the rest";
    EXPECT_EQ(std::string(buffer, 8), "23456789");
    PakSeek(f, 7, 0);
    EXPECT_EQ(PakReadBytes(f, buffer, 10), 3u);
    EXPECT_EQ(std::string(buffer, 3), "789");
}

TEST_F(PakInterfaceTest, CharactersAndLinesDropCarriageReturns)
{
    ASSERT_TRUE(mPak->AddPakMemory("mem.pak", MakePack({{"CRLF", "A\r\n"}, {"LINES", "ab\r\ncd\n\rlast"}, {"E", ""}})));
    Handle crlf = Open("crlf");
    EXPECT_EQ(PakGetChar(crlf.get()), 0x41);
    EXPECT_EQ(PakGetChar(crlf.get()), 10);
    EXPECT_EQ(PakGetChar(crlf.get()), -1);
    EXPECT_TRUE(PakAtEnd(crlf.get()));

    PakSeek(crlf.get(), 0, 0);
    EXPECT_EQ(PakUngetChar('x', crlf.get()), 'x');
    EXPECT_EQ(PakTell(crlf.get()), 0) << "at the start it stays";
    EXPECT_EQ(PakGetChar(crlf.get()), 0x41);
    PakUngetChar('x', crlf.get());
    EXPECT_EQ(PakGetChar(crlf.get()), 0x41) << "the byte stepped back over, not the one given";

    Handle lines = Open("lines");
    char line[16];
    ASSERT_NE(mPak->GetLine(line, sizeof line, lines.get()), nullptr);
    EXPECT_STREQ(line, "ab\n");
    ASSERT_NE(mPak->GetLine(line, 2, lines.get()), nullptr);
    EXPECT_STREQ(line, "c") << "at most maximum - 1 characters";
    ASSERT_NE(mPak->GetLine(line, sizeof line, lines.get()), nullptr);
    EXPECT_STREQ(line, "d\n");
    ASSERT_NE(mPak->GetLine(line, sizeof line, lines.get()), nullptr);
    EXPECT_STREQ(line, "last");
    EXPECT_EQ(mPak->GetLine(line, sizeof line, lines.get()), nullptr);

    wchar_t wide[4] = {L'k', 0};
    PakSeek(lines.get(), 0, 0);
    EXPECT_EQ(mPak->GetWideLine(wide, 4, lines.get()), wide);
    EXPECT_EQ(wide[0], L'k');
    EXPECT_EQ(PakTell(lines.get()), 0);

    Handle empty = Open("e");
    EXPECT_EQ(PakGetChar(empty.get()), -1);
    EXPECT_EQ(mPak->GetLine(line, sizeof line, empty.get()), nullptr);
}

TEST_F(PakInterfaceTest, PlainFilesKeepTheirBytesAndEndAsTheRuntimeDoes)
{
    WriteFile("Loose.txt", "A\r\nB");
    Handle file = Open("loose.TXT");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->record, nullptr);
    EXPECT_EQ(PakGetChar(file.get()), 'A');
    EXPECT_EQ(PakGetChar(file.get()), '\r');
    EXPECT_EQ(PakUngetChar('Q', file.get()), 'Q');
    EXPECT_EQ(PakGetChar(file.get()), 'Q');
    PakSeek(file.get(), 0, 2);
    EXPECT_EQ(PakTell(file.get()), 4);
    EXPECT_FALSE(PakAtEnd(file.get())) << "feof: only after a read has met the end";
    EXPECT_EQ(PakGetChar(file.get()), -1);
    EXPECT_TRUE(PakAtEnd(file.get()));
    PakSeek(file.get(), -1, 2);
    EXPECT_EQ(PakGetChar(file.get()), 'B') << "fseek adds the offset to the end";
}

TEST_F(PakInterfaceTest, ReadWholeFile)
{
    ASSERT_TRUE(mPak->AddPakMemory("mem.pak", MakePack({{"DATA\\T.XML", "<a/>"}, {"DATA\\EMPTY", ""}})));
    WriteFile("Data/Disk.ini", std::string("k=v\0x", 5));

    std::unique_ptr<char[]> text(PakReadWholeFile("data/t.xml"));
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text.get(), "<a/>");
    std::unique_ptr<char[]> disk(PakReadWholeFile("data/disk.ini"));
    ASSERT_NE(disk, nullptr);
    EXPECT_EQ(std::memcmp(disk.get(), "k=v\0x\0", 6), 0);
    EXPECT_EQ(PakReadWholeFile("data/empty"), nullptr);
    EXPECT_EQ(PakReadWholeFile("data/missing"), nullptr);
    EXPECT_EQ(PakReadWholeFile("data"), nullptr) << "a folder is not a file";
}

TEST_F(PakInterfaceTest, AFailedOpenReadsAsNothing)
{
    char buffer[4];
    EXPECT_EQ(PakRead(buffer, 1, 4, nullptr), 0u);
    EXPECT_EQ(PakSeek(nullptr, 0, 0), -1);
    EXPECT_EQ(PakTell(nullptr), -1);
    EXPECT_EQ(PakGetChar(nullptr), -1);
    EXPECT_TRUE(PakAtEnd(nullptr));
    EXPECT_EQ(mPak->GetLine(buffer, 4, nullptr), nullptr);
    EXPECT_FALSE(PakFindNext(nullptr, *std::make_unique<Platform::FindData>()));
    PakClose(nullptr);
}

TEST_F(PakInterfaceTest, StreamCallbacks)
{
    ASSERT_TRUE(mPak->AddPakMemory("mem.pak", MakePack({{"S", "stream"}})));
    Handle file = Open("s");
    EXPECT_EQ(PakSeekCallback(nullptr, 0, 0), -1);
    EXPECT_EQ(PakSeekCallback(file.get(), (int64_t{1} << 32) + 2, 0), 0);
    EXPECT_EQ(PakTell(file.get()), 6) << "the whole 64-bit offset, clamped";
    EXPECT_EQ(PakCodecSeek(file.get(), 2), 0);
    char buffer[8];
    EXPECT_EQ(PakCodecRead(buffer, 8, file.get()), 4u);
    EXPECT_EQ(std::string(buffer, 4), "ream");
}

TEST_F(PakInterfaceTest, PackFileOpensUnscrambledUnderItsOwnPath)
{
    WritePack("Main.pak", {{"X", "x"}});
    ASSERT_TRUE(mPak->AddPakFile("Main.pak"));
    Handle whole = Open("main.pak");
    ASSERT_NE(whole, nullptr);
    ASSERT_NE(whole->record, nullptr);
    EXPECT_EQ(whole->record->size, std::filesystem::file_size("Main.pak"));
    uint8_t header[8];
    ASSERT_EQ(PakRead(header, 1, 8, whole.get()), 8u);
    const uint8_t expected[8] = {0xC0, 0x4A, 0xC0, 0xBA, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(header, expected, 8), 0);
}

TEST_F(PakInterfaceTest, DamagedPacksEnterNothingAndHarmNoOtherPack)
{
    const std::vector<uint8_t> good = MakePack({{"DATA\\GOOD.TXT", "good"}});
    WriteFile("main.pak", std::string(good.begin(), good.end()));

    std::vector<uint8_t> wrongMagic = MakePack({{"DATA\\BAD.TXT", "bad"}});
    wrongMagic[0] ^= 0xFF;
    std::vector<uint8_t> version = MakePack({{"DATA\\BAD.TXT", "bad"}});
    version[4] ^= 1;
    std::vector<uint8_t> cut = MakePack({{"DATA\\GOOD.TXT", "evil"}, {"DATA\\BAD.TXT", "bad"}});
    cut.resize(8 + 2 + 13 + 12 + 2 + 5);   // inside the second entry's name
    std::vector<uint8_t> pastEnd = MakePack({{"DATA\\GOOD.TXT", "evil"}, {"DATA\\BAD.TXT", "bad"}});
    pastEnd.pop_back();

    for (const auto& [what, bytes] : {std::pair{"wrong magic", wrongMagic}, std::pair{"version", version},
             std::pair{"table cut inside an entry", cut}, std::pair{"data past the end", pastEnd}}) {
        SCOPED_TRACE(what);
        mPak->Reset();
        ASSERT_TRUE(mPak->AddPakFile("main.pak"));
        WriteFile("game.dat", std::string(bytes.begin(), bytes.end()));
        EXPECT_FALSE(mPak->AddPakFile("game.dat"));
        EXPECT_EQ(ReadName("data/good.txt"), "good");
        EXPECT_EQ(ReadName("data/bad.txt"), "<none>");
        EXPECT_EQ(mPak->Records().size(), 3u) << "both packs' own records and the good entry";
    }
    EXPECT_FALSE(mPak->AddPakFile("missing.pak"));
    EXPECT_EQ(mPak->Records().size(), 3u);
}

TEST_F(PakInterfaceTest, ResetUnmapsPacksAndDropsEverything)
{
    WritePack("main.pak", {{"A", "a"}});
    ASSERT_TRUE(mPak->AddPakFile("main.pak"));
    mPak->SetPrefixFolder("data\\x\\");
    mPak->Aliases()["B"] = "A";
    mPak->Reset();
    EXPECT_TRUE(mPak->Records().empty());
    EXPECT_TRUE(mPak->Aliases().empty());
    EXPECT_EQ(mPak->PrefixFolder(), "");
    EXPECT_EQ(ReadName("a"), "<none>");
    ASSERT_TRUE(mPak->AddPakFile("main.pak"));
    EXPECT_EQ(ReadName("a"), "a");
}

TEST_F(PakInterfaceTest, WithoutAPublishedInterfaceFilesComeFromDisk)
{
    ASSERT_TRUE(mPak->AddPakMemory("mem.pak", MakePack({{"DATA\\A.TXT", "packed"}})));
    WriteFile("Data/B.txt", "loose b");
    PublishPakInterface(nullptr);
    EXPECT_EQ(GetSharedPakInterface(), nullptr);

    EXPECT_EQ(ReadName("data/a.txt"), "<none>");
    Handle file = Open("data\\b.TXT");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(PakGetChar(file.get()), 'l');
    EXPECT_EQ(PakUngetChar('l', file.get()), 'l');
    EXPECT_EQ(PakSeek(file.get(), 0, 2), 0);
    EXPECT_EQ(PakTell(file.get()), 7);
    EXPECT_EQ(PakSeek(file.get(), 6, 0), 0);
    EXPECT_EQ(ReadRest(file.get()), "b");
    EXPECT_TRUE(PakAtEnd(file.get()));
    file.reset();
    std::unique_ptr<char[]> text(PakReadWholeFile("DATA/b.txt"));
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text.get(), "loose b");

    Platform::FindData data;
    PakFindRecord* find = PakFindFirst("data/*.txt", data);
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(data.name, "B.txt");
    EXPECT_FALSE(PakFindNext(find, data));
    PakFindClose(find);

    PublishPakInterface(mPak);
    EXPECT_EQ(ReadName("data/a.txt"), "packed");
}

// The same four bytes as a pack member and as a loose file, driven through
// one list of steps at and past the end: each kind keeps its own answers, so
// a step taken down the other kind's path shows.
TEST_F(PakInterfaceTest, BothKindsOfHandleAtAndPastTheEnd)
{
    ASSERT_TRUE(mPak->AddPakMemory("mem.pak", MakePack({{"PACKED.BIN", "wxyz"}})));
    WriteFile("loose.bin", "wxyz");
    Handle packed = Open("packed.bin");
    Handle loose = Open("loose.bin");
    ASSERT_NE(packed, nullptr);
    ASSERT_NE(packed->record, nullptr);
    ASSERT_NE(loose, nullptr);
    ASSERT_EQ(loose->record, nullptr);

    enum class Op { Seek, GetChar, ReadByte, Unget };
    struct After {
        int64_t result;
        int64_t position;
        bool atEnd;
    };
    const struct {
        const char* what;
        Op op;
        int64_t offset;
        int origin;
        After packed;
        After loose;
    } steps[] = {
        {"to the end", Op::Seek, 0, 2, {0, 4, true}, {0, 4, false}},
        {"getc at the end", Op::GetChar, 0, 0, {-1, 4, true}, {-1, 4, true}},
        {"2 past the end", Op::Seek, 2, 1, {0, 4, true}, {0, 6, false}},
        {"getc past the end", Op::GetChar, 0, 0, {-1, 4, true}, {-1, 6, true}},
        {"read past the end", Op::ReadByte, 0, 0, {0, 4, true}, {0, 6, true}},
        {"1 from the end", Op::Seek, 1, 2, {0, 3, false}, {0, 5, false}},
        {"getc there", Op::GetChar, 0, 0, {'z', 4, true}, {-1, 5, true}},
        {"-1 from the end", Op::Seek, -1, 2, {0, 4, true}, {0, 3, false}},
        {"getc there", Op::GetChar, 0, 0, {-1, 4, true}, {'z', 4, false}},
        {"unget", Op::Unget, 'q', 0, {'q', 3, false}, {'q', 3, false}},
        {"getc after unget", Op::GetChar, 0, 0, {'z', 4, true}, {'q', 4, false}},
        {"before the start", Op::Seek, -1, 0, {0, 0, false}, {-1, 4, false}},
    };
    for (const auto& [file, kind] : {std::pair{packed.get(), "packed"}, std::pair{loose.get(), "loose"}}) {
        PakSeek(file, 0, 0);
        for (const auto& s : steps) {
            SCOPED_TRACE(std::string(kind) + ": " + s.what);
            int64_t result = 0;
            char byte = 0;
            if (s.op == Op::Seek)
                result = PakSeek(file, s.offset, s.origin);
            else if (s.op == Op::GetChar)
                result = PakGetChar(file);
            else if (s.op == Op::ReadByte)
                result = static_cast<int64_t>(PakRead(&byte, 1, 1, file));
            else
                result = PakUngetChar(static_cast<int>(s.offset), file);
            const After& expected = file->record != nullptr ? s.packed : s.loose;
            EXPECT_EQ(result, expected.result);
            EXPECT_EQ(PakTell(file), expected.position);
            EXPECT_EQ(PakAtEnd(file), expected.atEnd);
        }
    }
}

TEST_F(PakInterfaceTest, AnOpenHandleKeepsReadingWhenTheInterfaceIsUnpublished)
{
    ASSERT_TRUE(mPak->AddPakMemory("mem.pak", MakePack({{"A.TXT", "packed"}})));
    Handle file = Open("a.txt");
    ASSERT_NE(file, nullptr);
    PublishPakInterface(nullptr);
    PakSeek(file.get(), 1, 0);
    const std::string rest = ReadRest(file.get());
    PublishPakInterface(mPak);
    EXPECT_EQ(rest, "acked") << "what a handle does is its own, not the published layer's";
}

TEST_F(PakInterfaceTest, TableNamesAndLookedUpNamesFoldAlike)
{
    ASSERT_TRUE(mPak->AddPakMemory("mem.pak", MakePack({{"data\\Caf\xe9.txt", "entered as written"}})));
    EXPECT_EQ(mPak->Records().count("DATA\\CAF\xe9.TXT"), 1u);
    EXPECT_EQ(ReadName("DATA/caf\xe9.TXT"), "entered as written");
    EXPECT_EQ(ReadName("data/caf\xc9.txt"), "<none>") << "only 'a'..'z' fold, in the table as in the lookup";
}

struct Found {
    std::string name;
    uint32_t attributes;
    uint64_t size;
    bool operator==(const Found&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Found& f)
{
    return out << "{" << f.name << ", " << f.attributes << ", " << f.size << "}";
}

std::vector<Found> FindAll(const std::string& pattern)
{
    std::vector<Found> found;
    Platform::FindData data;
    PakFindRecord* find = PakFindFirst(pattern, data);
    if (find == nullptr)
        return found;
    do
        found.push_back({data.name, data.attributes, data.size});
    while (PakFindNext(find, data) && found.size() < 100);
    PakFindClose(find);
    return found;
}

TEST_F(PakInterfaceTest, FindListsPackRecordsFirstThenTheFolderOnDisk)
{
    ASSERT_TRUE(mPak->AddPakMemory("mem.pak", MakePack({{"DATA\\GUI\\MAIN\\LAYERS.INI", "12"}, {"DATA\\GUI\\A.PNG", "1"},
        {"DATA\\GUIDE.TXT", "not in the folder"}, {"DATA\\GUI\\SUB\\X", "one-letter name"}, {"DATA\\OTHER.PNG", ""}})));
    WriteFile("Data/Gui/z.txt", "zz");
    WriteFile("Data/Gui/B.png", "bbb");
    std::filesystem::create_directory("Data/Gui/Disk");

    const uint32_t folder = Platform::kFileAttributeDirectory;
    EXPECT_EQ(FindAll("data/gui/*.*"), (std::vector<Found>{
        {"A.PNG", 0, 1},
        {"LAYERS.INI", 0, 2},   // from a sub-folder, under its bare name
        {"X", folder, 15},      // a "\\" among the key's last two characters reads as a folder
        {".", folder, 0},
        {"..", folder, 0},
        {"B.png", 0, 3},
        {"Disk", folder, 0},
        {"z.txt", 0, 2},
    }));
    EXPECT_EQ(FindAll("DATA\\*.PNG"), (std::vector<Found>{{"A.PNG", 0, 1}, {"OTHER.PNG", 0, 0}}))
        << "the key's end must match; nothing on disk matches in Data";
    EXPECT_EQ(FindAll("data/gui/z.txt"), (std::vector<Found>{{"z.txt", 0, 2}})) << "no '*': no pack record";
    EXPECT_EQ(FindAll("data/nothing/*.*"), std::vector<Found>{});
}

TEST_F(PakInterfaceTest, FindMatchesEveryRecordOnceEvenWithAnEmptyName)
{
    const std::vector<uint8_t> pack = MakePack({{"", "no name"}, {"B", "b"}});
    ASSERT_TRUE(mPak->AddPakMemory("MEM", pack));
    std::filesystem::create_directory("only");
    const uint32_t folder = Platform::kFileAttributeDirectory;
    EXPECT_EQ(FindAll("*"), (std::vector<Found>{
        {"", 0, 7}, {"B", 0, 1}, {"MEM", 0, pack.size()},
        {".", folder, 0}, {"..", folder, 0}, {"only", folder, 0},
    }));
}

} // namespace
