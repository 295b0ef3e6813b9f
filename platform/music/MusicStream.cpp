#include "platform/music/MusicStream.h"

#include <algorithm>

namespace Platform {
namespace {

// Frames decoded at a time beyond what the next block needs, so the decoder
// runs in a few larger steps rather than one per block.
constexpr uint64_t kDecodeAhead = 4096;

} // namespace

std::shared_ptr<MusicStream> MusicStream::Create(std::shared_ptr<SoundMixer> mixer, std::vector<uint8_t> owned,
                                                 const uint8_t* bytes, size_t size, int32_t globalVolume)
{
    if (mixer == nullptr)
        return nullptr;
    std::unique_ptr<StreamDecoder> decoder = OpenStreamDecoder(bytes, size);
    if (decoder == nullptr)
        return nullptr;
    std::shared_ptr<MusicStream> stream(new MusicStream(std::move(mixer), std::move(owned), std::move(decoder)));
    stream->Attach(globalVolume);
    return stream;
}

std::shared_ptr<MusicStream> MusicStream::Create(std::shared_ptr<SoundMixer> mixer,
                                                 std::unique_ptr<StreamDecoder> decoder, int32_t globalVolume)
{
    if (mixer == nullptr || decoder == nullptr)
        return nullptr;
    std::shared_ptr<MusicStream> stream(new MusicStream(std::move(mixer), {}, std::move(decoder)));
    stream->Attach(globalVolume);
    return stream;
}

void MusicStream::Attach(int32_t globalVolume)
{
    std::lock_guard<std::mutex> hold(mMixer->Mutex());
    mGlobalVolume = globalVolume;
    ApplyGainsLocked();
    mMixer->AttachLocked(&mVoice);
    mAttached = true;
}

MusicStream::MusicStream(std::shared_ptr<SoundMixer> mixer, std::vector<uint8_t> owned,
                         std::unique_ptr<StreamDecoder> decoder)
    : mMixer(std::move(mixer))
    , mOwned(std::move(owned))
    , mDecoder(std::move(decoder))
    , mChannels(mDecoder->Channels())
    , mRate(mDecoder->Rate())
    , mWindow(std::make_shared<Window>())
{
    mWindow->channels = mChannels;
    mVoice.source = mWindow;
    mVoice.rate = mRate;
    // Nothing is decoded yet: the first play starts from frame 0.
    mSeekTo = 0;
}

MusicStream::~MusicStream()
{
    Detach();
}

void MusicStream::Detach()
{
    std::lock_guard<std::mutex> hold(mMixer->Mutex());
    if (mAttached)
        mMixer->DetachLocked(&mVoice);
    mAttached = false;
    mVoice.playing = false;
    mState = State::Stopped;
}

void MusicStream::RequestSeekLocked(uint64_t frame)
{
    mSeekTo = frame;
    ++mSeekGeneration;
    mEnded = false;
    // The window holds other frames now; Feed starts the voice again.
    mVoice.playing = false;
}

void MusicStream::Play(bool restart)
{
    std::lock_guard<std::mutex> hold(mMixer->Mutex());
    if (!mAttached)
        return;
    if (restart || mEnded)
        RequestSeekLocked(0);
    else
        mVoice.playing = !mSeekTo.has_value();
    mState = State::Playing;
}

void MusicStream::Stop()
{
    std::lock_guard<std::mutex> hold(mMixer->Mutex());
    mState = State::Stopped;
    mVoice.playing = false;
}

void MusicStream::Pause()
{
    std::lock_guard<std::mutex> hold(mMixer->Mutex());
    if (mState == State::Playing)
        mState = State::Paused;
    mVoice.playing = false;
}

Bass::DWORD MusicStream::IsActive()
{
    std::lock_guard<std::mutex> hold(mMixer->Mutex());
    // A voice that ran out of frames with no seek waiting has reached the end.
    if (mState == State::Playing && !mSeekTo && !mVoice.playing) {
        mState = State::Stopped;
        mEnded = true;
    }
    switch (mState) {
    case State::Playing:
        return Bass::kActivePlaying;
    case State::Paused:
        return Bass::kActivePaused;
    case State::Stopped:
        break;
    }
    return Bass::kActiveStopped;
}

void MusicStream::SetLooping(bool looping)
{
    std::lock_guard<std::mutex> hold(mMixer->Mutex());
    mLooping = looping;
}

void MusicStream::SetLoopStart(uint64_t frame)
{
    std::lock_guard<std::mutex> hold(mMixer->Mutex());
    mLoopStart = frame < mDecoder->Length() ? frame : 0;
}

bool MusicStream::SetPosition(uint64_t bytePosition)
{
    const uint64_t frame = bytePosition / (mChannels * 2);
    if (frame > mDecoder->Length())
        return false;
    std::lock_guard<std::mutex> hold(mMixer->Mutex());
    RequestSeekLocked(frame);
    return true;
}

void MusicStream::SetAttributes(int32_t frequency, int32_t volume, int32_t pan)
{
    std::lock_guard<std::mutex> hold(mMixer->Mutex());
    if (frequency == 0)
        mVoice.rate = mRate;
    else if (frequency > 0)
        mVoice.rate = static_cast<uint32_t>(std::clamp(frequency, 100, 100000));
    if (volume != Bass::kKeepVolume)
        mVolume = std::clamp(volume, 0, 100);
    if (pan != Bass::kKeepPan)
        mPan = std::clamp(pan, -100, 100);
    ApplyGainsLocked();
}

void MusicStream::SetGlobalVolume(int32_t volume)
{
    std::lock_guard<std::mutex> hold(mMixer->Mutex());
    mGlobalVolume = volume;
    ApplyGainsLocked();
}

void MusicStream::ApplyGainsLocked()
{
    // channel volume / 100 × global volume / 100, in Q15; the pan turns the
    // far side down linearly.
    const int64_t base = static_cast<int64_t>(mVolume) * mGlobalVolume * MixerVoice::kUnityGain / 10000;
    mVoice.gainLeft = static_cast<int32_t>(base * (mPan > 0 ? 100 - mPan : 100) / 100);
    mVoice.gainRight = static_cast<int32_t>(base * (mPan < 0 ? 100 + mPan : 100) / 100);
}

void MusicStream::DecodeInto(uint64_t count, bool looping, uint64_t loopStart)
{
    mStaging.resize(static_cast<size_t>(count) * mChannels);
    uint64_t filled = 0;
    bool wrapped = false;
    while (filled < count && !mDecoderAtEnd) {
        const auto ask = static_cast<uint32_t>(std::min<uint64_t>(count - filled, 1u << 20));
        const uint32_t got = mDecoder->Read(mStaging.data() + filled * mChannels, ask);
        filled += got;
        if (got > 0) {
            wrapped = false;
            continue;
        }
        // A second empty read straight after going round means nothing can be read.
        if (!looping || wrapped || !mDecoder->Seek(loopStart))
            mDecoderAtEnd = true;
        wrapped = true;
    }
    mStaging.resize(static_cast<size_t>(filled) * mChannels);
}

void MusicStream::Feed(uint32_t frames)
{
    uint64_t generation = 0;
    std::optional<uint64_t> seek;
    uint64_t consumed = 0;
    uint64_t held = 0;
    bool looping = false;
    uint64_t loopStart = 0;
    uint32_t rate = 0;
    {
        std::lock_guard<std::mutex> hold(mMixer->Mutex());
        if (!mAttached || mState != State::Playing)
            return;
        if (!mSeekTo && !mVoice.playing)
            return; // ended; IsActive reports it
        generation = mSeekGeneration;
        seek = mSeekTo;
        consumed = mVoice.position >> 32;
        held = mWindow->samples.size() / mChannels;
        looping = mLooping;
        loopStart = mLoopStart;
        rate = mVoice.rate;
    }
    if (seek) {
        mDecoderAtEnd = !mDecoder->Seek(*seek);
        consumed = 0;
        held = 0;
    } else if (looping && mDecoderAtEnd) {
        // Looping switched on after the decoder had reached the end.
        mDecoderAtEnd = !mDecoder->Seek(loopStart);
    }
    // The next block reads up to this many frames past the cursor, with one
    // more for the interpolation.
    const uint64_t needed = (static_cast<uint64_t>(frames) * rate + AudioOutput::kRate - 1) / AudioOutput::kRate + 2;
    const uint64_t ahead = held > consumed ? held - consumed : 0;
    mStaging.clear();
    if (ahead < needed && !mDecoderAtEnd)
        DecodeInto(needed - ahead + kDecodeAhead, looping, loopStart);

    std::lock_guard<std::mutex> hold(mMixer->Mutex());
    if (!mAttached || mSeekGeneration != generation)
        return; // a newer seek came in; the next feed serves it
    std::vector<int16_t>& samples = mWindow->samples;
    if (seek) {
        samples.clear();
        mVoice.position = 0;
        mSeekTo.reset();
        mVoice.playing = mState == State::Playing;
    } else if (consumed > 0) {
        const size_t drop = static_cast<size_t>(std::min<uint64_t>(consumed, held)) * mChannels;
        samples.erase(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(drop));
        mVoice.position -= static_cast<uint64_t>(drop / mChannels) << 32;
    }
    samples.insert(samples.end(), mStaging.begin(), mStaging.end());
}

} // namespace Platform
