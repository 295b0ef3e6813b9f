#include "audio/SoundBank.h"

#include "audio/SoundInstance.h"
#include "audio/SoundManager.h"
#include "util/RandomGenerator.h"

#include <climits>
#include <cmath>
#include <sstream>

namespace Tandry {
namespace {

int PickFrom(const std::vector<int>& ids)
{
    return ids[static_cast<size_t>(CrtRand()) % ids.size()];
}

} // namespace

int SoundBankPan(double pan)
{
    const double x = std::trunc(pan * 10000);
    if (std::isnan(x))
        return 0;
    if (x >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (x <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(x);
}

int SoundBank::PickSoundId(const std::string& name)
{
    // Without a manager nothing is stored, so the name loads once there is one.
    if (mSoundManager == nullptr)
        return -1;
    const NarrowIniDocument::Cursor key = document.FindKey("sounds", name);
    if (key.GetKind() != IniKind::Key)
        return -1;
    std::vector<int>& ids = soundIds[name];
    std::stringstream files(key.GetValue());
    std::string file;
    while (std::getline(files, file, ',')) {
        const int id = mSoundManager->LoadSoundFile("data\\sound\\" + file);
        if (id == -1)
            return -1;
        ids.push_back(id);
    }
    return ids.empty() ? -1 : PickFrom(ids);
}

void SoundBank::Preload(const std::string& name)
{
    if (soundIds.count(name) == 0)
        PickSoundId(name);
}

SoundInstance* SoundBank::Play(const std::string& name, bool autoRelease, bool looping, bool force, double volume,
                               double pan)
{
    if (volume == 0 && !force)
        return nullptr;
    int id = -1;
    const auto known = soundIds.find(name);
    if (known != soundIds.end()) {
        if (known->second.empty())
            return nullptr;
        id = PickFrom(known->second);
    } else {
        id = PickSoundId(name);
    }
    if (id == -1 || mSoundManager == nullptr)
        return nullptr;
    SoundInstance* instance = mSoundManager->NewSoundInstance(id);
    if (instance == nullptr)
        return nullptr;
    instance->SetPlayPan(SoundBankPan(pan));
    if (volume != -1)
        instance->SetPlayVolume(volume);
    instance->Play(looping, autoRelease);
    return instance;
}

void SoundBank::Release()
{
    if (mSoundManager != nullptr)
        for (const auto& [name, ids] : soundIds)
            for (int id : ids)
                mSoundManager->FreeSound(id);
    soundIds.clear();
}

SoundBank& GetUiSoundBank()
{
    static SoundBank bank;
    return bank;
}

void ResetUiSoundBank()
{
    SoundBank& bank = GetUiSoundBank();
    bank.document.Clear();
    bank.soundIds.clear();
    bank.SetSoundManager(nullptr);
}

} // namespace Tandry
