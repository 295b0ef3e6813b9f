// Interface and effect sounds by name ("buttonPress", "KeyPick"): each name
// maps to one or more sound files in section "sounds" of "res\\sounds.ini",
// loaded into the sound manager the first time the name is played and
// chosen among at random on every play. One bank per process
// (GetUiSoundBank); the application hands it the sound manager, the game
// loads its document, and boards, ambient sets and movies play through it.
#pragma once

#include "resources/ini/IniDocument.h"

#include <map>
#include <string>
#include <vector>

namespace Tandry {

class SoundInstance;
class SoundManager;

class SoundBank {
public:
    // The manager the bank loads into and plays through; null while there
    // is none, and then nothing loads or plays.
    void SetSoundManager(SoundManager* manager) { mSoundManager = manager; }
    SoundManager* GetSoundManager() const { return mSoundManager; }

    // Loads the name's files and answers one of their ids at random; -1
    // when the name is missing, empty or a file fails to load.
    int PickSoundId(const std::string& name);
    // Loads the name's files without playing, unless done already.
    void Preload(const std::string& name);
    // Null when nothing plays. Volume 0 plays only when forced; volume -1
    // leaves the play volume alone. Pan runs from -1 (left) to 1 (right).
    SoundInstance* Play(const std::string& name, bool autoRelease, bool looping, bool force, double volume,
                        double pan);
    // Frees every loaded id; playing instances play on. The document stays.
    void Release();

    // The contents of "res\\sounds.ini".
    NarrowIniDocument document;
    // The ids of every name asked for, in the document's order; the names
    // compare byte-wise, so the cache is case-sensitive.
    std::map<std::string, std::vector<int>> soundIds;

private:
    SoundManager* mSoundManager = nullptr;
};

// The process's one bank, made on first use.
SoundBank& GetUiSoundBank();
// Tests only: empties the bank (without freeing ids) and forgets its manager.
void ResetUiSoundBank();

// trunc(pan × 10000), saturated to the int range, NaN as 0.
int SoundBankPan(double pan);

} // namespace Tandry
