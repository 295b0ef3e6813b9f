#include "game/shell/AmbientSounds.h"

#include "resources/ini/IniFile.h"

namespace Tandry {
namespace {

std::vector<std::string> Items(const IniSection& section, const std::string& key)
{
    for (const IniKey& k : section.GetKeys())
        if (k.GetName() == key)
            return k.GetValues();
    return {};
}

} // namespace

std::list<AmbientSounds::Entry>& AmbientSounds::List()
{
    static std::list<Entry> list;
    return list;
}

const std::list<AmbientSounds::Entry>& AmbientSounds::Entries()
{
    return List();
}

AmbientSet* AmbientSounds::Load(const std::string& name)
{
    IniFile file;
    file.Load("data/ambient/" + name + ".ini");
    auto set = std::make_unique<AmbientSet>();
    for (const IniSection& section : file.GetSections()) {
        const std::vector<std::string> loop = Items(section, "loop");
        auto sound = std::make_unique<AmbientSound>(section.GetName(), !loop.empty() && loop[0] == "1");
        sound->volumes = ParseAmbientRanges(Items(section, "volume"));
        sound->delays = ParseAmbientRanges(Items(section, "delay"));
        sound->pauses = ParseAmbientRanges(Items(section, "pause"));
        sound->pans = ParseAmbientRanges(Items(section, "pan"));
        sound->fades = ParseAmbientRanges(Items(section, "fade"));
        set->sounds.push_back(std::move(sound));
    }
    file.Clear(); // read only: nothing is saved back
    AmbientSet* loaded = set.get();
    List().push_back({std::move(set), false});
    return loaded;
}

void AmbientSounds::Release(AmbientSet* set)
{
    for (Entry& entry : List())
        if (entry.set.get() == set)
            entry.released = true;
}

void AmbientSounds::ApplyVolume()
{
    for (Entry& entry : List())
        for (const auto& sound : entry.set->sounds)
            sound->ApplyVolume();
}

void AmbientSounds::FreeAll()
{
    std::list<Entry>& list = List();
    for (Entry& entry : list)
        AmbientSet::Stop(entry.set.get());
    list.clear();
}

void AmbientSounds::UpdateAll(float dt)
{
    std::list<Entry>& list = List();
    for (auto it = list.begin(); it != list.end();) {
        AmbientSet::Update(it->set.get(), dt);
        if (it->released && it->set->AllFinished())
            it = list.erase(it);
        else
            ++it;
    }
}

} // namespace Tandry
