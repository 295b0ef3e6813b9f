// Window messages come from the window system, from other processes (the
// notify message) and from tests, with any parameters: coordinates far
// outside the window, wheel deltas of any size, key codes past the key table.
// The bytes become a run of message records, each sent through the window
// procedure with a step of the clock in between, for the main window, the
// invisible one or a window without the application; the deferred list is
// drained and the loop stepped now and then. After every record the list
// must keep its rules: nothing after a close, no two timers in a row, at most
// one colour or display notice.
#include "app/MainLoopGlobals.h"
#include "app/ScreensaverFilter.h"
#include "app/TandryAppBase.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/window/WindowMessages.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

using namespace Platform;

constexpr uint32_t kNotifyMessage = 0xC100;

constexpr uint32_t kMessages[] = {
    WM_CREATE,        WM_DESTROY,       WM_MOVE,          WM_SIZE,           WM_ACTIVATE,     WM_ENABLE,
    WM_PAINT,         WM_CLOSE,         WM_QUERYOPEN,     WM_ERASEBKGND,     WM_SYSCOLORCHANGE, WM_ENDSESSION,
    WM_ACTIVATEAPP,   WM_SETCURSOR,     WM_DISPLAYCHANGE, WM_NCACTIVATE,     WM_NCLBUTTONDOWN, WM_KEYDOWN,
    WM_KEYUP,         WM_CHAR,          WM_SYSKEYDOWN,    WM_SYSKEYUP,       WM_SYSCHAR,      WM_SYSCOMMAND,
    WM_TIMER,         WM_MOUSEMOVE,     WM_LBUTTONDOWN,   WM_LBUTTONUP,      WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
    WM_RBUTTONUP,     WM_RBUTTONDBLCLK, WM_MBUTTONDOWN,   WM_MBUTTONUP,      WM_MBUTTONDBLCLK, WM_MOUSEWHEEL,
    kNotifyMessage,
};
constexpr size_t kMessageCount = sizeof kMessages / sizeof kMessages[0];
constexpr size_t kRecordSize = 11;
constexpr size_t kMaxRecords = 2000;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

HeadlessPlatform& Machine()
{
    // Made once and kept: every input runs on the same desktop with its own application.
    static HeadlessPlatform* platform = [] {
        HeadlessPlatform& made = InstallHeadlessPlatform();
        made.Windows().RegisterWindowClass({"MainWindow", CS_DBLCLKS, &Tandry::TandryAppBase::MainWindowProc, 0});
        made.Windows().RegisterWindowClass({"InvisWindow", 0, &Tandry::TandryAppBase::MainWindowProc, 0});
        return &made;
    }();
    return *platform;
}

uint32_t Word(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void CheckQueueRules(const Tandry::TandryAppBase& app)
{
    int notices = 0;
    uint32_t previous = 0;
    size_t index = 0;
    for (const WindowMessage& queued : app.mDeferredMessages) {
        ++index;
        Check(queued.message != WM_CLOSE || index == app.mDeferredMessages.size());
        Check(!(queued.message == WM_TIMER && previous == WM_TIMER));
        notices += queued.message == WM_SYSCOLORCHANGE || queued.message == WM_DISPLAYCHANGE ? 1 : 0;
        previous = queued.message;
    }
    Check(notices <= 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    HeadlessPlatform& machine = Machine();
    Tandry::ResetMainLoopGlobals();
    Tandry::ResetScreensaverFilter();

    const uint8_t setup = data[0];
    auto app = std::make_unique<Tandry::TandryAppBase>();
    app->mWidth = 1024;
    app->mHeight = 768;
    app->mNotifyMessage = kNotifyMessage;
    app->mPrimaryThreadId = machine.Threads().GetCurrentThreadId();
    app->mWindowed = (setup & 0x01) == 0;
    app->mScreensaverMode = (setup & 0x02) != 0;
    app->mSmoothVSync = (setup & 0x04) != 0;
    app->mInvisWindow = machine.Windows().CreateWindow("InvisWindow", L"", 0, 0, 0, 0, 0, 0);
    machine.Windows().SetWindowUserData(app->mInvisWindow, app.get());
    app->CreateAppWindow();
    machine.Windows().ShowWindow(app->mMainWindow, SW_SHOW);
    app->mInitDone = true;
    app->mInMainLoop = (setup & 0x08) != 0;
    app->mRecordingDemo = (setup & 0x10) != 0;
    app->mPlayingDemo = (setup & 0x20) != 0;
    app->mDemoNextEventUpdate = -1;
    WindowHandle bare = machine.Windows().CreateWindow("InvisWindow", L"", 0, 0, 0, 0, 0, 0);

    size_t records = 0;
    for (size_t at = 1; at + kRecordSize <= size && records < kMaxRecords; at += kRecordSize, ++records) {
        const uint8_t* record = data + at;
        const uint8_t flags = record[1];
        const uint32_t message = record[0] < kMessageCount ? kMessages[record[0]] : record[0] | (flags & 0x03u) << 8;
        const uintptr_t wParam = Word(record + 2);
        const auto lParam = static_cast<intptr_t>(static_cast<int32_t>(Word(record + 6)));
        machine.Clock().Advance(record[10]);

        WindowHandle target = app->mMainWindow;
        switch (flags & 0x03) {
        case 1: target = app->mInvisWindow; break;
        case 2: target = bare; break;
        default: break;
        }
        if ((flags & 0x10) != 0)
            app->mSystemPopupShowing = !app->mSystemPopupShowing;
        if ((flags & 0x20) != 0)
            app->mWindowHidden = !app->mWindowHidden;

        Tandry::TandryAppBase::MainWindowProc(target, message, wParam, lParam);
        CheckQueueRules(*app);
        if ((flags & 0x04) != 0)
            app->ProcessDeferredMessage();
        if ((flags & 0x08) != 0) {
            while (app->ProcessDeferredMessage()) {
            }
        }
        if ((flags & 0x40) != 0)
            app->RunUpdateStep(nullptr);
        CheckQueueRules(*app);
        Check(app->mUpdateDepth == 0);
        // Every mute here is the automatic one of focus and minimising.
        Check(app->mMuteCount >= 0 && app->mAutoMuteCount == app->mMuteCount);
    }

    app.reset();
    machine.Windows().DestroyWindow(bare);
    return 0;
}
