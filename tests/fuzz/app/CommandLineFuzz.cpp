// Feeds arbitrary bytes to the application's own command-line handling: as
// options text through SplitCommandLine, and as the process's whole command
// line (program path and arguments, split at line breaks) through
// ReadCommandLine, then carries out "-changedir" the way start-up does.
// Numbered demos are searched, pruned and named in a scratch data folder that
// starts every input with the same files, and the folder change is made only
// when it stays inside the scratch tree; the current folder the input started
// in is put back after it.
#include "tests/fuzz/FuzzBytes.h"
#include "tests/fuzz/FuzzHeadlessPlatform.h"
#include "tests/fuzz/FuzzScratchFolder.h"

#include "app/CommandLineSplitter.h"
#include "app/TandryAppBase.h"
#include "app/UserDataDir.h"
#include "platform/fs/FileOps.h"
#include "util/StringUtils.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const kDemoFiles[] = {"tandryapp1.dmo", "tandryapp2.dmo", "tandryapp7.dmo", "tandryapp00012.dmo",
                                  "tandryapp.dmo",  "tandryappx.dmo", "other3.dmo"};

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class CheckingApp : public Tandry::TandryAppBase {
public:
    void HandleCommandLineOption(const std::string& name, const std::string& value) override
    {
        FuzzCheck(!name.empty());
        handedBytes += name.size() + value.size();
        Tandry::TandryAppBase::HandleCommandLineOption(name, value);
        if (name == "-recnum" || name == "-playnum") {
            FuzzCheck(StartsWith(mDemoFileName, dataFolder + mDemoFilePrefix) && EndsWith(mDemoFileName, ".dmo"));
            FuzzCheck(name == "-recnum" ? mRecordingDemo && !mPlayingDemo : mPlayingDemo && !mRecordingDemo);
            // A new recording never takes the name of a demo that is kept.
            if (name == "-recnum")
                FuzzCheck(!fs::exists(mDemoFileName));
        } else if (name == "-demofile") {
            FuzzCheck(mDemoFileName == value || mDemoFileName == dataFolder + value);
        } else if (name == "-changedir") {
            FuzzCheck(mChangeDir == value);
        }
    }

    size_t handedBytes = 0;
    std::string dataFolder;
};

struct Scratch {
    FuzzHeadlessPlatform* platform = nullptr;
    CheckingApp* app = nullptr;
    fs::path root;
    fs::path work; // the current folder at the start and end of every input
    fs::path data;
};

Scratch& Setup()
{
    // Made once and kept: the platform and the application outlive every input.
    static Scratch scratch = [] {
        Scratch made;
        made.root = FuzzScratchFolder::Path();
        made.work = made.root / "work";
        made.data = made.root / "data";
        for (const char* folder : {"work/Sub", "work/sub dir/Deeper", "work/Demo", "data"})
            fs::create_directories(made.root / folder);
        auto platform = std::make_unique<FuzzHeadlessPlatform>();
        made.platform = platform.get();
        Platform::InstallPlatform(std::move(platform));
        made.app = new CheckingApp;
        Tandry::SetUserDataDir(Tandry::WidenString(made.data.string() + "/"));
        made.app->dataFolder = Tandry::WideToNarrow(Tandry::GetUserDataDir());
        return made;
    }();
    return scratch;
}

void ResetDemoFiles(const Scratch& scratch)
{
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(scratch.data, ignored))
        fs::remove_all(entry.path(), ignored);
    for (const char* name : kDemoFiles)
        std::ofstream(scratch.data / name) << "demo";
}

// Where the folder change would lead, judged on the path's text alone: the
// scratch tree holds no links, so nothing inside it leads outside.
bool StaysInScratch(const Scratch& scratch, const std::string& folder)
{
    if (folder.empty())
        return false;
    std::string slashed = folder;
    for (char& c : slashed) {
        if (c == '\\')
            c = '/';
    }
    fs::path target(slashed);
    if (!target.is_absolute())
        target = fs::current_path() / target;
    const fs::path inside = target.lexically_normal().lexically_relative(scratch.root);
    return !inside.empty() && *inside.begin() != "..";
}

void ChangeFolderAsStartupDoes(const Scratch& scratch)
{
    CheckingApp& app = *scratch.app;
    if (app.OverrideChangeDir(app.mChangeDir) || !StaysInScratch(scratch, app.mChangeDir))
        return;
    if (Platform::SetCurrentFolder(app.mChangeDir))
        FuzzCheck(StaysInScratch(scratch, Platform::GetCurrentFolder()));
}

void RunOptions(const Scratch& scratch, const std::string& text)
{
    CheckingApp& app = *scratch.app;
    app.handedBytes = 0;
    app.mChangeDir.clear();
    try {
        app.SplitCommandLine(text);
    } catch (const Platform::HeadlessExit&) {
        // An option the program does not know ends it after the message.
    }
    FuzzCheck(app.handedBytes <= text.size());
    ChangeFolderAsStartupDoes(scratch);
    FuzzCheck(Platform::SetCurrentFolder(scratch.work.string()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    Scratch& scratch = Setup();
    // Left again, whatever the input did, when this goes out of scope.
    const FuzzScratchFolder inside;
    FuzzCheck(Platform::SetCurrentFolder(scratch.work.string()));
    scratch.platform->ForgetRecords();
    ResetDemoFiles(scratch);
    CheckingApp& app = *scratch.app;

    RunOptions(scratch, text);

    const std::string options = Tandry::CommandLineOptionsText(text);
    FuzzCheck(options.size() <= text.size());
    RunOptions(scratch, options);

    std::vector<std::string> pieces(1);
    for (char c : text) {
        if (c == '\n')
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    scratch.platform->Process().SetProgramPath(pieces.front());
    scratch.platform->Process().SetArguments(std::vector<std::string>(pieces.begin() + 1, pieces.end()));
    app.mCommandLineParsed = false;
    app.mChangeDir.clear();
    try {
        app.ReadCommandLine();
    } catch (const Platform::HeadlessExit&) {
    }
    FuzzCheck(app.mCommandLineParsed);
    ChangeFolderAsStartupDoes(scratch);
    FuzzCheck(Platform::SetCurrentFolder(scratch.work.string()));
    FuzzCheck(fs::current_path() == scratch.work);
    return 0;
}
