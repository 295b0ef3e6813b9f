// Chooses the music of every board: the board's music key selects a
// playlist from section "Music" of "res\\sounds.ini", whose tracks play one
// after the other, in order or at random, each once, cross-fading when the
// key changes. Made by the game at start-up, which also calls Update once
// per update; the board switch calls SwitchTo. Plays through the
// application's music interface.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace Tandry {

class MusicInterface;

class MusicPlaylist {
public:
    struct Playlist {
        bool random = false;
        bool firstOnce = false; // the first track plays first, and only then
        bool started = false;   // a track was chosen on a key change
        std::vector<int> tracks; // music ids
    };

    // Reads "res\\sounds.ini" and loads its "MusicList" files as music ids 0, 1, ...
    MusicPlaylist();

    void SwitchTo(const std::string& key);
    // Starts the next track once the current one has ended.
    void Update();
    // The key's playlist (compared without regard to ASCII case); the empty
    // playlist for an empty key or one without playlist.
    Playlist& GetPlaylist(const std::string& key);
    // The position to play next after position, or the first one to play
    // when not advancing.
    static int PickTrack(Playlist& playlist, int position, bool advancing);

    const std::string& GetCurrentKey() const { return mCurrentKey; }
    int GetCurrentPosition() const { return mCurrentPosition; }
    int GetCurrentMusicId() const { return mCurrentMusicId; }

private:
    static MusicInterface* Music();

    Playlist mEmptyPlaylist;
    std::map<std::string, Playlist> mPlaylists; // by lower-case key
    std::string mCurrentKey;
    int mCurrentPosition = 0;
    int mCurrentMusicId = -1;
};

} // namespace Tandry
