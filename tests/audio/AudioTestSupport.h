// Shared pieces of the sound manager's and loaders' tests: a fixture on a
// fresh headless platform (pulled sound) inside a scratch folder that holds a
// copy of the generated test sounds, with the DirectSound stand-in reset
// around each test, and helpers to read a buffer's bytes and to make a pack.
#pragma once

#include "audio/DSoundManager.h"
#include "platform/dsound/DSoundRuntime.h"
#include "platform/dsound/SoundMixer.h"
#include "platform/fs/ScratchFolder.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/pak/PakInterface.h"
#include "resources/pak/PakWriter.h"

#include <tremor/ivorbisfile.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace AudioTest {

using namespace Platform;

inline WindowHandle FakeWindow()
{
    return reinterpret_cast<WindowHandle>(uintptr_t{0x40});
}

inline std::string FixturePath(const std::string& name)
{
    return std::string(MOORGLEN_TEST_DATA) + "/sounds/" + name;
}

inline std::vector<uint8_t> FixtureBytes(const std::string& name)
{
    std::string text = TestSupport::ReadFile(FixturePath(name));
    return {text.begin(), text.end()};
}

// The bytes a buffer holds.
inline std::vector<uint8_t> BufferBytes(DirectSoundBuffer* buffer)
{
    void* part = nullptr;
    uint32_t length = 0;
    if (buffer == nullptr || buffer->Lock(0, 0, &part, &length, nullptr, nullptr, DSBLOCK_ENTIREBUFFER) != DS_OK)
        return {};
    std::vector<uint8_t> bytes(static_cast<uint8_t*>(part), static_cast<uint8_t*>(part) + length);
    buffer->Unlock(part, length, nullptr, 0);
    return bytes;
}

inline std::vector<int16_t> BufferSamples(DirectSoundBuffer* buffer)
{
    std::vector<uint8_t> bytes = BufferBytes(buffer);
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

// Every sample of an Ogg file on disk, decoded by Tremor in one go.
inline std::vector<int16_t> DecodeOggWholeFile(const std::string& path, int& channels)
{
    std::vector<int16_t> samples;
    FILE* file = std::fopen(path.c_str(), "rb");
    OggVorbis_File vf;
    if (file == nullptr || ov_open(file, &vf, nullptr, 0) != 0) {
        ADD_FAILURE() << "cannot decode " << path;
        if (file != nullptr)
            std::fclose(file);
        return samples;
    }
    channels = ov_info(&vf, -1)->channels;
    char block[4096];
    int section = 0;
    for (long got; (got = ov_read(&vf, block, sizeof block, &section)) > 0;) {
        const size_t at = samples.size();
        samples.resize(at + static_cast<size_t>(got) / 2);
        std::memcpy(samples.data() + at, block, static_cast<size_t>(got) / 2 * 2);
    }
    ov_clear(&vf); // closes the file
    return samples;
}

class SoundFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        DSoundRuntime::Get().Reset();
        SoundMixer::ResetSpeakerVolume();
        Tandry::GetSharedPakInterface()->Reset();
        mPlatform = &InstallHeadlessPlatform();
        std::filesystem::create_directory(mScratch.Path() / "sounds");
        for (const auto& entry : std::filesystem::directory_iterator(std::string(MOORGLEN_TEST_DATA) + "/sounds"))
            std::filesystem::copy_file(entry.path(), mScratch.Path() / "sounds" / entry.path().filename());
    }

    void TearDown() override
    {
        Tandry::GetSharedPakInterface()->Reset();
        ResetPlatform();
        EXPECT_EQ(DSoundRuntime::Get().LiveCount(DSoundObjectKind::DirectSound), 0u);
        EXPECT_EQ(DSoundRuntime::Get().LiveCount(DSoundObjectKind::Buffer), 0u);
        DSoundRuntime::Get().Reset();
        SoundMixer::ResetSpeakerVolume();
    }

    // Adds a pack held in memory whose members are the given fixtures under "PACKED\\".
    void AddPackOf(const std::vector<std::string>& names)
    {
        std::vector<Tandry::PakWriteEntry> entries;
        for (const std::string& name : names)
            entries.push_back(Tandry::PakWriteEntry::FromBytes("PACKED\\" + name, FixtureBytes(name)));
        std::vector<uint8_t> pack;
        std::string error;
        ASSERT_TRUE(Tandry::WritePakToMemory(entries, pack, error)) << error;
        ASSERT_TRUE(Tandry::GetSharedPakInterface()->AddPakMemory("sounds.pak", std::move(pack)));
    }

    std::vector<int16_t> Render(uint32_t frames) { return mPlatform->Audio().Render(frames); }

    TestSupport::ScratchFolder mScratch{TestSupport::ScratchFolder::Enter};
    HeadlessPlatform* mPlatform = nullptr;
};

} // namespace AudioTest
