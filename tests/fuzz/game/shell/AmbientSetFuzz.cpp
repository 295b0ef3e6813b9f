// Ambient sets on an arbitrary "data/ambient/<name>.ini": the input is the
// file; the set is loaded, started, advanced 1,000 updates over a sound
// manager on the headless mixer (which renders each update's frames, so
// sounds end), stopped, released, advanced 1,000 more and freed. No more
// than the 32 instance slots are ever held, and afterwards all are free.
#include "audio/DSoundManager.h"
#include "audio/SoundBank.h"
#include "audio/SoundInstance.h"
#include "game/shell/AmbientSounds.h"
#include "game/shell/GameApp.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/ini/GameIni.h"

#include "tests/fuzz/FuzzBytes.h"
#include "tests/fuzz/FuzzScratchFolder.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>


namespace {

struct World {
    Platform::HeadlessPlatform* platform = nullptr;
    Tandry::GameApp* game = nullptr;
    Tandry::DSoundManager* manager = nullptr;
};

// A short sound the bank's names play, written once into the scratch folder.
void WriteClick()
{
    std::vector<uint8_t> wav = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                                1, 0, 1, 0, 0x44, 0xAC, 0, 0, 0x88, 0x58, 1, 0, 2, 0, 16, 0, 'd', 'a', 't', 'a'};
    const uint32_t bytes = 2 * 2000;
    for (int shift = 0; shift < 32; shift += 8)
        wav.push_back(static_cast<uint8_t>(bytes >> shift));
    for (uint32_t i = 0; i < bytes; ++i)
        wav.push_back(static_cast<uint8_t>(i * 7));
    std::filesystem::create_directories("data/sound");
    if (FILE* file = std::fopen("data/sound/click.wav", "wb")) {
        std::fwrite(wav.data(), 1, wav.size(), file);
        std::fclose(file);
    }
}

World& Setup()
{
    static World world = [] {
        World made;
        made.platform = &Platform::InstallHeadlessPlatform();
        made.game = new Tandry::GameApp(); // lives until the process ends
        FuzzScratchFolder scratch;
        WriteClick();
        made.manager = new Tandry::DSoundManager(reinterpret_cast<Platform::WindowHandle>(0x40), false);
        Tandry::SoundBank& bank = Tandry::GetUiSoundBank();
        bank.SetSoundManager(made.manager);
        const std::string document = "[sounds]\nwind=click\nbird=click\nwater=click,click\nsilent=\n";
        Tandry::NarrowIniDocument::LoadBytes(document.data(), document.size(), bank.document);
        bank.Preload("wind");
        Tandry::gGameIni.LoadText("[Game]\nAmbientMul=1\n");
        return made;
    }();
    return world;
}

int HeldInstances()
{
    int held = 0;
    for (const auto& entry : Tandry::AmbientSounds::Entries())
        for (const auto& sound : entry.set->sounds)
            held += static_cast<int>(sound->playing.size());
    return held;
}

void Advance(World& world, int updates)
{
    for (int i = 0; i < updates; ++i) {
        Tandry::AmbientSounds::UpdateAll(0.01f);
        FuzzCheck(HeldInstances() <= Tandry::DSoundManager::kInstanceSlots);
        world.platform->Audio().Render(441);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    World& world = Setup();
    FuzzScratchFolder scratch;
    std::filesystem::create_directories("data/ambient");
    if (FILE* file = std::fopen("data/ambient/fuzz.ini", "wb")) {
        if (size > 0)
            std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    Tandry::AmbientSet* set = Tandry::AmbientSounds::Load("fuzz");
    Tandry::AmbientSet::Preload(set);
    Tandry::AmbientSet::Start(set);
    Advance(world, 1000);
    Tandry::AmbientSet::Stop(set);
    Tandry::AmbientSounds::Release(set);
    Advance(world, 1000);
    Tandry::AmbientSounds::FreeAll();
    std::vector<Tandry::SoundInstance*> taken;
    const int id = world.manager->LoadSoundFile("data\\sound\\click");
    while (Tandry::SoundInstance* instance = world.manager->NewSoundInstance(id))
        taken.push_back(instance);
    FuzzCheck(taken.size() == static_cast<size_t>(Tandry::DSoundManager::kInstanceSlots));
    for (Tandry::SoundInstance* instance : taken)
        instance->Discard();
    std::filesystem::remove("data/ambient/fuzz.ini");
    return 0;
}
