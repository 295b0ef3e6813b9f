#include "app/TandryAppBase.h"

#include "app/AppFactories.h"
#include "app/AppPaths.h"
#include "app/DemoSeam.h"
#include "audio/MusicInterface.h"
#include "audio/SoundBank.h"
#include "audio/SoundManager.h"
#include "graphics/display/D3DTester.h"
#include "graphics/display/DDInterface.h"
#include "graphics/image/Image.h"
#include "graphics/image/MemoryImage.h"
#include "platform/Platform.h"
#include "platform/window/WindowMessages.h"
#include "resources/manager/ResourceManager.h"
#include "util/CritSectLock.h"
#include "util/StringUtils.h"
#include "widgets/Dialog.h"
#include "widgets/WidgetManager.h"

#include <cstdlib>

namespace Tandry {

TandryAppBase* gApplication = nullptr;

namespace {

// The default texts, in the order the constructor enters them.
const std::pair<const char*, const wchar_t*> kDefaultStrings[] = {
    {"DIALOG_BUTTON_OK", L"OK"},
    {"DIALOG_BUTTON_CANCEL", L"CANCEL"},
    {"UPDATE_CHECK_TITLE", L"Update Check"},
    {"UPDATE_CHECK_BODY", L"Checking if there are any updates available for this product ..."},
    {"UP_TO_DATE_TITLE", L"Up to Date"},
    {"UP_TO_DATE_BODY", L"There are no updates available for this product at this time."},
    {"NEW_VERSION_TITLE", L"New Version"},
    {"NEW_VERSION_BODY",
     L"There is an update available for this product.  Would you like to visit the web site to download it?"},
};

void DestroyWindowOf(Platform::WindowHandle& window)
{
    if (window == nullptr)
        return;
    Platform::WindowSystem& windows = Platform::GetPlatform().GetWindows();
    // The window procedure must no longer find the object while the window goes.
    windows.SetWindowUserData(window, nullptr);
    windows.DestroyWindow(window);
    window = nullptr;
}

} // namespace

TandryAppBase::TandryAppBase()
{
    gApplication = this;

    Platform::ServiceBundle& platform = Platform::GetPlatform();
    Platform::Clock& clock = platform.GetClock();

    const std::string programPath = platform.GetProcess().GetModuleFileName();
    mProductVersion = ReadProductVersion(programPath);
    mChangeDir = GetPathDirectory(programPath);

    mTimeLoaded = clock.GetTickCount();
    mLastRedrawTick = clock.TimeGetTime();
    mNextDrawTick = mLastRedrawTick;

    for (int i = 0; i < kAddTableSize; ++i)
        mAddTable[static_cast<size_t>(i)] = static_cast<uint8_t>(i < 256 ? i : 255);

    for (const auto& [id, text] : kDefaultStrings)
        SetString(id, text);

    mDemoFilePrefix = "tandryapp";
    mDemoFileName = mDemoFilePrefix + ".dmo";

    AppFactories& factories = GetAppFactories();
    mWidgetManager = factories.widgetManager(this);
    mResourceManager = factories.resourceManager(this);
    mDemoSeam = factories.demoSeam(this);

    mNoDisplayFormat = NativeDisplay::Argb8888();

    mTabletPc = platform.GetWindows().GetSystemMetrics(Platform::SM_TABLETPC) != 0;
    if (mTabletPc)
        mDesktopPc = false;

    SetImageHost(this);
    SetWidgetHost(this);
}

TandryAppBase::~TandryAppBase()
{
    Shutdown();
    // Whatever was changed since the last save, with or without loaded settings.
    Platform::GetPlatform().GetRegistry().Flush();
    // A shutdown asked from another thread has not stopped the cursor thread yet.
    mShutdown = true;
    JoinCursorThread();
    AskHardwareAccelerationQuestions();

    for (auto& [id, dialog] : mDialogMap) {
        if (mWidgetManager != nullptr)
            mWidgetManager->RemoveWidget(dialog);
        delete dialog;
    }
    mDialogMap.clear();
    mDialogList.clear();
    // Widgets still waiting for their deferred deletion would otherwise be lost;
    // they go while the widget manager they may refer to still exists.
    mUpdateDepth = 0;
    ProcessDeferredDeletes();

    DestroyWindowOf(mInvisWindow);

    delete mWidgetManager;
    mWidgetManager = nullptr;
    delete mResourceManager;
    mResourceManager = nullptr;

    // TODO: the developer overlay's indicator image is deleted here once the overlays exist.

    {
        std::unique_ptr<CritSectLock> lock;
        if (mDDInterface != nullptr)
            lock = std::make_unique<CritSectLock>(mDDInterface->mCritSect);
        for (auto it = mSharedImages.begin(); it != mSharedImages.end();) {
            delete it->second.image;
            it = mSharedImages.erase(it);
        }
    }

    delete mDDInterface;
    mDDInterface = nullptr;
    delete mMusicInterface;
    mMusicInterface = nullptr;
    if (GetUiSoundBank().GetSoundManager() == mSoundManager)
        GetUiSoundBank().SetSoundManager(nullptr);
    delete mSoundManager;
    mSoundManager = nullptr;

    DestroyWindowOf(mMainWindow);

    WaitForLoadingThread();

    Platform::ServiceBundle& platform = Platform::GetPlatform();
    if (mHandCursor != nullptr)
        platform.GetCursors().DestroyCursor(mHandCursor);
    if (mDragCursor != nullptr)
        platform.GetCursors().DestroyCursor(mDragCursor);
    mHandCursor = nullptr;
    mDragCursor = nullptr;

    if (gApplication == this)
        gApplication = nullptr;
    if (GetImageHost() == this)
        SetImageHost(nullptr);
    if (GetWidgetHost() == this)
        SetWidgetHost(nullptr);
    // Images that outlive the application must not call back into it.
    for (MemoryImage* image : mMemoryImages)
        image->DetachHost();
    mMemoryImages.clear();

    if (mRecordingDemo)
        WriteDemoFile();

    if (mMutex != 0)
        platform.GetSingleInstance().CloseMutex(mMutex);
    mMutex = 0;
}

void TandryAppBase::AskHardwareAccelerationQuestions()
{
    const bool displayIs3D = mDDInterface != nullptr && mDDInterface->mIs3D;
    if (m3DChangedThisSession) {
        bool stored = false;
        const bool testPassedWithoutWarning = mDDInterface != nullptr && mDDInterface->mD3DTester != nullptr &&
                                              mDDInterface->mD3DTester->PassedWithoutWarning();
        if (ReadRegistryBool("Is3D", &stored) || testPassedWithoutWarning) {
            WriteRegistryBool("Is3D", displayIs3D);
        } else if (displayIs3D) {
            const bool keep = AskHardwareAccelerationQuestion(
                "HARDWARE_ACCEL_SWITCHED_ON",
                L"Hardware Acceleration was switched on during this session.\r\n"
                L"If this resulted in slower performance, it should be switched off.\r\n"
                L"Would you like to keep Hardware Acceleration switched on?");
            if (mDDInterface != nullptr)
                mDDInterface->mIs3D = keep;
            if (keep)
                WriteRegistryBool("Is3D", true);
            return;
        }
    }

    if (gD3DSceneFailed && !mScreensaverMode) {
        const bool keep = AskHardwareAccelerationQuestion(
            "HARDWARE_ACCEL_NOT_WORKING",
            L"Hardware Acceleration may not have been working correctly during this session.\r\n"
            L"If you noticed graphics problems, you may want to turn off Hardware Acceleration.\r\n"
            L"Would you like to keep Hardware Acceleration switched on?");
        if (!keep)
            WriteRegistryBool("Is3D", false);
    }
}

bool TandryAppBase::AskHardwareAccelerationQuestion(const std::string& textId, const std::wstring& defaultText)
{
    const std::wstring caption = WidenString(mCaptionPrefix) + L" " +
                                 LookupString("HARDWARE_ACCEL_CONFIRMATION", L"Hardware Acceleration Confirmation");
    const int answer = Platform::GetPlatform().GetDialogs().MessageBoxW(
        nullptr, LookupString(textId, defaultText), caption, Platform::MB_YESNO | Platform::MB_ICONQUESTION);
    return answer == Platform::IDYES;
}

void TandryAppBase::SetString(const std::string& id, const std::wstring& text)
{
    mStringTable[id] = text;
}

std::wstring TandryAppBase::LookupString(const std::string& id, const std::wstring& defaultText) const
{
    auto it = mStringTable.find(id);
    return it == mStringTable.end() ? defaultText : it->second;
}

std::string TandryAppBase::ReadProductVersion(const std::string& path)
{
    return Platform::GetPlatform().GetProcess().ReadProductVersion(path);
}

void TandryAppBase::DoExit(int code)
{
    Platform::GetPlatform().GetProcess().Exit(code);
    // Every back end's Exit ends the process or throws.
    std::abort();
}

void TandryAppBase::OnDialogButtonDown(int dialogId, int buttonId)
{
    if (buttonId == Dialog::kYesButtonId)
        OnButtonDown(dialogId + kDialogYesOffset);
    else if (buttonId == Dialog::kNoButtonId)
        OnButtonDown(dialogId + kDialogNoOffset);
}

void TandryAppBase::OnDialogButtonClick(int dialogId, int buttonId)
{
    if (buttonId == Dialog::kYesButtonId)
        OnButtonClick(dialogId + kDialogYesOffset);
    else if (buttonId == Dialog::kNoButtonId)
        OnButtonClick(dialogId + kDialogNoOffset);
}

void TandryAppBase::SharedImageReleased()
{
    mSharedImagesDirty = true;
}

CriticalSection& TandryAppBase::GetDisplayLock()
{
    return mDDInterface != nullptr ? mDDInterface->mCritSect : mNoDisplayLock;
}

void TandryAppBase::AddMemoryImage(MemoryImage* image)
{
    mMemoryImages.insert(image);
}

void TandryAppBase::RemoveMemoryImage(MemoryImage* image)
{
    mMemoryImages.erase(image);
}

const uint8_t* TandryAppBase::GetAddTable() const
{
    return mAddTable.data();
}

const NativeDisplay& TandryAppBase::GetDisplayFormat() const
{
    return mDDInterface != nullptr ? static_cast<const NativeDisplay&>(*mDDInterface) : mNoDisplayFormat;
}

bool TandryAppBase::IsDisplay3D() const
{
    return mDDInterface != nullptr && mDDInterface->mIs3D;
}

void TandryAppBase::FreeImageTextures(MemoryImage* image)
{
    // Without a display (or while it is being deleted) no image keeps
    // textures: the display's clean-up dropped them.
    if (mDDInterface != nullptr && mDDInterface->mD3DInterface != nullptr)
        mDDInterface->mD3DInterface->RemoveImage(image);
    else
        image->mTextureData = nullptr;
}

DisplaySettings TandryAppBase::GetDisplaySettings()
{
    DisplaySettings settings;
    settings.width = mWidth;
    settings.height = mHeight;
    settings.aspectRatio = mAspectRatio;
    settings.fullScreenBits = mFullScreenBits;
    settings.desktopPc = mDesktopPc;
    settings.systemPopupShowing = mSystemPopupShowing;
    settings.minVidMemoryMB = mMinVidMemoryMB;
    settings.recVidMemoryMB = mRecVidMemoryMB;
    settings.test3D = mTest3D;
    settings.autoEnable3D = mAutoEnable3D;
    settings.registryKey = mRegistryKey;
    settings.playingDemo = mPlayingDemo;
    return settings;
}

void TandryAppBase::SetVSyncBroken()
{
    mVSyncBroken = true;
}

void TandryAppBase::SetScreenBounds(const Rect& bounds)
{
    mScreenBounds = bounds;
}

DDInterface* TandryAppBase::GetDDInterface()
{
    return mDDInterface;
}

bool TandryAppBase::IsSizeMinimized()
{
    return mSizeMinimized;
}

void TandryAppBase::WriteRegistryText(const std::string& name, const std::string& value)
{
    WriteRegistryString(name, value);
}

WidgetManager* TandryAppBase::GetWidgetManager()
{
    return mWidgetManager;
}

void TandryAppBase::SetCursorKind(int kind)
{
    mCursorKind = kind;
}

bool TandryAppBase::HasAppFocus()
{
    return mHasFocus;
}

void TandryAppBase::SetOverrideCursor(Platform::CursorHandle cursor)
{
    mCursorHandle = cursor;
}

DialogListener* TandryAppBase::GetDialogListener()
{
    return this;
}

bool TandryAppBase::ReadImageTextures(const MemoryImage* image, uint32_t* bits)
{
    return mDDInterface != nullptr && mDDInterface->mD3DInterface != nullptr
           && mDDInterface->mD3DInterface->ReadTexturesBack(image, bits);
}

} // namespace Tandry
