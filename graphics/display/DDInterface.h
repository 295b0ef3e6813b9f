// The display of the one game window over DirectDraw: brings the screen up in
// a window or full screen with its draw surface, cursor save areas and screen
// image, describes the display's pixel format with its conversion and
// saturation tables, creates every image surface, presents the drawn frame
// with the software cursor over it, and holds the display lock that also
// guards the application's image sets. The application owns one.
#pragma once

#include "graphics/display/D3DInterface.h"
#include "graphics/display/NativeDisplay.h"
#include "graphics/types/Rect.h"
#include "graphics/types/ReducedFraction.h"
#include "platform/ddraw/DDrawEntryPoints.h"
#include "platform/ddraw/DDrawInterfaces.h"
#include "platform/window/WindowTypes.h"
#include "util/CritSectLock.h"

#include <atomic>
#include <set>
#include <string>
#include <vector>

namespace Tandry {

class D3DTester;
class DDImage;
class DisplayHost;
struct DisplaySettings;
class MemoryImage;

class DDInterface : public NativeDisplay {
public:
    // Looks up the DirectDraw entry points. The display reads the
    // application's settings through the display host it installed.
    DDInterface();
    DDInterface(const DDInterface&) = delete;
    DDInterface& operator=(const DDInterface&) = delete;
    // Images still made for this display are told it is gone.
    ~DDInterface() override;

    // The name of a result of Init.
    static std::string ResultName(int code);

    // A display result code: 0 success, else a failure whose reason is in
    // mErrorText. Releases everything first, so it may be called again.
    virtual int Init(Platform::HWND window, bool windowed);
    void Cleanup();
    // Creates a surface in the display's format; only 16- and 32-bit displays
    // are admitted. out receives the surface or null. Without DirectDraw or a
    // primary surface it answers DDERR_NOTINITIALIZED.
    Platform::HRESULT CreateSurface(Platform::DDSURFACEDESC2* desc, Platform::IDirectDrawSurface** out);
    // True (with mErrorText "<operation>: <name>") when hr is a failure.
    bool CheckDXError(const char* operation, Platform::HRESULT hr);
    // Puts the screen image on a separate video-memory surface or back on the
    // draw surface, making a new screen image.
    void SetScreenInVideoMemory(bool on);
    // The first time the application asks for it, tests the card and turns
    // 3D drawing on or off by the outcome; true when it ran now.
    bool RunCapabilityTest(Platform::HWND window);

    // dirty is the changed part of the logical screen, null for all of it.
    // False when nothing could be presented.
    virtual bool Redraw(Rect* dirty);
    // Saves what lies under the cursor in target and draws the cursor there;
    // onScreen: target is addressed in screen coordinates.
    void DrawSoftwareCursor(Platform::IDirectDrawSurface* target, bool onScreen);
    // Puts the saved background back into target.
    void RestoreCursorArea(Platform::IDirectDrawSurface* target);
    // True when the image changed.
    bool SetCursorImage(MemoryImage* image);
    void AddImage(DDImage* image);
    void RemoveImage(DDImage* image);

    // The DirectDraw object exists from an Init that made it until the display is released.
    bool HasDirectDraw() const { return mDD != nullptr; }
    // Puts the desktop's own surface in front, so a system message box shows over full screen.
    void FlipToGDISurface();
    // Leaves the display's full-screen mode; the desktop's mode is never changed.
    void RestoreDisplayMode();
    bool IsFullScreenActive() const { return mFullScreenActive; }

