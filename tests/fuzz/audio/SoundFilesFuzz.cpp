// The sound file loaders on arbitrary bytes: the input becomes three members
// of a pack held in memory, a ".wav", an ".ogg" and an ".au", each loaded
// through a sound manager on the headless mixer with buffers limited to 16 MB.
// A load that succeeds must give the size its header promises, and its sound
// plays to its end.
#include "audio/DSoundManager.h"
#include "audio/SoundInstance.h"
#include "platform/dsound/DSoundRuntime.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/pak/PakInterface.h"
#include "resources/pak/PakWriter.h"

#include <tremor/ivorbisfile.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

uint32_t Little(const uint8_t* p, int n)
{
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

uint32_t Big32(const uint8_t* p)
{
    return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// The size of the first "data" chunk, walking the chunks on their own.
std::optional<uint64_t> WavDataSize(const uint8_t* data, size_t size)
{
    uint64_t at = 12;
    while (at + 8 <= size) {
        const uint32_t length = Little(data + at + 4, 4);
        if (std::memcmp(data + at, "data", 4) == 0)
            return length;
        at += 8 + static_cast<uint64_t>(length);
    }
    return std::nullopt;
}

std::optional<uint64_t> AuDataSize(const uint8_t* data, size_t size)
{
    if (size < 24)
        return std::nullopt;
    return static_cast<uint64_t>(Big32(data + 8)) * (Big32(data + 12) == 1 ? 2 : 1);
}

struct Memory {
    const uint8_t* data;
    size_t size;
    size_t position;
};

size_t MemoryRead(void* into, size_t size, size_t count, void* source)
{
    auto* m = static_cast<Memory*>(source);
    const size_t got = size == 0 ? 0 : std::min(count, (m->size - m->position) / size);
    std::memcpy(into, m->data + m->position, got * size);
    m->position += got * size;
    return got;
}

int MemorySeek(void* source, ogg_int64_t offset, int origin)
{
    auto* m = static_cast<Memory*>(source);
    const int64_t base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? static_cast<int64_t>(m->position)
                                                                       : static_cast<int64_t>(m->size);
    if (base + offset < 0 || base + offset > static_cast<int64_t>(m->size))
        return -1;
    m->position = static_cast<size_t>(base + offset);
    return 0;
}

long MemoryTell(void* source)
{
    return static_cast<long>(static_cast<Memory*>(source)->position);
}

std::optional<uint64_t> OggDataSize(const uint8_t* data, size_t size)
{
    Memory memory{data, size, 0};
    OggVorbis_File file;
    const ov_callbacks callbacks = {MemoryRead, MemorySeek, nullptr, MemoryTell};
    if (ov_open_callbacks(&memory, &file, nullptr, 0, callbacks) != 0)
        return std::nullopt;
    const vorbis_info* info = ov_info(&file, -1);
    std::optional<uint64_t> bytes;
    if (info != nullptr && ov_pcm_total(&file, -1) >= 0)
        bytes = static_cast<uint64_t>(ov_pcm_total(&file, -1)) * static_cast<uint64_t>(info->channels) * 2;
    ov_clear(&file);
    return bytes;
}

Platform::HeadlessPlatform& FuzzPlatform()
{
    static Platform::HeadlessPlatform* platform = &Platform::InstallHeadlessPlatform();
    return *platform;
}

// Plays the sound at the highest rate until it ends; the rate bounds the frames.
void PlayToTheEnd(Tandry::DSoundManager& manager, int id, uint32_t bytes)
{
    Tandry::SoundInstance* instance = manager.NewSoundInstance(id);
    if (instance == nullptr)
        std::abort();
    instance->ShiftPitch(1000);
    if (!instance->Play(false, true))
        std::abort();
    const uint64_t most = bytes / 1 + 8192;
    uint64_t rendered = 0;
    while (instance->IsPlaying()) {
        FuzzPlatform().Audio().Render(4096);
        rendered += 4096;
        if (rendered > most)
            std::abort(); // a one-shot that never ends
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzPlatform();
    Platform::DSoundRuntime::Get().Reset();
    Platform::DSoundSettings settings;
    settings.maxBufferBytes = 16 << 20;
    Platform::DSoundRuntime::Get().SetSettings(settings);

    const std::vector<uint8_t> bytes(data, data + size);
    std::vector<Tandry::PakWriteEntry> entries;
    for (const char* name : {"DATA\\W.WAV", "DATA\\O.OGG", "DATA\\A.AU"})
        entries.push_back(Tandry::PakWriteEntry::FromBytes(name, bytes));
    std::vector<uint8_t> pack;
    std::string error;
    Tandry::PakInterface* pak = Tandry::GetSharedPakInterface();
    pak->Reset();
    if (!Tandry::WritePakToMemory(entries, pack, error) || !pak->AddPakMemory("fuzz.pak", std::move(pack)))
        return 0;
    {
        Tandry::DSoundManager manager(reinterpret_cast<Platform::WindowHandle>(uintptr_t{0x40}), false);
        const struct {
            const char* name;
            std::optional<uint64_t> (*expected)(const uint8_t*, size_t);
        } loads[] = {{"data/w", WavDataSize}, {"data/o", OggDataSize}, {"data/a", AuDataSize}};
        for (int id = 0; id < 3; ++id) {
            if (!manager.LoadSoundIntoSlot(id, loads[id].name))
                continue;
            Platform::DirectSoundBuffer* buffer = manager.GetSoundBuffer(id);
            const std::optional<uint64_t> expected = loads[id].expected(data, size);
            if (buffer == nullptr || !expected || *expected != buffer->GetSize())
                std::abort();
            PlayToTheEnd(manager, id, buffer->GetSize());
        }
    }
    pak->Reset();
    return 0;
}
