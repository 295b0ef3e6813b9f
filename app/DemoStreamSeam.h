// The demo seam of the program: records a run into the application's demo
// stream and saves it as a demo file, or reads a demo file and plays it back
// into the application and its widget manager, with the playback keys. The
// default application factories make one for every application object.
#pragma once

#include "app/DemoEventCodec.h"
#include "app/DemoPlaybackControls.h"
#include "app/DemoPlayer.h"
#include "app/DemoReplaySink.h"
#include "app/DemoSeam.h"

namespace Tandry {

class TandryAppBase;

class DemoStreamSeam : public DemoSeam, private DemoReplaySink {
public:
    explicit DemoStreamSeam(TandryAppBase& app);

    // Reads mDemoFileName whole; fills the seed, the markers, the end update
    // and the stream.
    bool ReadDemoFile(std::string& error) override;
    // Through the safe write: a failed save leaves the previous file as it
    // was and says so on the debugger output only.
    void WriteDemoFile() override;

    void ReplayDisplayState() override;
    void RecordDisplayState() override;
    void RecordRegistryRead(bool success, uint32_t type, const uint8_t* data, uint32_t length) override;
    bool ReplayRegistryRead(uint32_t& type, uint8_t* data, uint32_t& length) override;
    void RecordRegistryWrite(bool success) override;
    bool ReplayRegistryWrite() override;
    void RecordSyncBlock(const Buffer& block) override;
    void ReplaySyncBlock(Buffer& block) override;
    void ReplayInput() override;

    void RecordKeyDown(int virtualKey) override;
    void RecordKeyUp(int virtualKey) override;
    void RecordKeyChar(wchar_t ch) override;
    void RecordActivate(bool active) override;
    void RecordMinimise(bool minimised) override;
    void RecordClose() override;
    void RecordWheel(int notches) override;
    void RecordMousePosition(int x, int y) override;
    void RecordMouseButton(bool down, int clickCode) override;
    void RecordMouseEnter() override;
    void RecordMouseLeave() override;
    void RecordLoadingDone() override;

    void HandlePlaybackChar(wchar_t ch) override;

    DemoPlaybackControls& Controls() { return mControls; }

private:
    // The replayed events, applied as the window procedure applies live ones.
    void MouseMove(int x, int y) override;
    void MouseDown(int x, int y, int clickCode) override;
    void MouseUp(int x, int y, int clickCode) override;
    void Activate(bool active) override;
    void Minimise(bool minimised) override;
    void KeyDown(int key) override;
    void KeyUp(int key) override;
    void KeyChar(wchar_t ch) override;
    void Close() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void LoadingDone() override;
    void Wheel(int notches) override;
    void DisplayState(bool windowed, int refreshRate) override;
    // A box, then registry reads fail, writes succeed and blocks stay as
    // they are; closing the window still ends the program.
    void PlaybackEnded(const std::string& text) override;
    bool ShuttingDown() override;

    TandryAppBase& mApp;
    DemoEventCodec mCodec;
    DemoPlayer mPlayer;
    DemoPlaybackControls mControls;
};

} // namespace Tandry
