// What the display asks of the application that owns it: the logical screen
// and the window settings to bring up, the two flags presenting reads, and
// the two results its initialisation hands back. The application lies above
// the display layer, so it implements this beside the image host it installs,
// and the display and its images find it there; tests install a fake.
#pragma once

#include "graphics/types/Rect.h"
#include "graphics/types/ReducedFraction.h"

#include <string>

namespace Tandry {

class DDInterface;

struct DisplaySettings {
    // The logical screen that everything is drawn in.
    int width = 640;
    int height = 480;
    // The window shape the application would widen to; printed only.
    ReducedFraction aspectRatio{4, 3};
    // Colour depth asked of a full-screen display mode.
    int fullScreenBits = 16;
    // False on a Tablet PC, which presents full screen without page flipping.
    bool desktopPc = true;
    // A system dialog is open: full screen presents without flipping and without the cursor.
    bool systemPopupShowing = false;
    // The capability test: the video memory (MB) a card needs, and the amount
    // it should have; whether the player's stored choice asks for a test, and
    // whether a pass without warning turns 3D on by itself.
    int minVidMemoryMB = 6;
    int recVidMemoryMB = 14;
    bool test3D = false;
    bool autoEnable3D = false;
    // The application's registry key; the test keeps its result under it.
    std::string registryKey;
    // A demo plays: outside input comes from the demo, not from the machine.
    bool playingDemo = false;
};

class DisplayHost {
public:
    virtual DisplaySettings GetDisplaySettings() = 0;
    // The monitor gave no plausible refresh rate, so presentations cannot wait for the retrace.
    virtual void SetVSyncBroken() = 0;
    // Where the logical screen lies in the display.
    virtual void SetScreenBounds(const Rect& bounds) = 0;
    // The application's display, or null; images made without naming a display take it.
    virtual DDInterface* GetDDInterface() = 0;
    // The window is minimised; nothing is drawn through Direct3D meanwhile.
    virtual bool IsSizeMinimized() = 0;
    // A string value under the application's registry key, written the way
    // every registry write is, so that a recorded demo records it.
    virtual void WriteRegistryText(const std::string& name, const std::string& value) = 0;
    // A value passes through the demo: recorded while one is recorded, taken
    // from it while one plays, left alone otherwise.
    virtual void SyncStringWithDemo(std::string& text) = 0;
    virtual void SyncBoolWithDemo(bool& value) = 0;
    // The capability test has just computed a result of its own.
    virtual void On3DTestDone() = 0;

protected:
    ~DisplayHost() = default;
};

// The installed image host when it is also a display host, else null.
DisplayHost* GetDisplayHost();

} // namespace Tandry