    D3DInterface* mD3DInterface;
    // Owned; made by the capability test.
    D3DTester* mD3DTester = nullptr;
    bool mIs3D = false;
    // The display lock; recursive, and it also guards the application's image sets.
    CriticalSection mCritSect;
    Platform::IDirectDraw* mDD = nullptr;
    Platform::IDirectDraw7* mDD7 = nullptr;
    Platform::IDirectDrawSurface* mPrimarySurface = nullptr;
    // Full screen: the back buffer; windowed: the video-memory screen surface, or null.
    Platform::IDirectDrawSurface* mSecondarySurface = nullptr;
    // The logical screen that everything is drawn into.
    Platform::IDirectDrawSurface* mDrawSurface = nullptr;
    int mWidth = 0;
    int mHeight = 0;
    ReducedFraction mAspect{1, 1};
    int mDesktopWidth = 0;
    int mDesktopHeight = 0;
    ReducedFraction mDesktopAspect{1, 1};
    // The display area differs in shape from the logical screen.
    bool mAspectCorrected = false;
    // Full screen: the display mode; windowed: the client area.
    int mDisplayWidth = 0;
    int mDisplayHeight = 0;
    ReducedFraction mDisplayAspect{1, 1};
    // Where in the display area the logical screen is shown.
    Rect mPresentationRect;
    int mFullScreenBits = 0;
    // Kept within 60..100 Hz.
    unsigned int mRefreshRate = 60;
    // The cursor thread paces itself by it and reads it without the lock;
    // only Init writes it, when the display is set up.
    std::atomic<int> mMillisPerRefresh{16};
    // Channel value sums (0 .. 2 x max) to the saturated channel value.
    std::vector<int> mRedAddTable;
    std::vector<int> mGreenAddTable;
    std::vector<int> mBlueAddTable;
    // 8-bit channel values to that channel's bits of a display pixel.
    int mRedConvTable[256] = {};
    int mGreenConvTable[256] = {};
    int mBlueConvTable[256] = {};
    // The last Init succeeded and nothing was released since.
    bool mInitialized = false;
    Platform::HWND mHWnd = nullptr;
    bool mIsWindowed = true;
    // Owned image over the surface that drawing goes to.
    DDImage* mScreenImage = nullptr;
    // Every image made for this display, guarded by the display lock.
    std::set<DDImage*> mImageSet;
    bool mScreenInVideoMemory = false;
    int mCursorAreaWidth = 128;
    int mCursorAreaHeight = 128;
    // The cursor thread writes the position while the main thread presents.
    std::atomic<int> mCursorX{0};
    std::atomic<int> mCursorY{0};
    // Where the cursor is drawn in the frame being presented.
    std::atomic<int> mCursorDrawnX{0};
    std::atomic<int> mCursorDrawnY{0};
    // The software cursor picture, not owned; null means none.
    MemoryImage* mCursorImage = nullptr;
    // mOldCursorArea holds what lies under the drawn cursor.
    bool mCursorAreaSaved = false;
    Platform::IDirectDrawSurface* mOldCursorArea = nullptr;
    Platform::IDirectDrawSurface* mNewCursorArea = nullptr;
    DDImage* mOldCursorAreaImage = nullptr;
    DDImage* mNewCursorAreaImage = nullptr;
    // The operation text, ": " and the DirectX name of the last failure.
    std::string mErrorText;

private:
    int CreateDirectDraw();
    void ReadGeometry(const DisplaySettings& settings, Platform::HWND window, bool windowed);
    int InitWindowed(const DisplaySettings& settings);
    int InitFullScreen(const DisplaySettings& settings);
    int CreateDrawSurfaceAndClipper(const char* surfaceText, const char* clipperText);
    void ReadRefreshRate();
    int CreateCursorAreas();
    // The primary's pixel format into the NativeDisplay fields and the tables.
    void AnalysePixelFormat(const Platform::DDPIXELFORMAT& format);
    // An off-screen surface of the display's format.
    Platform::HRESULT CreatePlainSurface(int width, int height, uint32_t caps, Platform::IDirectDrawSurface** out);
    DDImage* AdoptInNewImage(Platform::IDirectDrawSurface* surface);
    // Zero in full screen.
    Platform::WinPoint ClientOrigin();
    Rect CursorArea() const;
    static void Release(Platform::IDirectDrawSurface*& surface);

    bool mFullScreenActive = false;
};

// The entry points found in the loaded DirectDraw; "DirectDrawCreateEx" may be missing.
extern Platform::DirectDrawCreateProc gDirectDrawCreate;
extern Platform::DirectDrawCreateExProc gDirectDrawCreateEx;
// The primary's masks run blue < green < red; set by every surface creation,
// read by the blits into surfaces, possibly on the loading thread.
extern std::atomic<bool> gDisplayRGBOrdered;
// The three back to their start, for tests.
void ResetDisplayGlobals();

// Locks the whole surface, zeroes the pixels of every row and unlocks: the
// unlock's result, the lock's failure code, or 0 for a null surface.
Platform::HRESULT ClearSurface(Platform::IDirectDrawSurface* surface);

} // namespace Tandry
