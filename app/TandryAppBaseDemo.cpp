// The application's side of demo recording and playback: the mode checks,
// and the values that pass through the demo stream.
#include "app/TandryAppBase.h"

#include "app/DemoSeam.h"
#include "graphics/DDInterface.h"

namespace Tandry {

void TandryAppBase::SetDemoSeam(std::unique_ptr<DemoSeam> seam)
{
    mDemoSeam = std::move(seam);
}

bool TandryAppBase::ReadDemoFile(std::string& error)
{
    return mDemoSeam->ReadDemoFile(error);
}

void TandryAppBase::WriteDemoFile()
{
    if (mRecordingDemo)
        mDemoSeam->WriteDemoFile();
}

void TandryAppBase::ReplayDemoInput()
{
    if (mPlayingDemo && !mShutdown)
        mDemoSeam->ReplayInput();
}

void TandryAppBase::RecordDisplayState()
{
    if (mDDInterface != nullptr)
        mRefreshRate = static_cast<int>(mDDInterface->mRefreshRate);
    if (mRecordingDemo)
        mDemoSeam->RecordDisplayState();
}

void TandryAppBase::SyncBufferWithDemo(Buffer& block)
{
    if (mPlayingDemo) {
        if (!mDemoFinished)
            mDemoSeam->ReplaySyncBlock(block);
    } else if (mRecordingDemo) {
        mDemoSeam->RecordSyncBlock(block);
    }
}

void TandryAppBase::SyncStringWithDemo(std::string& text)
{
    // Outside a demo the text stays whole: the stream's strings are limited in length.
    if (!mPlayingDemo && !mRecordingDemo)
        return;
    Buffer block;
    block.PutString(text);
    SyncBufferWithDemo(block);
    text = block.GetString();
}

void TandryAppBase::SyncBoolWithDemo(bool& value)
{
    if (!mPlayingDemo && !mRecordingDemo)
        return;
    Buffer block;
    block.PutBool(value);
    SyncBufferWithDemo(block);
    value = block.GetBool();
}

} // namespace Tandry
