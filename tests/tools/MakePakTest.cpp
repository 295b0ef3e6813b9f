#include "tools/makepak/MakePak.h"

#include "platform/fs/ScratchFolder.h"
#include "resources/pak/PakFile.h"
#include "resources/pak/PakInterface.h"
#include "resources/pak/PakTable.h"
#include "resources/pak/PakWriter.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <sstream>

namespace {

using TestSupport::NamesIn;
using TestSupport::ReadFile;
using TestSupport::ScratchFolder;
using TestSupport::WriteFile;
using Tandry::GetSharedPakInterface;
using Tandry::PakClose;
using Tandry::PakFileHandle;
using Tandry::PakInterface;
using Tandry::PakOpen;
using Tandry::PakRead;
using Tandry::PakReadWholeFile;
using Tandry::PakTable;
using Tandry::PakTableEntry;
using Tandry::PakTableStatus;
using Tandry::ParsePakTable;
namespace fs = std::filesystem;

const std::string kFixture = std::string(MOORGLEN_TEST_DATA) + "/files/tool";

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

// Runs the built program in folder, as a user would from a shell.
Outcome RunProgram(const std::string& folder, const std::string& arguments, const ScratchFolder& scratch)
{
    const std::string out = scratch / "stdout.txt";
    const std::string err = scratch / "stderr.txt";
    const std::string command = "cd '" + folder + "' && '" + MOORGLEN_MAKEPAK + "' " + arguments + " >'" + out
        + "' 2>'" + err + "'";
    const int status = std::system(command.c_str());
    Outcome run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
    fs::remove(out);
    fs::remove(err);
    return run;
}

Outcome RunInProcess(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = Tandry::RunMakePak(args, out, err);
    return {code, out.str(), err.str()};
}

std::vector<std::string> TableNames(const std::string& packPath)
{
    const std::string bytes = ReadFile(packPath);
    const PakTable table = ParsePakTable(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_EQ(table.status, PakTableStatus::Ok);
    std::vector<std::string> names;
    for (const PakTableEntry& entry : table.entries)
        names.push_back(entry.name);
    return names;
}

// Every file below folder/Data can be read back from the pack with its bytes.
void ExpectPackHoldsFixture(const std::string& packPath)
{
    PakInterface* pak = GetSharedPakInterface();
    pak->Reset();
    ASSERT_TRUE(pak->AddPakFile(packPath));
    size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kFixture + "/Data")) {
        if (!entry.is_regular_file())
            continue;
        ++files;
        const std::string relative = fs::relative(entry.path(), kFixture).string();
        PakFileHandle* file = PakOpen(relative);
        ASSERT_NE(file, nullptr) << relative;
        EXPECT_NE(file->record, nullptr) << relative;
        std::string bytes(static_cast<size_t>(entry.file_size()) + 1, '\0');
        bytes.resize(PakRead(bytes.data(), 1, bytes.size(), file));
        PakClose(file);
        EXPECT_EQ(bytes, ReadFile(entry.path())) << relative;
    }
    EXPECT_EQ(files, 5u);
    EXPECT_EQ(pak->Records().size(), files + 1);
    pak->Reset();
}

const std::vector<std::string> kFixtureNames = {"DATA\\A.TXT", "DATA\\GUI\\MAIN\\BACK.JPG",
    "DATA\\GUI\\MAIN\\LAYERS.INI", "DATA\\SOUNDS\\CLICK.WAV", "DATA\\SUB\\B.PNG"};

TEST(MakePakProgram, WithoutArgumentsPrintsItsUsage)
{
    ScratchFolder scratch;
    const Outcome run = RunProgram(scratch.Path().string(), "", scratch);
    EXPECT_NE(run.code, 0);
    EXPECT_NE(run.err.find("usage: makepak <output file> <folder>..."), std::string::npos) << run.err;
    EXPECT_EQ(NamesIn(scratch.Path()), std::vector<std::string>{});
}

TEST(MakePakProgram, PacksAFixtureFolderThatTheFileLayerReadsBack)
{
    ScratchFolder scratch;
    const std::string output = scratch / "fixture.pak";
    const Outcome run = RunProgram(kFixture, "'" + output + "' Data", scratch);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(TableNames(output), kFixtureNames);
    ExpectPackHoldsFixture(output);
}

