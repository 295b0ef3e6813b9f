#include "game/shell/AmbientSound.h"

#include "audio/SoundBank.h"
#include "audio/SoundInstance.h"
#include "game/shell/GameApp.h"
#include "resources/ini/GameIni.h"

#include <cmath>
#include <optional>

namespace Tandry {
namespace {

std::optional<float> gAmbientMultiplier;

} // namespace

float AmbientMultiplier()
{
    if (!gAmbientMultiplier)
        gAmbientMultiplier = gGameIni.GetFloat("ambientmul", "game", 0);
    return *gAmbientMultiplier;
}

void ResetAmbientMultiplier()
{
    gAmbientMultiplier.reset();
}

AmbientSound::AmbientSound(std::string soundName, bool loops)
    : name(std::move(soundName))
    , looping(loops)
{
    if (!looping) {
        fadeFactor = 1;
        fadeStart = 1;
        fadeTarget = 1;
    }
}

AmbientSound::~AmbientSound()
{
    // Stopped beds keep their instances so that a new start reuses them; once
    // the record goes, nothing else could give their slots back.
    for (const Playing& p : playing)
        p.instance->Discard();
}

float AmbientSound::LoudnessFactor() const
{
    const double ambientVolume = gGameApp != nullptr ? gGameApp->GetAmbientVolume() : 0;
    return static_cast<float>(fadeFactor * ambientVolume * AmbientMultiplier());
}

float AmbientSound::FadeSpeed() const
{
    const float pick = PickFromRanges(fades);
    // A negative or endless fade would never finish, and its set would never go.
    if (!(pick > 0) || !std::isfinite(pick))
        return 1000;
    return 1 / pick;
}

void AmbientSound::ApplyVolume()
{
    const float loudness = LoudnessFactor();
    for (const Playing& p : playing)
        p.instance->SetPlayVolume(p.volume * loudness);
}

void AmbientSound::BeginFade(float target)
{
    timer = 0;
    nextInterval = 0;
    fadeStart = fadeFactor;
    fading = true;
    fadeTarget = target;
    fadeProgress = 0;
    fadeSpeed = FadeSpeed();
}

void AmbientSound::Update(float dt)
{
    if (finished)
        return;
    if (running && !looping) {
        timer += dt;
        if (nextInterval <= timer) {
            timer = 0;
            nextInterval = PickFromRanges(pauses);
            const float volume = PickFromRanges(volumes);
            const float pan = PickFromRanges(pans);
            if (SoundInstance* instance =
                    GetUiSoundBank().Play(name, false, false, fading, volume * LoudnessFactor(), pan))
                playing.push_back({instance, volume});
        }
    }
    if (!looping) {
        std::erase_if(playing, [](const Playing& p) {
            if (p.instance->IsPlaying())
                return false;
            p.instance->Discard();
            return true;
        });
    }
    if (!fading)
        return;
    fadeProgress += dt * fadeSpeed;
    if (fadeProgress >= 1) {
        fadeProgress = 0;
        fadeFactor = fadeTarget;
        fading = false;
        if (fadeTarget == 0) {
            for (const Playing& p : playing) {
                if (looping)
                    p.instance->Stop();
                else
                    p.instance->Discard();
            }
            if (!looping)
                playing.clear();
            finished = true;
        }
    } else {
        fadeFactor = fadeStart + fadeProgress * (fadeTarget - fadeStart);
    }
    ApplyVolume();
}

} // namespace Tandry
