#include "audio/AudioTestSupport.h"
#include "audio/SoundFileLoaders.h"

#include <tremor/ivorbisfile.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <ctime>
#include <memory>

namespace {

using namespace AudioTest;

// Tremor decoding a whole file held in memory, as the reference for the loader.
struct MemoryStream {
    std::vector<uint8_t> bytes;
    size_t position = 0;
};

size_t MemoryRead(void* into, size_t size, size_t count, void* source)
{
    auto* stream = static_cast<MemoryStream*>(source);
    const size_t wanted = size * count;
    const size_t got = std::min(wanted, stream->bytes.size() - stream->position);
    std::memcpy(into, stream->bytes.data() + stream->position, got);
    stream->position += got;
    return size == 0 ? 0 : got / size;
}

int MemorySeek(void* source, ogg_int64_t offset, int origin)
{
    auto* stream = static_cast<MemoryStream*>(source);
    const int64_t base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? static_cast<int64_t>(stream->position)
                                                                       : static_cast<int64_t>(stream->bytes.size());
    const int64_t target = base + offset;
    if (target < 0 || target > static_cast<int64_t>(stream->bytes.size()))
        return -1;
    stream->position = static_cast<size_t>(target);
    return 0;
}

long MemoryTell(void* source)
{
    return static_cast<long>(static_cast<MemoryStream*>(source)->position);
}

struct Decoded {
    int channels = 0;
    long rate = 0;
    int64_t total = 0;
    std::vector<uint8_t> pcm;
};

Decoded DecodeInMemory(const std::vector<uint8_t>& bytes)
{
    MemoryStream stream{bytes};
    OggVorbis_File file;
    const ov_callbacks callbacks = {MemoryRead, MemorySeek, nullptr, MemoryTell};
    Decoded decoded;
    if (ov_open_callbacks(&stream, &file, nullptr, 0, callbacks) != 0)
        return decoded;
    decoded.channels = ov_info(&file, -1)->channels;
    decoded.rate = ov_info(&file, -1)->rate;
    decoded.total = ov_pcm_total(&file, -1);
    char block[4096];
    int section = 0;
    for (long got; (got = ov_read(&file, block, sizeof block, &section)) > 0;)
        decoded.pcm.insert(decoded.pcm.end(), block, block + got);
    ov_clear(&file);
    return decoded;
}

class SoundFileLoadersTest : public SoundFixture {
protected:
    void SetUp() override
    {
        SoundFixture::SetUp();
        ASSERT_EQ(DirectSoundCreate(nullptr, &mSound, nullptr), DS_OK);
    }
    void TearDown() override
    {
        mSound->Release();
        SoundFixture::TearDown();
    }

    using Loader = DirectSoundBuffer* (*)(DirectSound&, const std::string&);
    // What a loader made of a file, released at once.
    struct Result {
        bool loaded = false;
        DSoundWaveFormat format;
        std::vector<uint8_t> bytes;
    };
    Result Load(Loader loader, const std::string& name)
    {
        Result result;
        DirectSoundBuffer* buffer = loader(*mSound, name);
        if (buffer == nullptr)
            return result;
        result.loaded = true;
        result.format = buffer->GetFormat();
        result.bytes = BufferBytes(buffer);
        EXPECT_EQ(buffer->GetFlags(), Tandry::DSoundManager::kBufferFlags);
        buffer->Release();
        return result;
    }

