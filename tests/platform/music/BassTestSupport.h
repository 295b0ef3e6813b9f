// Shared pieces of the tests over the BASS stand-in: the entries of
// ".\\bass.dll" called by name as the music back end calls them, and a
// Tremor decode of a whole Ogg file, written apart from the stand-in, that
// rendered streams are compared with.
#pragma once

#include "platform/music/BassTypes.h"
#include "platform/music/LibraryOpener.h"

#include <tremor/ivorbisfile.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace BassTest {

using namespace Platform::Bass;

// The entry of the shipped library under that name, in its own shape.
template <class Fn>
Fn Entry(const char* name)
{
    static const auto table = Platform::OpenLibrary(".\\bass.dll");
    const Platform::AnyFunction found = table ? table->Find(name) : nullptr;
    EXPECT_NE(found, nullptr) << name;
    return reinterpret_cast<Fn>(found);
}

inline HANDLE StreamFromMemory(const std::vector<uint8_t>& bytes)
{
    return Entry<StreamCreateFileFn>("BASS_StreamCreateFile")(true, bytes.data(), 0, bytes.size(), 0);
}

inline bool Init()
{
    return Entry<InitFn>("BASS_Init")(1, 44100, 0, nullptr, nullptr) != 0;
}

inline DWORD IsActive(HANDLE h)
{
    return Entry<ChannelIsActiveFn>("BASS_ChannelIsActive")(h);
}

inline bool Play(HANDLE h, bool restart)
{
    return Entry<ChannelPlayFn>("BASS_ChannelPlay")(h, restart) != 0;
}

// Every sample of an Ogg file decoded in one go, interleaved as stored.
inline std::vector<int16_t> DecodeOggWhole(const std::string& path, int& channels)
{
    std::vector<int16_t> samples;
    FILE* file = std::fopen(path.c_str(), "rb");
    OggVorbis_File vf;
    if (file == nullptr || ov_open(file, &vf, nullptr, 0) != 0) {
        ADD_FAILURE() << "cannot decode " << path;
        return samples;
    }
    channels = ov_info(&vf, -1)->channels;
    char buffer[4096];
    int section = 0;
    long got = 0;
    while ((got = ov_read(&vf, buffer, sizeof buffer, &section)) > 0) {
        const size_t at = samples.size();
        samples.resize(at + static_cast<size_t>(got) / 2);
        std::memcpy(samples.data() + at, buffer, static_cast<size_t>(got));
    }
    ov_clear(&vf); // closes the file
    return samples;
}

// Mono samples as the mixer's stereo output gives them.
inline std::vector<int16_t> BothSides(const std::vector<int16_t>& mono)
{
    std::vector<int16_t> out;
    for (int16_t s : mono) {
        out.push_back(s);
        out.push_back(s);
    }
    return out;
}

} // namespace BassTest
