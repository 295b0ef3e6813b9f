// One sound of an ambient set: a looping bed or an occasional sound played
// at random intervals with random volume and pan, under the name the UI
// sound bank knows it by, with its fade in or out. The set's start and stop
// set the fades; Update, once per update, plays, fades and tidies. A record
// keeps the instances it started, and discards them when it is destroyed.
#pragma once

#include "game/shell/AmbientRange.h"

#include <string>
#include <vector>

namespace Tandry {

class SoundInstance;

struct AmbientSound {
    struct Playing {
        SoundInstance* instance = nullptr;
        float volume = 0; // as picked, before the loudness factor
    };

    AmbientSound(std::string soundName, bool loops);
    ~AmbientSound();
    AmbientSound(const AmbientSound&) = delete;
    AmbientSound& operator=(const AmbientSound&) = delete;

    // Advances the record by dt seconds.
    void Update(float dt);
    // fade factor × the game's ambient volume × "AmbientMul" of [Game].
    float LoudnessFactor() const;
    // Progress per second of a fade: 1 / a pick from the fade list, or 1000
    // when the pick is 0, negative or not finite.
    float FadeSpeed() const;
    // Every playing instance at its volume × the loudness factor.
    void ApplyVolume();
    // Clears the timers and starts a fade from the current factor to target.
    void BeginFade(float target);

    std::string name;
    AmbientRanges volumes;
    AmbientRanges delays;
    AmbientRanges pauses;
    AmbientRanges pans;
    AmbientRanges fades;
    bool looping;
    float timer = 0;
    float nextInterval = 0;
    float fadeFactor = 0;
    bool running = false;
    bool fading = false;
    float fadeStart = 0;
    float fadeTarget = 0;
    float fadeProgress = 0;
    float fadeSpeed = 0;
    bool finished = false;
    std::vector<Playing> playing;
};

// "AmbientMul" of [Game] in "res\\game.ini", read once; 0 when missing.
float AmbientMultiplier();
// Tests only: reads it again on the next use.
void ResetAmbientMultiplier();

} // namespace Tandry
