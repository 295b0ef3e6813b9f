#include "platform/headless/HeadlessAudioOutput.h"

namespace Platform {

HeadlessAudioOutput::HeadlessAudioOutput(HeadlessClock& clock)
    : mClock(clock)
{
    mClock.SetAdvanceListener([this](uint32_t milliseconds) { OnClockAdvanced(milliseconds); });
}

HeadlessAudioOutput::~HeadlessAudioOutput()
{
    mClock.SetAdvanceListener(nullptr);
}

bool HeadlessAudioOutput::Open(AudioSource& source, std::string& error)
{
    std::lock_guard<std::mutex> hold(mLock);
    if (mMissing) {
        error = "no sound device";
        return false;
    }
    if (mSource != nullptr) {
        error = "the sound device is open already";
        return false;
    }
    mSource = &source;
    mPendingTenths = 0;
    return true;
}

void HeadlessAudioOutput::Close()
{
    std::lock_guard<std::mutex> hold(mLock);
    mSource = nullptr;
}

bool HeadlessAudioOutput::IsOpen()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mSource != nullptr;
}

void HeadlessAudioOutput::SetMode(Mode mode)
{
    std::lock_guard<std::mutex> hold(mLock);
    mMode = mode;
    mPendingTenths = 0;
}

void HeadlessAudioOutput::SetDeviceMissing(bool missing)
{
    std::lock_guard<std::mutex> hold(mLock);
    mMissing = missing;
}

std::vector<int16_t> HeadlessAudioOutput::Render(uint32_t frames)
{
    std::vector<int16_t> samples(static_cast<size_t>(frames) * kChannels);
    // The lock stays held so that Close cannot return while the source renders.
    std::lock_guard<std::mutex> hold(mLock);
    if (mSource != nullptr && frames > 0)
        mSource->Render(samples.data(), frames);
    return samples;
}

std::vector<int16_t> HeadlessAudioOutput::TakeCapture()
{
    std::lock_guard<std::mutex> hold(mLock);
    std::vector<int16_t> taken;
    taken.swap(mCapture);
    return taken;
}

void HeadlessAudioOutput::OnClockAdvanced(uint32_t milliseconds)
{
    std::lock_guard<std::mutex> hold(mLock);
    if (mMode != Mode::ClockDriven || mSource == nullptr)
        return;
    mPendingTenths += static_cast<uint64_t>(milliseconds) * (kRate / 100);
    const uint64_t frames = mPendingTenths / 10;
    mPendingTenths %= 10;
    const size_t start = mCapture.size();
    mCapture.resize(start + static_cast<size_t>(frames) * kChannels);
    if (frames > 0)
        mSource->Render(mCapture.data() + start, static_cast<uint32_t>(frames));
}

} // namespace Platform
