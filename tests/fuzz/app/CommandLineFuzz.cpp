// Feeds arbitrary bytes to the command-line reader: as the process's whole
// command line (program path and arguments, split at line breaks) through
// ReadCommandLine, and as options text through SplitCommandLine. Every option
// handed on must have a name, hold only bytes of the input, and have a value
// that the number reader takes without overflow.
#include "app/CommandLineSplitter.h"
#include "app/LeadingInt.h"
#include "app/TandryAppBase.h"
#include "platform/headless/HeadlessPlatform.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

class RecordingApp : public Tandry::TandryAppBase {
public:
    void HandleCommandLineOption(const std::string& name, const std::string& value) override
    {
        Check(!name.empty());
        handedBytes += name.size() + value.size();
        Tandry::ReadLeadingInt(value);
    }
    size_t handedBytes = 0;
};

RecordingApp& App()
{
    // Made once and kept: the platform and the application outlive every input.
    static RecordingApp* app = [] {
        Platform::InstallHeadlessPlatform();
        return new RecordingApp;
    }();
    return *app;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    RecordingApp& app = App();

    app.handedBytes = 0;
    app.SplitCommandLine(text);
    Check(app.handedBytes <= text.size());

    const std::string options = Tandry::CommandLineOptionsText(text);
    Check(options.size() <= text.size());
    app.handedBytes = 0;
    app.SplitCommandLine(options);
    Check(app.handedBytes <= options.size());

    std::vector<std::string> pieces(1);
    for (char c : text) {
        if (c == '\n')
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    auto& process = static_cast<Platform::HeadlessPlatform&>(Platform::GetPlatform()).Process();
    process.SetProgramPath(pieces.front());
    process.SetArguments(std::vector<std::string>(pieces.begin() + 1, pieces.end()));
    app.mCommandLineParsed = false;
    app.ReadCommandLine();
    Check(app.mCommandLineParsed);
    return 0;
}
