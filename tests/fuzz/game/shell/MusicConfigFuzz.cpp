// The music playlist on an arbitrary "res\\sounds.ini": the input is the file,
// and also, read again from its start, a sequence of key changes and updates
// over a music interface that records what it is asked to fade in. Every
// track faded in must belong to the playlist of the key in force.
#include "audio/MusicInterface.h"
#include "game/shell/GameApp.h"
#include "game/shell/MusicPlaylist.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/ini/IniFile.h"

#include "tests/fuzz/FuzzBytes.h"
#include "tests/fuzz/FuzzScratchFolder.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

class FadeRecorder : public Tandry::MusicInterface {
public:
    bool LoadTrack(int, const std::string&) override { return true; }
    void FadeInTrack(int id, int offset, double, bool) override
    {
        FuzzCheck(offset == 0);
        fadedIn.push_back(id);
    }
    bool IsTrackPlaying(int) override { return playing; }

    std::vector<int> fadedIn;
    bool playing = false;
};

Tandry::GameApp& Game()
{
    static Tandry::GameApp* game = [] {
        Platform::InstallHeadlessPlatform();
        return new Tandry::GameApp(); // lives until the process ends
    }();
    return *game;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Tandry::GameApp& game = Game();
    FuzzScratchFolder scratch;
    std::filesystem::create_directories("res");
    if (FILE* file = std::fopen("res/sounds.ini", "wb")) {
        if (size > 0)
            std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    std::vector<std::string> keys = {"", "do_not_change_music", "menu", "MENU", "x"};
    {
        Tandry::IniFile ini;
        ini.Load("res\\sounds.ini");
        ini.GetKeyNames("music", keys);
        ini.Clear();
    }
    auto* music = new FadeRecorder();
    game.mMusicInterface = music;
    {
        Tandry::MusicPlaylist playlist;
        FuzzBytes bytes(data, size);
        for (int step = 0; step < 200 && !bytes.Empty(); ++step) {
            const size_t before = music->fadedIn.size();
            music->playing = bytes.Bool();
            if (bytes.Bool())
                playlist.SwitchTo(keys[static_cast<size_t>(bytes.Range(0, static_cast<int>(keys.size()) - 1))]);
            else
                playlist.Update();
            const std::vector<int>& tracks = playlist.GetPlaylist(playlist.GetCurrentKey()).tracks;
            for (size_t i = before; i < music->fadedIn.size(); ++i)
                FuzzCheck(std::find(tracks.begin(), tracks.end(), music->fadedIn[i]) != tracks.end());
        }
    }
    game.mMusicInterface = nullptr;
    delete music;
    std::filesystem::remove("res/sounds.ini");
    return 0;
}
