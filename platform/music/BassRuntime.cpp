#include "platform/music/BassRuntime.h"

#include "platform/fs/FileOps.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace Platform {
namespace {

// The part of size bytes that offset and length name; a length of 0 means
// up to the end. False when it lies outside.
bool Slice(uint64_t size, Bass::QWORD offset, Bass::QWORD length, uint64_t& from, uint64_t& count)
{
    if (offset > size)
        return false;
    from = offset;
    count = length == 0 ? size - offset : length;
    return count <= size - offset;
}

bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& bytes)
{
    FILE* file = OpenFile(name, "rb");
    if (file == nullptr)
        return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(file) : -1;
    ok = size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        try {
            bytes.resize(static_cast<size_t>(size));
            ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    std::fclose(file);
    return ok;
}

} // namespace

BassRuntime& BassRuntime::Get()
{
    static BassRuntime runtime;
    return runtime;
}

bool BassRuntime::Init()
{
    {
        std::lock_guard<std::mutex> hold(mLock);
        if (mMixer != nullptr)
            return false; // already joined
    }
    std::string error;
    std::shared_ptr<SoundMixer> mixer = SoundMixer::Acquire(error);
    if (mixer == nullptr)
        return false;
    mixer->AddFeeder(this);
    std::lock_guard<std::mutex> hold(mLock);
    mMixer = std::move(mixer);
    return true;
}

bool BassRuntime::Start()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mMixer != nullptr;
}

bool BassRuntime::Stop()
{
    std::lock_guard<std::mutex> hold(mLock);
    for (auto& [handle, stream] : mStreams)
        stream->Stop();
    return mMixer != nullptr;
}

bool BassRuntime::Free()
{
    std::shared_ptr<SoundMixer> mixer;
    std::map<Bass::HANDLE, std::shared_ptr<MusicStream>> streams;
    {
        std::lock_guard<std::mutex> hold(mLock);
        mixer = std::move(mMixer);
        mMixer = nullptr;
        streams.swap(mStreams);
    }
    if (mixer == nullptr)
        return false;
    // Outside mLock: the feeder takes it while the mixer holds its feed lock.
    mixer->RemoveFeeder(this);
    for (auto& [handle, stream] : streams)
        stream->Detach();
    return true;
}

bool BassRuntime::SetConfig(Bass::DWORD option, Bass::DWORD value)
{
    std::lock_guard<std::mutex> hold(mLock);
    if (mMixer == nullptr)
        return false;
    switch (option) {
    case Bass::kConfigBuffer:
        mBufferMilliseconds = value;
        return true;
    case Bass::kConfigStreamVolume:
        mStreamVolume = std::min<Bass::DWORD>(value, 100);
        for (auto& [handle, stream] : mStreams)
            stream->SetGlobalVolume(static_cast<int32_t>(mStreamVolume));
        return true;
    case Bass::kConfigMusicVolume:
        mMusicVolume = std::min<Bass::DWORD>(value, 100);
        return true;
    default:
        return false;
    }
}

Bass::HANDLE BassRuntime::AddStream(std::vector<uint8_t> owned, const uint8_t* bytes, size_t size)
{
    std::lock_guard<std::mutex> hold(mLock);
    if (mMixer == nullptr)
        return 0;
    std::shared_ptr<MusicStream> stream =
        MusicStream::Create(mMixer, std::move(owned), bytes, size, static_cast<int32_t>(mStreamVolume));
    if (stream == nullptr)
        return 0;
    const Bass::HANDLE handle = mNextHandle++;
    if (mNextHandle == 0)
        mNextHandle = 1;
    mStreams[handle] = std::move(stream);
    return handle;
}

Bass::HANDLE BassRuntime::CreateStreamFromMemory(const void* block, Bass::QWORD offset, Bass::QWORD length)
{
    // From memory the length must be given.
    if (block == nullptr || length == 0 || offset > UINT64_MAX - length)
        return 0;
    return AddStream({}, static_cast<const uint8_t*>(block) + offset, static_cast<size_t>(length));
}

Bass::HANDLE BassRuntime::CreateStreamFromFile(const std::string& name, Bass::QWORD offset, Bass::QWORD length)
{
    if (!IsInitialised())
        return 0;
    std::vector<uint8_t> bytes;
    uint64_t from = 0;
    uint64_t count = 0;
    if (!ReadWholeFile(name, bytes) || !Slice(bytes.size(), offset, length, from, count))
        return 0;
    const uint8_t* start = bytes.data() + from;
    return AddStream(std::move(bytes), start, static_cast<size_t>(count));
}

bool BassRuntime::FreeStream(Bass::HANDLE handle)
{
    std::shared_ptr<MusicStream> stream;
    {
        std::lock_guard<std::mutex> hold(mLock);
        const auto it = mStreams.find(handle);
        if (it == mStreams.end())
            return false;
        stream = std::move(it->second);
        mStreams.erase(it);
    }
    stream->Detach();
    return true;
}

std::shared_ptr<MusicStream> BassRuntime::Find(Bass::HANDLE handle)
{
    std::lock_guard<std::mutex> hold(mLock);
    const auto it = mStreams.find(handle);
    return it == mStreams.end() ? nullptr : it->second;
}

bool BassRuntime::IsInitialised()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mMixer != nullptr;
}

Bass::DWORD BassRuntime::GetBufferMilliseconds()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mBufferMilliseconds;
}

Bass::DWORD BassRuntime::GetStreamVolume()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mStreamVolume;
}

Bass::DWORD BassRuntime::GetMusicVolume()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mMusicVolume;
}

void BassRuntime::Reset()
{
    Free();
    std::lock_guard<std::mutex> hold(mLock);
    mBufferMilliseconds = 500;
    mStreamVolume = 100;
    mMusicVolume = 100;
}

void BassRuntime::Feed(uint32_t frames)
{
    std::vector<std::shared_ptr<MusicStream>> streams;
    {
        std::lock_guard<std::mutex> hold(mLock);
        streams.reserve(mStreams.size());
        for (auto& [handle, stream] : mStreams)
            streams.push_back(stream);
    }
    for (const std::shared_ptr<MusicStream>& stream : streams)
        stream->Feed(frames);
}

} // namespace Platform
