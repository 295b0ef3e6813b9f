#include "graphics/display/DisplayTestSupport.h"

#include "graphics/display/D3DInterface.h"
#include "platform/ddraw/ArgbReadback.h"
#include "platform/window/WindowMessages.h"

namespace DisplayTest {

using namespace Platform;

namespace {

// The display needs a window, not its messages.
intptr_t Ignore(WindowHandle, uint32_t, uintptr_t, intptr_t)
{
    return 0;
}

template <class Desc>
bool LockWhole(IDirectDrawSurface* surface, Desc& desc)
{
    desc.dwSize = sizeof(desc);
    return surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) == DD_OK;
}

} // namespace

void DisplayFixture::SetUp()
{
    mPlatform = &InstallHeadlessPlatform();
    HeadlessWindowSystem& windows = mPlatform->Windows();
    windows.SetScreenSize(1920, 1080);
    windows.RegisterWindowClass(WindowClass{"MainWindow", 0, Ignore, 0});
    mWindow = windows.CreateWindow("MainWindow", L"Moorglen", WS_POPUP, 0, 448, 156, 1024, 768);
    windows.ShowWindow(mWindow, SW_SHOW);
    DDrawRuntime::Get().Reset();
    Tandry::SetImageHost(&mHost);
    Tandry::ResetDisplayGlobals();
    Tandry::ResetD3DGlobals();
}

void DisplayFixture::TearDown()
{
    delete mDisplay;
    mDisplay = nullptr;
    mHost.display = nullptr;
    Tandry::SetImageHost(nullptr);
    DDrawRuntime::Get().Reset();
    Tandry::ResetDisplayGlobals();
    Tandry::ResetD3DGlobals();
    ResetPlatform();
}

Tandry::DDInterface& DisplayFixture::MakeDisplay()
{
    delete mDisplay;
    mDisplay = new Tandry::DDInterface();
    mHost.display = mDisplay;
    return *mDisplay;
}

int DisplayFixture::InitFullScreen()
{
    mPlatform->Windows().MoveWindow(mWindow, 0, 0, mHost.settings.width, mHost.settings.height);
    return mDisplay->Init(mWindow, false);
}

void DisplayFixture::Restart()
{
    delete mDisplay;
    mDisplay = nullptr;
    mHost.display = nullptr;
    DDrawRuntime::Get().Reset();
}

void DisplayFixture::SetDesktopFormat(DDrawFormat format)
{
    DDrawSettings settings = Settings();
    settings.desktopFormat = format;
    SetSettings(settings);
}

std::vector<DDrawCall> CallsOf(const std::vector<DDrawCall>& log, DDrawOp op)
{
    std::vector<DDrawCall> kept;
    for (const DDrawCall& call : log) {
        if (call.op == op)
            kept.push_back(call);
    }
    return kept;
}

std::vector<uint32_t> ReadSurface(IDirectDrawSurface* surface)
{
    DDSURFACEDESC desc;
    if (!LockWhole(surface, desc))
        return {};
    PresentedSurface view;
    view.pixels = static_cast<const uint8_t*>(desc.lpSurface);
    view.pitch = desc.lPitch;
    view.width = desc.dwWidth;
    view.height = desc.dwHeight;
    view.format = desc.ddpfPixelFormat;
    std::vector<uint32_t> pixels(static_cast<size_t>(desc.dwWidth) * desc.dwHeight);
    const RECT whole{0, 0, static_cast<int32_t>(desc.dwWidth), static_cast<int32_t>(desc.dwHeight)};
    ArgbReadback(desc.ddpfPixelFormat).ConvertRect(view, whole, pixels.data(), desc.dwWidth);
    surface->Unlock(nullptr);
    return pixels;
}

std::vector<uint32_t> StoredWords(IDirectDrawSurface* surface)
{
    DDSURFACEDESC desc;
    if (!LockWhole(surface, desc))
        return {};
    std::vector<uint32_t> words;
    const auto* row = static_cast<const uint8_t*>(desc.lpSurface);
    for (uint32_t y = 0; y < desc.dwHeight; ++y, row += desc.lPitch) {
        for (uint32_t x = 0; x < desc.dwWidth; ++x) {
            if (desc.ddpfPixelFormat.dwRGBBitCount == 16)
                words.push_back(reinterpret_cast<const uint16_t*>(row)[x]);
            else
                words.push_back(reinterpret_cast<const uint32_t*>(row)[x]);
        }
    }
    surface->Unlock(nullptr);
    return words;
}

std::unique_ptr<Tandry::MemoryImage> MakeImage(int width, int height, const std::vector<uint32_t>& pixels)
{
    auto image = std::make_unique<Tandry::MemoryImage>();
    image->SetBits(pixels.data(), width, height, true);
    return image;
}

} // namespace DisplayTest
