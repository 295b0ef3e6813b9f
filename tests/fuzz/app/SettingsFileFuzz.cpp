// Arbitrary bytes as the settings file, read the way the program reads it at
// start: the file store loads the file where it expects it, then the
// application takes its values with LoadSettingsFromRegistry. Whatever the
// file holds, the values must load without fault, the mark of a run in
// progress must be stored afterwards, and a file the store refuses is only
// ever moved aside whole, never changed.
#include "tests/fuzz/FuzzBytes.h"
#include "tests/fuzz/FuzzHeadlessPlatform.h"

#include "app/TandryAppBase.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Setup {
    FuzzHeadlessPlatform* platform = nullptr;
    Tandry::TandryAppBase* app = nullptr;
    fs::path file;
};

Setup& Made()
{
    // Made once and kept: the platform and the application outlive every input.
    static Setup setup = [] {
        Setup made;
        auto platform = std::make_unique<FuzzHeadlessPlatform>();
        made.platform = platform.get();
        // The file is where the program's store looks for it, in the headless
        // platform's own temporary settings folder.
        made.file = fs::path(*platform->Folders().GetSettingsFolder()) / platform->GetCompanyName() /
            platform->GetProductName() / "registry.ini";
        fs::create_directories(made.file.parent_path());
        Platform::InstallPlatform(std::move(platform));
        made.app = new Tandry::TandryAppBase;
        return made;
    }();
    return setup;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Setup& setup = Made();
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(setup.file.parent_path(), ignored))
        fs::remove_all(entry.path(), ignored);
    std::ofstream(setup.file, std::ios::binary) << text;

    setup.platform->ForgetRecords();
    setup.platform->UseFileRegistry(setup.file.string());

    Tandry::TandryAppBase& app = *setup.app;
    app.mRegistryKey = setup.platform->GetCompanyName() + "\\" + setup.platform->GetProductName();
    app.mScreensaverMode = false;
    app.mSettingsLoaded = false;
    app.LoadSettingsFromRegistry();
    FuzzCheck(app.mSettingsLoaded);

    int inProgress = 0;
    FuzzCheck(app.ReadRegistryDword("InProgress", &inProgress) && inProgress == 1);

    const fs::path aside = setup.file.string() + ".corrupt";
    if (fs::exists(aside))
        FuzzCheck(ReadFile(aside) == text);
    return 0;
}