    DirectSound* mSound = nullptr;
};

std::vector<uint8_t> LastBytes(const std::string& fixture, size_t count)
{
    std::vector<uint8_t> bytes = FixtureBytes(fixture);
    return {bytes.end() - static_cast<std::ptrdiff_t>(count), bytes.end()};
}

// Sets a file's last-write time to whole seconds since 1970.
void SetWriteTime(const std::string& path, time_t seconds)
{
    TestSupport::WriteFile(path, "source");
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST_F(SoundFileLoadersTest, WavFilesGiveTheirFormatAndTheirDataChunk)
{
    const size_t monoBytes = 2205 * 2;
    const struct {
        const char* name;
        uint32_t rate;
        uint16_t channels;
        std::vector<uint8_t> bytes;
    } cases[] = {
        // Only "RIFF", "WAVE" and "data": the settings before any "fmt ".
        {"plain", 22050, 1, LastBytes("plain.wav", monoBytes)},
        {"stereo", 44100, 2, LastBytes("stereo.wav", 4410 * 4)},
        // A 3-byte chunk before "data": its header follows at the very next byte.
        {"odd", 11025, 1, LastBytes("plain.wav", monoBytes)},
        // Stored combined with 0x5A: the same samples as the plain file.
        {"xor", 22050, 1, LastBytes("plain.wav", monoBytes)},
        {"depmissing", 22050, 1, LastBytes("plain.wav", monoBytes)},
    };
    for (const auto& c : cases) {
        Result result = Load(Tandry::LoadWavSound, std::string("sounds/") + c.name + ".wav");
        ASSERT_TRUE(result.loaded) << c.name;
        EXPECT_EQ(result.format.samplesPerSec, c.rate) << c.name;
        EXPECT_EQ(result.format.channels, c.channels) << c.name;
        EXPECT_EQ(result.format.bitsPerSample, 16) << c.name;
        EXPECT_EQ(result.format.blockAlign, c.channels * 2) << c.name;
        EXPECT_EQ(result.bytes, c.bytes) << c.name;
    }
    EXPECT_FALSE(Load(Tandry::LoadWavSound, "sounds/float.wav").loaded) << "format tag 3";
    EXPECT_FALSE(Load(Tandry::LoadWavSound, "sounds/missing.wav").loaded);
    EXPECT_FALSE(Load(Tandry::LoadWavSound, "sounds/tone.ogg").loaded);
}

TEST_F(SoundFileLoadersTest, AWavNamingItsSourceLoadsOnlyWhileTheSourceKeepsItsTime)
{
    // The stored time is 2020-01-01 00:00:00 UTC; the source is read relative
    // to the current folder.
    SetWriteTime("dep_source.txt", 1577836800);
    EXPECT_TRUE(Load(Tandry::LoadWavSound, "sounds/dep.wav").loaded);
    SetWriteTime("dep_source.txt", 1577836801);
    EXPECT_FALSE(Load(Tandry::LoadWavSound, "sounds/dep.wav").loaded);
    std::remove("dep_source.txt");
    EXPECT_FALSE(Load(Tandry::LoadWavSound, "sounds/dep.wav").loaded);
}

TEST_F(SoundFileLoadersTest, AuFilesExpandMuLawAndTurnSignedLinearIntoUnsigned)
{
    Result mulaw = Load(Tandry::LoadAuSound, "sounds/mulaw.au");
    ASSERT_TRUE(mulaw.loaded);
    EXPECT_EQ(mulaw.format.bitsPerSample, 16);
    EXPECT_EQ(mulaw.format.samplesPerSec, 8000u);
    EXPECT_EQ(mulaw.bytes.size(), 2u * 406);
    std::vector<int16_t> samples(6);
    std::memcpy(samples.data(), mulaw.bytes.data(), 12);
    EXPECT_EQ(samples, (std::vector<int16_t>{30592, -30592, 0, 31616, -31616, 0}));

    Result linear = Load(Tandry::LoadAuSound, "sounds/linear.au");
    ASSERT_TRUE(linear.loaded);
    EXPECT_EQ(linear.format.bitsPerSample, 8);
    EXPECT_EQ(linear.format.blockAlign, 1);
    EXPECT_EQ(linear.bytes.size(), 405u);
    EXPECT_EQ(std::vector<uint8_t>(linear.bytes.begin(), linear.bytes.begin() + 5),
              (std::vector<uint8_t>{0x80, 0x00, 0xFF, 0x7F, 0x81}));

    EXPECT_FALSE(Load(Tandry::LoadAuSound, "sounds/enc3.au").loaded);
    EXPECT_FALSE(Load(Tandry::LoadAuSound, "sounds/plain.wav").loaded);
}

TEST_F(SoundFileLoadersTest, OggGivesWhatTremorDecodesFromMemoryLooseOrPacked)
{
    for (const char* name : {"tone.ogg", "click.ogg"}) {
        const Decoded reference = DecodeInMemory(FixtureBytes(name));
        ASSERT_GT(reference.total, 0) << name;
        ASSERT_EQ(reference.pcm.size(), static_cast<size_t>(reference.total) * reference.channels * 2) << name;
        Result loose = Load(Tandry::LoadOggSound, std::string("sounds/") + name);
        ASSERT_TRUE(loose.loaded) << name;
        EXPECT_EQ(loose.format.channels, reference.channels) << name;
        EXPECT_EQ(loose.format.samplesPerSec, static_cast<uint32_t>(reference.rate)) << name;
        EXPECT_EQ(loose.format.bitsPerSample, 16) << name;
        EXPECT_TRUE(loose.bytes == reference.pcm) << name;
    }
    AddPackOf({"tone.ogg"});
    Result packed = Load(Tandry::LoadOggSound, "packed/tone.ogg");
    ASSERT_TRUE(packed.loaded);
    EXPECT_TRUE(packed.bytes == DecodeInMemory(FixtureBytes("tone.ogg")).pcm);
}

TEST_F(SoundFileLoadersTest, LoadingTriesTheFormatsInTurnAndAFailedIdStaysEmpty)
{
    std::vector<uint8_t> cut = FixtureBytes("tone.ogg");
    cut.resize(1000);
    TestSupport::WriteFile("sounds/cut.ogg", std::string(cut.begin(), cut.end()));
    for (bool useFmod : {false, true}) {
        Tandry::DSoundManager manager(FakeWindow(), useFmod);
        // "float.wav" has format tag 3: the Ogg of the same name loads instead.
        ASSERT_TRUE(manager.LoadSoundIntoSlot(1, "sounds/float"));
        EXPECT_TRUE(BufferBytes(manager.GetSoundBuffer(1)) == DecodeInMemory(FixtureBytes("float.ogg")).pcm);
        // A "click.mp3" lies beside "click.ogg"; without the MP3 decoder the Ogg loads.
        ASSERT_TRUE(manager.LoadSoundIntoSlot(2, "sounds/click"));
        EXPECT_EQ(manager.GetSoundBuffer(2)->GetFormat().samplesPerSec, 22050u);
        EXPECT_TRUE(manager.LoadSoundIntoSlot(3, "sounds/mulaw"));
        EXPECT_FALSE(manager.LoadSoundIntoSlot(4, "sounds/cut"));
        EXPECT_EQ(manager.GetSoundBuffer(4), nullptr);
        EXPECT_EQ(manager.CountLoadedSounds(), 3);
        manager.FreeAllSounds();
    }
}

TEST_F(SoundFileLoadersTest, LengthsBeyondTheFileFailBeforeAnyBufferIsMade)
{
    std::vector<uint8_t> wav = FixtureBytes("plain.wav");
    wav.resize(wav.size() - 1); // the data chunk claims one byte more than is left
    TestSupport::WriteFile("sounds/short.wav", std::string(wav.begin(), wav.end()));
    std::vector<uint8_t> au = FixtureBytes("linear.au");
    au[8] = au[9] = au[10] = au[11] = 0xFF; // "unknown length"
    TestSupport::WriteFile("sounds/unknown.au", std::string(au.begin(), au.end()));
    DSoundRuntime::Get().ClearCallLog();
    EXPECT_FALSE(Load(Tandry::LoadWavSound, "sounds/short.wav").loaded);
    EXPECT_FALSE(Load(Tandry::LoadAuSound, "sounds/unknown.au").loaded);
    for (const DSoundCall& call : DSoundRuntime::Get().GetCallLog())
        EXPECT_NE(call.op, DSoundOp::CreateSoundBuffer);
}

} // namespace
