// The music the synthesiser wrote plays through the game's decoder: every
// file of "MusicList", read from the pack, is an Ogg Vorbis stream that
// Tremor opens, stereo at 22050 Hz, as long as its description asks.
#include "tests/game/data/GameFolder.h"

#include "resources/ini/IniFile.h"
#include "resources/pak/PakFile.h"
#include "util/StringUtils.h"

#include <tremor/ivorbisfile.h>

#include <cstring>
#include <map>

namespace {

using namespace GameDataTest;

struct Stream {
    std::vector<uint8_t> bytes;
    size_t position = 0;
};

size_t ReadStream(void* into, size_t size, size_t count, void* source)
{
    auto* stream = static_cast<Stream*>(source);
    const size_t got = std::min(size * count, stream->bytes.size() - stream->position);
    std::memcpy(into, stream->bytes.data() + stream->position, got);
    stream->position += got;
    return size == 0 ? 0 : got / size;
}

TEST(GameMusic, EveryTrackOfTheMusicListDecodes)
{
    GameFolderCopy folder;
    folder.RemoveLooseFolders();
    ASSERT_TRUE(GameFolderCopy::AddPacks());
    Tandry::IniFile sounds;
    sounds.Load("res\\sounds.ini");
    std::vector<std::string> tracks;
    sounds.GetValueList(tracks, "musiclist", "music");
    ASSERT_EQ(tracks.size(), 4u);
    // Seconds each description asks for (data/music/*.txt).
    const std::map<std::string, int> kSeconds = {
        {"track02ispy.ogg", 32}, {"track01boevik.ogg", 24}, {"moor.ogg", 30}, {"glen.ogg", 24}};
    for (const std::string& track : tracks) {
        SCOPED_TRACE(track);
        const std::string name = "data\\music\\" + Tandry::TrimSpaces(track);
        Tandry::PakFileHandle* file = Tandry::PakOpen(name, "rb");
        ASSERT_NE(file, nullptr);
        Stream stream;
        Tandry::PakSeek(file, 0, 2);
        stream.bytes.resize(static_cast<size_t>(Tandry::PakTell(file)));
        Tandry::PakSeek(file, 0, 0);
        ASSERT_EQ(Tandry::PakRead(stream.bytes.data(), 1, stream.bytes.size(), file), stream.bytes.size());
        Tandry::PakClose(file);

        OggVorbis_File vorbis;
        const ov_callbacks callbacks = {ReadStream, nullptr, nullptr, nullptr};
        ASSERT_EQ(ov_open_callbacks(&stream, &vorbis, nullptr, 0, callbacks), 0);
        EXPECT_EQ(ov_info(&vorbis, -1)->channels, 2);
        EXPECT_EQ(ov_info(&vorbis, -1)->rate, 22050);
        int64_t frames = 0;
        char block[8192];
        int section = 0;
        for (long got; (got = ov_read(&vorbis, block, sizeof block, &section)) > 0;)
            frames += got / 4;
        EXPECT_EQ(frames, int64_t{22050} * kSeconds.at(Tandry::TrimSpaces(track)));
        ov_clear(&vorbis);
    }
}

} // namespace
