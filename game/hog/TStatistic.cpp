#include "game/hog/TStatistic.h"

#include "game/hog/HogMessageCodes.h"
#include "game/hog/MessageParam.h"

#include <cmath>

namespace Tandry {

namespace {

// The strength of the penalty that the board's cursor push reads.
constexpr int kTooManyMissesValue = 20;

} // namespace

TStatistic::TStatistic()
{
    for (const int code : {kHogMiss, kHogItemFound, kHogClockStart, kHogClockStop, kHogTick})
        Subscribe(this, code);
}

void TStatistic::OnMessage(int code, TMessenger* /*sender*/, MessageParam* param)
{
    switch (code) {
    case kHogTick:
        if (mClockRunning && param != nullptr)
            mElapsed += param->time;
        break;
    case kHogItemFound:
        mMisses.clear();
        break;
    case kHogClockStop:
        mClockRunning = false;
        break;
    case kHogClockStart:
        mClockRunning = true;
        break;
    case kHogMiss:
        RecordMiss();
        break;
    default:
        break;
    }
}

void TStatistic::RecordMiss()
{
    if (!mClockRunning)
        return;
    mMisses.push_back(mElapsed);
    const size_t n = mMisses.size();
    if (n > 3 && std::fabs(mMisses[n - 1] - mMisses[n - 3]) < mWindow) {
        mMisses.clear();
        MessageParam param(kTooManyMissesValue);
        BroadcastMessage(this, kHogTooManyMisses, &param);
    }
}

} // namespace Tandry
