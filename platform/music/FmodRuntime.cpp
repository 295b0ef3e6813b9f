#include "platform/music/FmodRuntime.h"

#include "platform/dsound/DSoundRuntime.h"
#include "platform/fs/FileOps.h"
#include "platform/music/SampleStreamDecoder.h"

#include <algorithm>
#include <cstdio>

namespace Platform {
namespace {

using Fmod::FSOUND_SAMPLE;

constexpr size_t kLogLimit = 65536;

// The decoded size of a sample is capped as the DirectSound buffers are.
uint64_t MaximumSampleBytes()
{
    return DSoundRuntime::Get().GetSettings().maxBufferBytes;
}

// The file from offset on; false when it cannot be read, or is larger than
// any sample could be.
bool ReadFile(const std::string& name, int32_t offset, uint64_t maxBytes, std::vector<uint8_t>& bytes)
{
    FILE* file = OpenFile(name, "rb");
    if (file == nullptr)
        return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(file) : -1;
    ok = size >= 0 && offset >= 0 && offset <= size && static_cast<uint64_t>(size - offset) <= maxBytes
        && std::fseek(file, offset, SEEK_SET) == 0;
    if (ok) {
        try {
            bytes.resize(static_cast<size_t>(size - offset));
            ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    std::fclose(file);
    return ok;
}

std::string ExtensionOf(const std::string& name)
{
    const size_t dot = name.find_last_of('.');
    const size_t separator = name.find_last_of("\\/");
    if (dot == std::string::npos || (separator != std::string::npos && separator > dot))
        return {};
    return name.substr(dot);
}

bool IsChannel(int32_t channel)
{
    return channel >= 0 && channel < Fmod::kChannels;
}

} // namespace

FmodRuntime& FmodRuntime::Get()
{
    static FmodRuntime runtime;
    return runtime;
}

void FmodRuntime::LogLocked(Call call)
{
    if (mLog.size() >= kLogLimit)
        mLog.erase(mLog.begin());
    mLog.push_back(std::move(call));
}

bool FmodRuntime::TakeFaultLocked(Fault fault)
{
    const auto it = mFaults.find(fault);
    if (it == mFaults.end() || it->second == 0)
        return false;
    --it->second;
    return true;
}

bool FmodRuntime::KnownLocked(FSOUND_SAMPLE* sample) const
{
    return sample != nullptr && mSamples.count(sample) != 0;
}

bool FmodRuntime::SetBufferSize(int32_t milliseconds)
{
    std::lock_guard<std::mutex> hold(mLock);
    mBufferSize = milliseconds;
    LogLocked({"FSOUND_SetBufferSize", {milliseconds}, {}, true});
    return true;
}

bool FmodRuntime::SetHWND(WindowHandle window)
{
    std::lock_guard<std::mutex> hold(mLock);
    mWindow = window;
    LogLocked({"FSOUND_SetHWND", {static_cast<int64_t>(reinterpret_cast<uintptr_t>(window))}, {}, true});
    return true;
}

bool FmodRuntime::Init(int32_t mixRate, int32_t channels, uint32_t flags)
{
    {
        std::lock_guard<std::mutex> hold(mLock);
        const bool refused = TakeFaultLocked(Fault::Init) || mMixer != nullptr;
        if (refused) {
            LogLocked({"FSOUND_Init", {mixRate, channels, flags}, {}, false});
            return false;
        }
    }
    std::string error;
    std::shared_ptr<SoundMixer> mixer = SoundMixer::Acquire(error);
    if (mixer != nullptr)
        mixer->AddFeeder(this);
    std::lock_guard<std::mutex> hold(mLock);
    mMixer = std::move(mixer);
    LogLocked({"FSOUND_Init", {mixRate, channels, flags}, {}, mMixer != nullptr});
    return mMixer != nullptr;
}

void FmodRuntime::Close()
{
    std::shared_ptr<SoundMixer> mixer;
    std::vector<std::shared_ptr<MusicStream>> streams;
    {
        std::lock_guard<std::mutex> hold(mLock);
        LogLocked({"FSOUND_Close", {}, {}, true});
        mixer = std::move(mMixer);
        mMixer = nullptr;
        for (Channel& channel : mChannels) {
            if (channel.stream != nullptr)
                streams.push_back(std::move(channel.stream));
            channel = Channel{};
        }
        mSamples.clear();
    }
    // Outside mLock: the feeder takes it while the mixer holds its feed lock.
    if (mixer != nullptr)
        mixer->RemoveFeeder(this);
    for (const std::shared_ptr<MusicStream>& stream : streams)
        stream->Detach();
}

FSOUND_SAMPLE* FmodRuntime::SampleLoad(int32_t index, const char* name, uint32_t mode, int32_t offset)
{
    const std::string file = name != nullptr ? name : "";
    {
        std::lock_guard<std::mutex> hold(mLock);
        if (TakeFaultLocked(Fault::SampleLoad) || name == nullptr) {
            LogLocked({"FSOUND_Sample_Load", {index, mode, offset}, file, false});
            return nullptr;
        }
    }
    // Decoded outside the lock: a long file must not hold up the mixer's feeding.
    const uint64_t maxBytes = MaximumSampleBytes();
    std::vector<uint8_t> bytes;
    std::unique_ptr<FSOUND_SAMPLE> sample;
    if (ReadFile(file, offset, maxBytes, bytes))
        sample = Fmod::DecodeSample(ExtensionOf(file), bytes.data(), bytes.size(), maxBytes);
    std::lock_guard<std::mutex> hold(mLock);
    LogLocked({"FSOUND_Sample_Load", {index, mode, offset}, file, sample != nullptr});
    if (sample == nullptr)
        return nullptr;
    FSOUND_SAMPLE* handle = sample.get();
    mSamples[handle] = std::move(sample);
    return handle;
}

FSOUND_SAMPLE* FmodRuntime::SampleFromBytes(const std::string& extension, const uint8_t* bytes, size_t size)
{
    std::unique_ptr<FSOUND_SAMPLE> sample = Fmod::DecodeSample(extension, bytes, size, MaximumSampleBytes());
    if (sample == nullptr)
        return nullptr;
    std::lock_guard<std::mutex> hold(mLock);
    FSOUND_SAMPLE* handle = sample.get();
    mSamples[handle] = std::move(sample);
    return handle;
}

FSOUND_SAMPLE* FmodRuntime::SampleAlloc(int32_t length, uint32_t mode, int32_t frequency, int32_t volume,
                                        int32_t pan, int32_t priority)
{
    std::lock_guard<std::mutex> hold(mLock);
    auto sample = std::make_unique<FSOUND_SAMPLE>();
    sample->mode = mode;
    sample->frequency = frequency;
    sample->volume = volume;
    sample->pan = pan;
    sample->priority = priority;
    const uint64_t bytes = static_cast<uint64_t>(length > 0 ? length : 0) * sample->BlockAlign();
    const bool ok = length > 0 && frequency > 0 && bytes <= MaximumSampleBytes();
    LogLocked({"FSOUND_Sample_Alloc", {length, mode, frequency, volume, pan, priority}, {}, ok});
    if (!ok)
        return nullptr;
    sample->length = static_cast<uint32_t>(length);
    sample->loopLength = sample->length;
    // Silence: 8-bit samples are unsigned.
    sample->bytes = std::make_shared<std::vector<uint8_t>>(bytes, (mode & Fmod::k8Bits) != 0 ? 0x80 : 0);
    FSOUND_SAMPLE* handle = sample.get();
    mSamples[handle] = std::move(sample);
    return handle;
}

void FmodRuntime::SampleFree(FSOUND_SAMPLE* sample)
{
    std::lock_guard<std::mutex> hold(mLock);
    LogLocked({"FSOUND_Sample_Free", {}, {}, KnownLocked(sample)});
    // A channel playing it goes on: its stream shares the bytes.
    mSamples.erase(sample);
}

bool FmodRuntime::SampleLock(FSOUND_SAMPLE* sample, int32_t offset, int32_t length, void** part1, void** part2,
                             uint32_t* length1, uint32_t* length2)
{
    std::lock_guard<std::mutex> hold(mLock);
    const uint64_t size = KnownLocked(sample) ? sample->bytes->size() : 0;
    const bool ok = !TakeFaultLocked(Fault::SampleLock) && KnownLocked(sample) && offset >= 0 && length >= 0
        && static_cast<uint64_t>(offset) < size && part1 != nullptr && length1 != nullptr;
    LogLocked({"FSOUND_Sample_Lock", {offset, length}, {}, ok});
    if (!ok)
        return false;
    *part1 = sample->bytes->data() + offset;
    *length1 = static_cast<uint32_t>(size - static_cast<uint64_t>(offset));
    if (part2 != nullptr)
        *part2 = nullptr;
    if (length2 != nullptr)
        *length2 = 0;
    return true;
}

bool FmodRuntime::SampleUnlock(FSOUND_SAMPLE* sample)
{
    std::lock_guard<std::mutex> hold(mLock);
    const bool ok = KnownLocked(sample);
    LogLocked({"FSOUND_Sample_Unlock", {}, {}, ok});
    return ok;
}

bool FmodRuntime::SampleSetLoopPoints(FSOUND_SAMPLE* sample, int32_t loopStart, int32_t loopLength)
{
    std::lock_guard<std::mutex> hold(mLock);
    const bool ok = KnownLocked(sample) && loopStart >= 0 && loopLength > 0
        && static_cast<uint64_t>(loopStart) + static_cast<uint64_t>(loopLength) <= sample->length;
    LogLocked({"FSOUND_Sample_SetLoopPoints", {loopStart, loopLength}, {}, ok});
    if (!ok)
        return false;
    sample->loopStart = static_cast<uint32_t>(loopStart);
    sample->loopLength = static_cast<uint32_t>(loopLength);
    return true;
}

uint32_t FmodRuntime::SampleGetLength(FSOUND_SAMPLE* sample)
{
    std::lock_guard<std::mutex> hold(mLock);
    return KnownLocked(sample) ? sample->length : 0;
}

bool FmodRuntime::SampleGetDefaults(FSOUND_SAMPLE* sample, int32_t* frequency, int32_t* volume, int32_t* pan,
                                    int32_t* priority)
{
    std::lock_guard<std::mutex> hold(mLock);
    if (!KnownLocked(sample))
        return false;
    if (frequency != nullptr)
        *frequency = sample->frequency;
    if (volume != nullptr)
        *volume = sample->volume;
    if (pan != nullptr)
        *pan = sample->pan;
    if (priority != nullptr)
        *priority = sample->priority;
    return true;
}

uint32_t FmodRuntime::SampleGetMode(FSOUND_SAMPLE* sample)
{
    std::lock_guard<std::mutex> hold(mLock);
    return KnownLocked(sample) ? sample->mode : 0;
}

int32_t FmodRuntime::PlaySound(int32_t channel, FSOUND_SAMPLE* sample)
{
    std::shared_ptr<MusicStream> old;
    std::shared_ptr<MusicStream> stream;
    {
        std::lock_guard<std::mutex> hold(mLock);
        const bool ok = !TakeFaultLocked(Fault::PlaySound) && IsChannel(channel) && KnownLocked(sample)
            && mMixer != nullptr && sample->length > 0;
        if (ok)
            stream = MusicStream::Create(mMixer, std::make_unique<SampleStreamDecoder>(*sample), 100);
        LogLocked({"FSOUND_PlaySound", {channel}, {}, stream != nullptr});
        if (stream == nullptr)
            return -1;
        Channel& playing = mChannels[static_cast<size_t>(channel)];
        old = std::move(playing.stream);
        playing.stream = stream;
        stream->SetAttributes(-1, playing.volume, 0);
        stream->SetLooping((sample->mode & Fmod::kLoopNormal) != 0);
        stream->SetLoopStart(sample->loopStart);
        stream->Play(true);
    }
    if (old != nullptr)
        old->Detach();
    return channel;
}

std::shared_ptr<MusicStream> FmodRuntime::StreamOf(int32_t channel)
{
    if (!IsChannel(channel))
        return nullptr;
    return mChannels[static_cast<size_t>(channel)].stream;
}

bool FmodRuntime::StopSound(int32_t channel)
{
    std::lock_guard<std::mutex> hold(mLock);
    const std::shared_ptr<MusicStream> stream = StreamOf(channel);
    LogLocked({"FSOUND_StopSound", {channel}, {}, stream != nullptr});
    if (stream == nullptr)
        return false;
    stream->Stop();
    return true;
}

bool FmodRuntime::SetVolume(int32_t channel, int32_t volume)
{
    std::lock_guard<std::mutex> hold(mLock);
    LogLocked({"FSOUND_SetVolume", {channel, volume}, {}, IsChannel(channel)});
    if (!IsChannel(channel))
        return false;
    Channel& target = mChannels[static_cast<size_t>(channel)];
    target.volume = std::clamp(volume, 0, 100);
    if (target.stream != nullptr)
        target.stream->SetAttributes(-1, target.volume, 0);
    return true;
}

bool FmodRuntime::SetPaused(int32_t channel, bool paused)
{
    std::lock_guard<std::mutex> hold(mLock);
    const std::shared_ptr<MusicStream> stream = StreamOf(channel);
    LogLocked({"FSOUND_SetPaused", {channel, paused ? 1 : 0}, {}, stream != nullptr});
    if (stream == nullptr)
        return false;
    const Bass::DWORD state = stream->IsActive();
    if (paused && state == Bass::kActivePlaying)
        stream->Pause();
    else if (!paused && state == Bass::kActivePaused)
        stream->Play(false);
    return true;
}

bool FmodRuntime::SetLoopMode(int32_t channel, uint32_t mode)
{
    std::lock_guard<std::mutex> hold(mLock);
    const std::shared_ptr<MusicStream> stream = StreamOf(channel);
    const bool ok = stream != nullptr && (mode == Fmod::kLoopOff || mode == Fmod::kLoopNormal);
    LogLocked({"FSOUND_SetLoopMode", {channel, mode}, {}, ok});
    if (ok)
        stream->SetLooping(mode == Fmod::kLoopNormal);
    return ok;
}

bool FmodRuntime::IsPlaying(int32_t channel)
{
    std::lock_guard<std::mutex> hold(mLock);
    const std::shared_ptr<MusicStream> stream = StreamOf(channel);
    return stream != nullptr && stream->IsActive() != Bass::kActiveStopped;
}

void FmodRuntime::InjectFailure(Fault fault, uint32_t count)
{
    std::lock_guard<std::mutex> hold(mLock);
    mFaults[fault] += count;
}

std::vector<FmodRuntime::Call> FmodRuntime::GetCallLog()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mLog;
}

void FmodRuntime::ClearCallLog()
{
    std::lock_guard<std::mutex> hold(mLock);
    mLog.clear();
}

bool FmodRuntime::IsInitialised()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mMixer != nullptr;
}

WindowHandle FmodRuntime::GetWindow()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mWindow;
}

int32_t FmodRuntime::GetBufferSize()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mBufferSize;
}

size_t FmodRuntime::LiveSamples()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mSamples.size();
}

int32_t FmodRuntime::GetVolume(int32_t channel)
{
    std::lock_guard<std::mutex> hold(mLock);
    return IsChannel(channel) ? mChannels[static_cast<size_t>(channel)].volume : 0;
}

void FmodRuntime::Reset()
{
    Close();
    std::lock_guard<std::mutex> hold(mLock);
    mWindow = nullptr;
    mBufferSize = 0;
    mFaults.clear();
    mLog.clear();
}

void FmodRuntime::Feed(uint32_t frames)
{
    std::vector<std::shared_ptr<MusicStream>> streams;
    {
        std::lock_guard<std::mutex> hold(mLock);
        for (const Channel& channel : mChannels)
            if (channel.stream != nullptr)
                streams.push_back(channel.stream);
    }
    for (const std::shared_ptr<MusicStream>& stream : streams)
        stream->Feed(frames);
}

} // namespace Platform
