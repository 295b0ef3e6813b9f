#include "app/DemoStreamSeam.h"

#include "app/DemoEventType.h"
#include "app/DemoFile.h"
#include "app/TandryAppBase.h"
#include "platform/Platform.h"
#include "platform/fs/FileOps.h"
#include "platform/fs/SafeWrite.h"
#include "widgets/WidgetManager.h"

#include <cstdio>
#include <vector>

namespace Tandry {

namespace {

DemoStreamState AppStreamState(TandryAppBase& app)
{
    return {app.mDemoBuffer,       app.mDemoNextEventUpdate, app.mDemoNeedHeader, app.mDemoEventIsMouse,
            app.mDemoEventType,    app.mDemoEventIndex,      app.mDemoEventBitPos, app.mDemoMouseX,
            app.mDemoMouseY};
}

// The whole file, read in pieces, so a file that shrinks or grows while it is
// read costs no more memory than it holds.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes)
{
    FILE* file = Platform::OpenFile(path, "rb");
    if (file == nullptr)
        return false;
    constexpr size_t kPiece = 64 * 1024;
    uint8_t piece[kPiece];
    size_t got = 0;
    while ((got = std::fread(piece, 1, kPiece, file)) > 0)
        bytes.insert(bytes.end(), piece, piece + got);
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

} // namespace

DemoStreamSeam::DemoStreamSeam(TandryAppBase& app)
    : mApp(app), mCodec(AppStreamState(app)), mPlayer(AppStreamState(app), *this), mControls(app)
{
}

bool DemoStreamSeam::ReadDemoFile(std::string& error)
{
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(mApp.mDemoFileName, bytes)) {
        error = DemoFile::kNotFoundText + mApp.mDemoFileName;
        return false;
    }
    DemoFile file;
    if (!DemoFile::Read(bytes, mApp.mProductVersion, file, error))
        return false;
    mApp.mRandomSeed = file.seed;
    mApp.mDemoMarkers.assign(file.markers.begin(), file.markers.end());
    mApp.mDemoEndUpdate = static_cast<int>(file.totalUpdates);
    mApp.mDemoBuffer.Clear();
    mApp.mDemoBuffer.PutBytes(file.events.data(), static_cast<int>(file.events.size()));
    mApp.mDemoBuffer.SetReadBitPos(0);
    return true;
}

void DemoStreamSeam::WriteDemoFile()
{
    DemoFile file;
    file.seed = mApp.mRandomSeed;
    file.productVersion = mApp.mProductVersion;
    file.markers.assign(mApp.mDemoMarkers.begin(), mApp.mDemoMarkers.end());
    file.totalUpdates = static_cast<uint32_t>(mApp.mUpdateCount);
    const Buffer& stream = mApp.mDemoBuffer;
    if (stream.GetByteSize() > 0)
        file.events.assign(stream.GetData(), stream.GetData() + stream.GetByteSize());
    const std::vector<uint8_t> bytes = file.Write();
    if (!Platform::SafeWrite::WriteBytes(mApp.mDemoFileName, bytes.data(), bytes.size()))
        Platform::OutputDebugText("The demo could not be saved to " + mApp.mDemoFileName + "\r\n");
}

void DemoStreamSeam::ReplayDisplayState()
{
    mPlayer.ReplayDisplayState(mApp.mUpdateCount);
}

void DemoStreamSeam::RecordDisplayState()
{
    mCodec.WriteDisplayState(mApp.mUpdateCount, mApp.mWindowed, mApp.mRefreshRate);
}

void DemoStreamSeam::RecordRegistryRead(bool success, uint32_t type, const uint8_t* data, uint32_t length)
{
    mCodec.WriteRegistryRead(mApp.mUpdateCount, success, type, data, length);
}

bool DemoStreamSeam::ReplayRegistryRead(uint32_t& type, uint8_t* data, uint32_t& length)
{
    return mPlayer.ReplayRegistryRead(mApp.mUpdateCount, type, data, length);
}

void DemoStreamSeam::RecordRegistryWrite(bool success)
{
    mCodec.WriteRegistryWrite(mApp.mUpdateCount, success);
}

bool DemoStreamSeam::ReplayRegistryWrite()
{
    return mPlayer.ReplayRegistryWrite(mApp.mUpdateCount);
}

void DemoStreamSeam::RecordSyncBlock(const Buffer& block)
{
    mCodec.WriteSyncBlock(mApp.mUpdateCount, block);
}

void DemoStreamSeam::ReplaySyncBlock(Buffer& block)
{
    mPlayer.ReplaySyncBlock(mApp.mUpdateCount, block);
}

void DemoStreamSeam::ReplayInput()
{
    mPlayer.ReplayUpdate(mApp.mUpdateCount);
}

void DemoStreamSeam::RecordKeyDown(int virtualKey)
{
    mCodec.WriteKey(mApp.mUpdateCount, kDemoKeyDown, virtualKey);
}

void DemoStreamSeam::RecordKeyUp(int virtualKey)
{
    mCodec.WriteKey(mApp.mUpdateCount, kDemoKeyUp, virtualKey);
}

void DemoStreamSeam::RecordKeyChar(wchar_t ch)
{
    mCodec.WriteKeyChar(mApp.mUpdateCount, ch);
}

void DemoStreamSeam::RecordActivate(bool active)
{
    mCodec.WriteActivate(mApp.mUpdateCount, active);
}

void DemoStreamSeam::RecordMinimise(bool minimised)
{
    mCodec.WriteMinimise(mApp.mUpdateCount, minimised);
}

void DemoStreamSeam::RecordClose()
{
    mCodec.WriteBare(mApp.mUpdateCount, kDemoCloseWindow);
}

void DemoStreamSeam::RecordWheel(int notches)
{
    mCodec.WriteWheel(mApp.mUpdateCount, notches);
}

void DemoStreamSeam::RecordMousePosition(int x, int y)
{
    mCodec.WriteMousePosition(mApp.mUpdateCount, x, y);
}

void DemoStreamSeam::RecordMouseButton(bool down, int clickCode)
{
    mCodec.WriteMouseButton(mApp.mUpdateCount, down, clickCode);
}

void DemoStreamSeam::RecordMouseEnter()
{
    mCodec.WriteBare(mApp.mUpdateCount, kDemoMouseEnter);
}

void DemoStreamSeam::RecordMouseLeave()
{
    mCodec.WriteBare(mApp.mUpdateCount, kDemoMouseLeave);
}

void DemoStreamSeam::RecordLoadingDone()
{
    mCodec.WriteBare(mApp.mUpdateCount, kDemoLoadingDone);
}

void DemoStreamSeam::HandlePlaybackChar(wchar_t ch)
{
    mControls.HandleChar(ch);
}

void DemoStreamSeam::MouseMove(int x, int y)
{
    mApp.mWidgetManager->MouseMove(x, y);
}

void DemoStreamSeam::MouseDown(int x, int y, int clickCode)
{
    mApp.mWidgetManager->MouseDown(x, y, clickCode);
}

void DemoStreamSeam::MouseUp(int x, int y, int clickCode)
{
    mApp.mWidgetManager->MouseUp(x, y, clickCode);
}

void DemoStreamSeam::Activate(bool active)
{
    mApp.mActive = active;
    mApp.UpdateFocusState();
    if (mApp.mActive && !mApp.mWindowed)
        mApp.mWidgetManager->MarkAllDirty();
    if (!mApp.mActive && mApp.mBrowserLaunchPending)
        mApp.BrowserLaunchDone(mApp.mBrowserUrl);
}

void DemoStreamSeam::Minimise(bool minimised)
{
    if (!mApp.mShutdown && minimised != mApp.mMinimized) {
        mApp.mMinimized = minimised;
        if (minimised) {
            mApp.Mute(true);
        } else {
            mApp.Unmute(true);
            mApp.mWidgetManager->MarkAllDirty();
        }
    }
    mApp.UpdateFocusState();
}

void DemoStreamSeam::KeyDown(int key)
{
    mApp.mWidgetManager->KeyDown(key);
}

void DemoStreamSeam::KeyUp(int key)
{
    mApp.mWidgetManager->KeyUp(key);
}

void DemoStreamSeam::KeyChar(wchar_t ch)
{
    mApp.mWidgetManager->KeyChar(ch);
}

void DemoStreamSeam::Close()
{
    mApp.Shutdown();
}

void DemoStreamSeam::MouseEnter()
{
    mApp.mMouseInWindow = true;
    mApp.ApplyCursor();
}

void DemoStreamSeam::MouseLeave()
{
    mApp.mWidgetManager->MouseExit();
    mApp.mMouseInWindow = false;
    mApp.ApplyCursor();
}

void DemoStreamSeam::LoadingDone()
{
    mApp.mDemoLoadingDone = true;
}

void DemoStreamSeam::Wheel(int notches)
{
    mApp.mWidgetManager->MouseWheel(notches);
}

void DemoStreamSeam::DisplayState(bool windowed, int refreshRate)
{
    mApp.mWindowed = windowed;
    mApp.mRefreshRate = refreshRate;
}

void DemoStreamSeam::PlaybackEnded(const std::string& text)
{
    mApp.mDemoFinished = true;
    mApp.ShowMessageBoxA(text, "Demo playback", Platform::MB_OK | Platform::MB_ICONWARNING);
}

bool DemoStreamSeam::ShuttingDown()
{
    return mApp.mShutdown;
}

} // namespace Tandry
