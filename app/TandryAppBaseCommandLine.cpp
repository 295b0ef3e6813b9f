// The application's own command-line options: demos, the screen-saver mode
// and the working folder.
#include "app/TandryAppBase.h"

#include "app/AppPaths.h"
#include "app/CommandLineSplitter.h"
#include "app/FindHighestDemoNumber.h"
#include "app/LeadingInt.h"
#include "app/UserDataDir.h"
#include "platform/Platform.h"
#include "util/StringUtils.h"

namespace Tandry {

namespace {

constexpr int kDefaultDemoKeepCount = 5;

} // namespace

void TandryAppBase::ReadCommandLine()
{
    mCommandLineParsed = true;
    SplitCommandLine(CommandLineOptionsText(Platform::GetPlatform().GetProcess().GetCommandLine()));
}

void TandryAppBase::SplitCommandLine(const std::string& text)
{
    SplitCommandLineOptions(text, [this](const std::string& name, const std::string& value) {
        HandleCommandLineOption(name, value);
    });
}

std::string TandryAppBase::NumberedDemoFolder() const
{
    // Numbered demos are searched, pruned, recorded and played in one folder.
    return WideToNarrow(GetUserDataDir());
}

std::string TandryAppBase::MakeDemoPathAbsolute(const std::string& name) const
{
    return IsAbsoluteDemoPath(name) ? name : WideToNarrow(GetUserDataDir()) + name;
}

void TandryAppBase::HandleCommandLineOption(const std::string& name, const std::string& value)
{
    const int number = ReadLeadingInt(value).value_or(0);
    if (name == "-play") {
        mPlayingDemo = true;
        mRecordingDemo = false;
    } else if (name == "-record") {
        mRecordingDemo = true;
        mPlayingDemo = false;
    } else if (name == "-recnum") {
        const int keep = number > 0 ? number : kDefaultDemoKeepCount;
        const int highest = FindHighestDemoNumber(NumberedDemoFolder(), mDemoFilePrefix, keep, true);
        mDemoFileName = NumberedDemoFileName(NumberedDemoFolder(), mDemoFilePrefix, highest + 1LL);
        mRecordingDemo = true;
        mPlayingDemo = false;
    } else if (name == "-playnum") {
        const int back = number > 0 ? number - 1 : 0;
        const int highest = FindHighestDemoNumber(NumberedDemoFolder(), mDemoFilePrefix, back, false);
        mDemoFileName = NumberedDemoFileName(NumberedDemoFolder(), mDemoFilePrefix,
                                             static_cast<long long>(highest) - back);
        mPlayingDemo = true;
        mRecordingDemo = false;
    } else if (name == "-demofile") {
        mDemoFileName = MakeDemoPathAbsolute(value);
    } else if (name == "-crash") {
        // Accepted so that scripts passing it keep working; provoking a crash is not wanted.
    } else if (name == "-screensaver") {
        mScreensaverMode = true;
    } else if (name == "-changedir") {
        mChangeDir = value;
    } else {
        ShowErrorPopupW(LookupString("INVALID_COMMANDLINE_PARAM", L"Invalid command line parameter: ") +
                        WidenString(name));
        DoExit(0);
    }
}

} // namespace Tandry
