// The application's side of demo recording and playback: the mode checks,
// and the values that pass through the demo stream.
#include "app/TandryAppBase.h"

#include "app/DemoSeam.h"
#include "graphics/display/DDInterface.h"

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

namespace {

// Puts a value into a block, passes the block through the demo and takes the
// value back out. Outside a demo the value is left alone, so a text stays
// whole although the stream's strings are limited in length.
template <typename Put, typename Get>
void SyncValue(TandryAppBase& app, Put put, Get get)
{
    if (!app.mPlayingDemo && !app.mRecordingDemo)
        return;
    Buffer block;
    put(block);
    app.SyncBufferWithDemo(block);
    get(block);
}

} // namespace

void TandryAppBase::SyncStringWithDemo(std::string& text)
{
    SyncValue(*this, [&](Buffer& block) { block.PutString(text); }, [&](Buffer& block) { text = block.GetString(); });
}

void TandryAppBase::SyncBoolWithDemo(bool& value)
{
    SyncValue(*this, [&](Buffer& block) { block.PutBool(value); }, [&](Buffer& block) { value = block.GetBool(); });
}

} // namespace Tandry
