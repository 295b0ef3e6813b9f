// One settings save (SaveSettingsToRegistry, nine values) against the file
// registry, which ends it with one safe write of the settings file, beside the
// same save against the in-memory headless registry in the same run. Each save
// changes one value, so every file save really writes. A third figure writes
// the file after every one of the nine values, the cost a save had when each
// change was written at once. Goal: the file save costs about one safe write,
// not nine.
#include "app/TandryAppBase.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/registry/FileRegistry.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

// The headless platform with the file registry in place of the in-memory one.
class FileRegistryPlatform : public Platform::HeadlessPlatform {
public:
    FileRegistryPlatform()
    {
        const std::string file = *Folders().GetSettingsFolder() + "/Hollowmere/Moorglen/registry.ini";
        MutableServices().registry = std::make_unique<Platform::FileRegistry>(file);
    }
};

void InstallPlatform(bool withFile)
{
    if (withFile)
        Platform::InstallPlatform(std::make_unique<FileRegistryPlatform>());
    else
        Platform::InstallHeadlessPlatform();
}

void RunSaves(benchmark::State& state, bool withFile)
{
    InstallPlatform(withFile);
    {
        Tandry::TandryAppBase app;
        app.mRegistryKey = "Hollowmere\\Moorglen";
        app.SaveSettingsToRegistry();
        int x = 0;
        for (auto _ : state) {
            app.mPreferredX = ++x & 1023;
            app.SaveSettingsToRegistry();
        }
    }
    Platform::ResetPlatform();
}

void BM_SettingsSave_FileRegistry(benchmark::State& state)
{
    RunSaves(state, true);
}
BENCHMARK(BM_SettingsSave_FileRegistry)->Unit(benchmark::kMicrosecond);

void BM_SettingsSave_InMemoryRegistry(benchmark::State& state)
{
    RunSaves(state, false);
}
BENCHMARK(BM_SettingsSave_InMemoryRegistry)->Unit(benchmark::kMicrosecond);

void BM_SettingsSave_FileWrittenPerValue(benchmark::State& state)
{
    InstallPlatform(true);
    Platform::Registry& registry = Platform::GetPlatform().GetRegistry();
    Platform::RegistryKey key;
    registry.CreateKey("SOFTWARE\\Hollowmere\\Moorglen", key);
    const char* names[] = {"MusicVolume", "SfxVolume",     "Muted",      "ScreenMode",  "PreferredX",
                           "PreferredY",  "CustomCursors", "InProgress", "WaitForVSync"};
    uint8_t value[4] = {};
    for (auto _ : state) {
        ++value[0];
        for (const char* name : names) {
            registry.SetValue(key, name, Platform::REG_DWORD, value, 4);
            registry.Flush();
        }
    }
    Platform::ResetPlatform();
}
BENCHMARK(BM_SettingsSave_FileWrittenPerValue)->Unit(benchmark::kMicrosecond);

} // namespace
