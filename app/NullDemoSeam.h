// The demo seam of a build without recording and playback: nothing is
// recorded, nothing replayed, and a demo file cannot be played.
#pragma once

#include "app/DemoSeam.h"

namespace Tandry {

class NullDemoSeam : public DemoSeam {
public:
    static constexpr const char* kUnavailableText = "Demo playback is not available in this build.";

    bool ReadDemoFile(std::string& error) override;
    void WriteDemoFile() override {}
    void ReplayDisplayState() override {}
    void RecordDisplayState() override {}
    void RecordRegistryRead(bool, uint32_t, const uint8_t*, uint32_t) override {}
    bool ReplayRegistryRead(uint32_t&, uint8_t*, uint32_t&) override { return false; }
    void RecordRegistryWrite(bool) override {}
    bool ReplayRegistryWrite() override { return false; }
    void RecordSyncBlock(const Buffer&) override {}
    void ReplaySyncBlock(Buffer&) override {}
    void ReplayInput() override {}
    void RecordKeyDown(int) override {}
    void RecordKeyUp(int) override {}
    void RecordKeyChar(wchar_t) override {}
    void RecordActivate(bool) override {}
    void RecordMinimise(bool) override {}
    void RecordClose() override {}
    void RecordWheel(int) override {}
    void RecordMousePosition(int, int) override {}
    void RecordMouseButton(bool, int) override {}
    void RecordMouseEnter() override {}
    void RecordMouseLeave() override {}
    void RecordLoadingDone() override {}
    void HandlePlaybackChar(wchar_t) override {}
};

} // namespace Tandry
