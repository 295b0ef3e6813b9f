#include "game/shell/AmbientSet.h"

#include "audio/SoundBank.h"
#include "audio/SoundInstance.h"

#include <algorithm>

namespace Tandry {

void AmbientSet::Preload(AmbientSet* set)
{
    if (set != nullptr)
        for (const auto& sound : set->sounds)
            GetUiSoundBank().Preload(sound->name);
}

void AmbientSet::Start(AmbientSet* set)
{
    if (set == nullptr)
        return;
    for (const auto& sound : set->sounds) {
        AmbientSound& s = *sound;
        s.BeginFade(1);
        s.running = true;
        s.finished = false;
        if (!s.looping) {
            s.nextInterval = PickFromRanges(s.delays);
        } else if (s.playing.empty()) {
            const float volume = PickFromRanges(s.volumes);
            const float pan = PickFromRanges(s.pans);
            if (SoundInstance* instance =
                    GetUiSoundBank().Play(s.name, false, true, true, volume * s.LoudnessFactor(), pan))
                s.playing.push_back({instance, volume});
        } else {
            for (const AmbientSound::Playing& p : s.playing)
                if (!p.instance->IsPlaying())
                    p.instance->Play(true, false);
        }
    }
}

void AmbientSet::Stop(AmbientSet* set)
{
    if (set == nullptr)
        return;
    for (const auto& sound : set->sounds) {
        AmbientSound& s = *sound;
        if (!s.running) {
            s.timer = 0;
            s.nextInterval = 0;
            continue;
        }
        s.BeginFade(0);
        s.running = false;
    }
}

void AmbientSet::Update(AmbientSet* set, float dt)
{
    if (set != nullptr)
        for (const auto& sound : set->sounds)
            sound->Update(dt);
}

bool AmbientSet::AllFinished() const
{
    return std::all_of(sounds.begin(), sounds.end(), [](const auto& sound) { return sound->finished; });
}

} // namespace Tandry
