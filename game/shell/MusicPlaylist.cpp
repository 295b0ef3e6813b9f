#include "game/shell/MusicPlaylist.h"

#include "app/TandryAppBase.h"
#include "audio/MusicInterface.h"
#include "resources/ini/IniFile.h"
#include "util/RandomGenerator.h"

#include <cstdlib>

namespace Tandry {
namespace {

constexpr double kFadeOutSpeed = 0.004;
constexpr double kFadeInSpeed = 0.002;

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// A decimal id as atoi reads it, saturated.
long long ReadId(const std::string& text)
{
    return std::strtoll(text.c_str(), nullptr, 10);
}

} // namespace

MusicInterface* MusicPlaylist::Music()
{
    return gApplication != nullptr ? gApplication->mMusicInterface : nullptr;
}

MusicPlaylist::MusicPlaylist()
{
    IniFile file;
    file.Load("res\\sounds.ini");
    std::vector<std::string> files;
    file.GetValueList(files, "musiclist", "music");
    for (size_t id = 0; id < files.size(); ++id)
        if (MusicInterface* music = Music())
            music->LoadTrack(static_cast<int>(id), "data\\music\\" + files[id]);
    std::vector<std::string> keys;
    file.GetKeyNames("music", keys);
    for (const std::string& key : keys) {
        if (key.empty() || key == "musiclist")
            continue;
        if (file.GetValueText("music", key).empty())
            continue;
        std::vector<std::string> values;
        file.GetValueList(values, key, "music");
        Playlist playlist;
        size_t first = 0;
        if (values[0] == "rand") {
            playlist.random = true;
            first = 1;
        }
        if (values[0] == "play_first_once" || (values.size() > 2 && values[1] == "play_first_once")) {
            playlist.firstOnce = true;
            ++first;
        }
        for (size_t i = first; i < values.size(); ++i) {
            const long long id = ReadId(values[i]);
            if (id >= 0 && id < static_cast<long long>(files.size()))
                playlist.tracks.push_back(static_cast<int>(id));
        }
        mPlaylists[Lower(key)] = playlist;
    }
    file.Clear();
}

MusicPlaylist::Playlist& MusicPlaylist::GetPlaylist(const std::string& key)
{
    if (key.empty())
        return mEmptyPlaylist;
    const auto it = mPlaylists.find(Lower(key));
    return it == mPlaylists.end() ? mEmptyPlaylist : it->second;
}

int MusicPlaylist::PickTrack(Playlist& playlist, int position, bool advancing)
{
    const int n = static_cast<int>(playlist.tracks.size());
    // Two, not one: a two-track playlist always plays its first track.
    if (n <= 2)
        return 0;
    if (!playlist.random) {
        const int next = advancing ? position + 1 : 0;
        return next >= n ? 0 : next;
    }
    if (playlist.firstOnce && !playlist.started)
        return 0;
    int d = advancing ? n - 1 : n;
    const bool skipFirst = playlist.firstOnce && playlist.started;
    if (skipFirst && d > 1)
        --d;
    int e = RandomGenerator::Global().Next() % d;
    if (skipFirst && d > 1)
        ++e;
    if (advancing && e >= position)
        ++e;
    return e;
}

void MusicPlaylist::SwitchTo(const std::string& key)
{
    if (key == mCurrentKey || key == "do_not_change_music")
        return;
    mCurrentKey = key;
    Playlist& playlist = GetPlaylist(key);
    int newId = -1;
    int newPosition = 0;
    if (!playlist.tracks.empty()) {
        newPosition = PickTrack(playlist, 0, false);
        newId = playlist.tracks[static_cast<size_t>(newPosition)];
        playlist.started = true;
    }
    MusicInterface* music = Music();
    if (newId != mCurrentMusicId && music != nullptr) {
        if (mCurrentMusicId != -1)
            music->FadeOutTrack(mCurrentMusicId, true, kFadeOutSpeed);
        if (newId != -1)
            music->FadeInTrack(newId, 0, kFadeInSpeed, true);
    }
    mCurrentPosition = newPosition;
    mCurrentMusicId = newId;
}

void MusicPlaylist::Update()
{
    MusicInterface* music = Music();
    if (mCurrentMusicId == -1 || music == nullptr || music->IsTrackPlaying(mCurrentMusicId))
        return;
    Playlist& playlist = GetPlaylist(mCurrentKey);
    if (playlist.tracks.empty())
        return;
    const int position = PickTrack(playlist, mCurrentPosition, true);
    const int id = playlist.tracks[static_cast<size_t>(position)];
    music->FadeOutTrack(mCurrentMusicId, true, kFadeOutSpeed);
    music->FadeInTrack(id, 0, kFadeInSpeed, true);
    mCurrentPosition = position;
    mCurrentMusicId = id;
}

} // namespace Tandry