TEST(MakePakProgram, BuildTimePackIsWhatTheProgramWrites)
{
    ScratchFolder scratch;
    const std::string output = scratch / "fixture.pak";
    ASSERT_EQ(RunProgram(kFixture, "'" + output + "' Data", scratch).code, 0);
    EXPECT_EQ(ReadFile(MOORGLEN_FIXTURE_PACK), ReadFile(output));
    ExpectPackHoldsFixture(MOORGLEN_FIXTURE_PACK);
}

TEST(MakePak, BadArgumentsPrintTheUsageAndTouchNothing)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("Data/a.txt", "a");
    WriteFile("out.pak", "previous");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"out.pak"},
        {"out.pak", "/absolute"},
        {"out.pak", "\\absolute"},
        {"out.pak", "../Data"},
        {"out.pak", "Data/../Data"},
        {"out.pak", "./Data"},
        {"out.pak", ""},
        {"-v", "Data"},
        {"out.pak", "Data", "--level=9"},
    };
    for (const auto& args : cases) {
        const Outcome run = RunInProcess(args);
        EXPECT_EQ(run.code, 2) << testing::PrintToString(args);
        EXPECT_NE(run.err.find("usage: makepak"), std::string::npos) << run.err;
        EXPECT_EQ(ReadFile("out.pak"), "previous");
    }
}

TEST(MakePak, FoldersArePackedInArgumentOrderUnderTheNamesGiven)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("Sub/Data/x.txt", "x");
    WriteFile("Res/b.ini", "b");
    WriteFile("Res/a.ini", "a");
    const Outcome run = RunInProcess({"out.pak", "sub\\\\data//", "RES"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("3 files"), std::string::npos) << run.out;
    EXPECT_EQ(TableNames("out.pak"), (std::vector<std::string>{"SUB\\DATA\\X.TXT", "RES\\A.INI", "RES\\B.INI"}));
    PakInterface* pak = GetSharedPakInterface();
    ASSERT_TRUE(pak->AddPakFile("out.pak"));
    std::unique_ptr<char[]> text(PakReadWholeFile("res/b.ini"));
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text.get(), "b");
    pak->Reset();
}

TEST(MakePak, AFileThatCannotBeReadInFullLeavesNoOutput)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    for (const bool oldOutput : {false, true}) {
        SCOPED_TRACE(oldOutput ? "replacing a pack" : "new pack");
        WriteFile("Data/a.txt", "a");
        WriteFile("Data/Sub/b.png", "bbbbb");
        if (oldOutput)
            WriteFile("out.pak", "stale pack");
        Tandry::SetPakWriteHookForTests([] { WriteFile("Data/Sub/b.png", "bb"); });
        const Outcome run = RunInProcess({"out.pak", "Data"});
        Tandry::SetPakWriteHookForTests({});
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find("cannot read Data/Sub/b.png in full"), std::string::npos) << run.err;
        EXPECT_EQ(NamesIn("."), std::vector<std::string>{"Data"});
    }
}

TEST(MakePak, LongNamesAndMissingFoldersAreErrors)
{
    ScratchFolder scratch(ScratchFolder::Enter);
    WriteFile("Data/" + std::string(251, 'n'), "one byte too long with DATA\\");
    WriteFile("Other/ok.txt", "ok");
    WriteFile("out.pak", "stale pack");

    Outcome run = RunInProcess({"out.pak", "Other", "Data"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("name longer than 255 bytes: Data/nnn"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists("out.pak"));

    run = RunInProcess({"out.pak", "Other", "Missing"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("no folder Missing"), std::string::npos) << run.err;
    run = RunInProcess({"out.pak", "Other/ok.txt"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("no folder Other/ok.txt"), std::string::npos) << run.err;
    run = RunInProcess({"no/such/folder/out.pak", "Other"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("cannot create no/such/folder/out.pak"), std::string::npos) << run.err;
    EXPECT_EQ(NamesIn("."), (std::vector<std::string>{"Data", "Other"}));
}

} // namespace
