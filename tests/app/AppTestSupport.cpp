#include "AppTestSupport.h"

#include "app/AppFactories.h"
#include "app/ScreensaverLog.h"
#include "app/SystemVersion.h"
#include "app/UserDataDir.h"
#include "platform/fs/FileOps.h"
#include "platform/headless/FillService.h"
#include "platform/window/WindowMessages.h"
#include "resources/pak/PakInterface.h"
#include "util/Format.h"

namespace AppTest {

namespace {

using ::Platform::FillService;

RecordingWindows* gWindows = nullptr;

std::string Number(double value)
{
    return Tandry::FormatString("%g", value);
}

} // namespace

std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}

void Note(const std::string& entry)
{
    Log().push_back(entry);
}

std::vector<std::string> LogEntriesStartingWith(const std::string& prefix)
{
    std::vector<std::string> found;
    for (const std::string& entry : Log()) {
        if (entry.compare(0, prefix.size(), prefix) == 0)
            found.push_back(entry);
    }
    return found;
}

int IndexOf(const std::string& entry)
{
    for (size_t i = 0; i < Log().size(); ++i) {
        if (Log()[i] == entry)
            return static_cast<int>(i);
    }
    return -1;
}

std::string WindowName(Platform::WindowHandle window)
{
    if (window == nullptr)
        return "none";
    if (gWindows == nullptr)
        return "unknown";
    auto it = gWindows->classOf.find(window);
    return it == gWindows->classOf.end() ? "unknown" : it->second;
}

std::vector<uint8_t> DwordBytes(uint32_t value)
{
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 24)};
}

std::optional<std::string> RecordingFolders::GetAppDataFolder()
{
    Note("data folder");
    if (noAppData)
        return std::nullopt;
    return HeadlessFolders::GetAppDataFolder();
}

std::string RecordingProcess::GetCommandLine()
{
    Note("command line");
    return HeadlessProcess::GetCommandLine();
}

Platform::MutexResult RecordingInstance::CreateMutex(const std::string& name)
{
    Note("mutex " + name);
    return HeadlessSingleInstance::CreateMutex(name);
}

void RecordingInstance::CloseMutex(Platform::MutexHandle handle)
{
    Note("close mutex");
    HeadlessSingleInstance::CloseMutex(handle);
}

void RecordingCursors::NativeCreate(Platform::CursorObject& cursor)
{
    Note(Tandry::FormatString("cursor %d,%d", cursor.hotX, cursor.hotY));
}

void RecordingCursors::NativeDestroy(Platform::CursorObject& cursor)
{
    if (cursor.systemId == 0)
        Note(Tandry::FormatString("destroy cursor %d,%d", cursor.hotX, cursor.hotY));
}

bool RecordingWindows::RegisterWindowClass(const Platform::WindowClass& windowClass)
{
    Note("class " + windowClass.name);
    return HeadlessWindowSystem::RegisterWindowClass(windowClass);
}

Platform::WindowHandle RecordingWindows::CreateWindow(const std::string& className, const std::wstring& title,
                                                      uint32_t style, uint32_t exStyle, int32_t x, int32_t y,
                                                      int32_t width, int32_t height)
{
    Note("window " + className);
    Platform::WindowHandle window =
        HeadlessWindowSystem::CreateWindow(className, title, style, exStyle, x, y, width, height);
    classOf[window] = className;
    return window;
}

bool RecordingWindows::DestroyWindow(Platform::WindowHandle window)
{
    Note("destroy " + WindowName(window) + (GetWindowUserData(window) == nullptr ? " (no user data)" : " (user data)"));
    return HeadlessWindowSystem::DestroyWindow(window);
}

bool RecordingWindows::ShowWindow(Platform::WindowHandle window, int showCommand)
{
    if (showCommand == Platform::SW_HIDE)
        Note("hide " + WindowName(window));
    else
        Note("show " + WindowName(window));
    return HeadlessWindowSystem::ShowWindow(window, showCommand);
}

void RecordingWindows::ReleaseCapture()
{
    ++releaseCaptureCalls;
    HeadlessWindowSystem::ReleaseCapture();
}

AppTestPlatform::AppTestPlatform(std::shared_ptr<::Platform::HeadlessSystem> system)
    : ServiceBundle("Hollowmere", "Moorglen")
{
    Services& services = MutableServices();
    mClock = FillService<::Platform::Clock, ::Platform::HeadlessClock>(services.clock, 1000u);
    FillService<::Platform::ThreadControl, ::Platform::HeadlessThreadControl>(services.threads);
    mProcess = FillService<::Platform::ProcessService, RecordingProcess>(services.process);
    mDebug = FillService<::Platform::DebugOutput, ::Platform::HeadlessDebugOutput>(services.debugOutput);
    mInstance = FillService<::Platform::SingleInstance, RecordingInstance>(services.singleInstance, system);
    mFolders = FillService<::Platform::Folders, RecordingFolders>(services.folders);
    mRegistry = FillService<::Platform::Registry, ::Platform::HeadlessRegistry>(services.registry);
    mClipboard = FillService<::Platform::Clipboard, ::Platform::HeadlessClipboard>(services.clipboard);
    FillService<::Platform::Shell, ::Platform::HeadlessShell>(services.shell);
    mDialogs = FillService<::Platform::DialogService, ::Platform::HeadlessDialogs>(services.dialogs);
    FillService<::Platform::CursorService, RecordingCursors>(services.cursors);
    mWindows = FillService<::Platform::WindowSystem, RecordingWindows>(services.windows, *mClock, *mInstance);
    FillService<::Platform::DisplayPresenter, ::Platform::HeadlessPresenter>(services.presenter, *mWindows);
}

void RecordingSoundInstance::SetPlayPan(int pan)
{
    Note(Tandry::FormatString("pan %d", pan));
}

bool RecordingSoundInstance::Play(bool looping, bool autoRelease)
{
    Note(Tandry::FormatString("play looping=%d autoRelease=%d", looping, autoRelease));
    return true;
}

RecordingSoundManager::RecordingSoundManager(Platform::WindowHandle window, bool useFmod)
{
    Note("sound manager " + WindowName(window) + (useFmod ? " fmod" : ""));
}

RecordingSoundManager::~RecordingSoundManager()
{
    Note("delete sound manager");
}

void RecordingSoundManager::SetOverallVolume(double volume)
{
    volumes.push_back(volume);
}

Tandry::SoundInstance* RecordingSoundManager::NewSoundInstance(int soundId)
{
    Note(Tandry::FormatString("new instance %d", soundId));
    if (!giveInstances)
        return nullptr;
    instances.push_back(std::make_unique<RecordingSoundInstance>());
    return instances.back().get();
}

RecordingMusic::RecordingMusic(std::string musicKind) : kind(std::move(musicKind))
{
    Note("music " + kind);
}

RecordingMusic::~RecordingMusic()
{
    Note("delete music");
}

void RecordingMusic::SetMusicMasterVolume(double volume)
{
    volumes.push_back(volume);
}

void RecordingMusic::StopAllTracks()
{
    const Tandry::TandryAppBase* app = Tandry::gApplication;
    const bool fullScreen = app != nullptr && app->mDDInterface != nullptr && app->mDDInterface->IsFullScreenActive();
    Note(std::string("stop tracks") + (fullScreen ? " (full screen)" : ""));
}

RecordingWidgetManager::~RecordingWidgetManager()
{
    Note("delete widget manager");
}

RecordingResourceManager::~RecordingResourceManager()
{
    Note("delete resource manager");
}

RecordingDisplay::~RecordingDisplay()
{
    Note("delete display");
}

LoggedDialog::LoggedDialog(int dialogId, bool modal, int heightWanted)
    : Dialog(dialogId, modal, L"header", L"lines", L"footer", 1), preferredHeight(heightWanted)
{
}

LoggedDialog::~LoggedDialog()
{
    Note(Tandry::FormatString("delete dialog %d", id));
}

int LoggedDialog::GetPreferredHeight(int forWidth)
{
    askedWidth = forWidth;
    return preferredHeight;
}

LoggedImage::~LoggedImage()
{
    Note("delete image " + name);
}

bool RecordingDemoSeam::ReadDemoFile(std::string& error)
{
    Note("demo read file");
    if (!readFileSucceeds) {
        error = readFileError;
        return false;
    }
    if (recordedSeed && Tandry::gApplication != nullptr)
        Tandry::gApplication->mRandomSeed = *recordedSeed;
    return true;
}

void RecordingDemoSeam::WriteDemoFile()
{
    Note(std::string("demo write file") + (Tandry::gApplication == nullptr ? " (no application)" : ""));
}

void RecordingDemoSeam::ReplayDisplayState()
{
    Note("demo display state");
}

void RecordingDemoSeam::RecordDisplayState()
{
    Note("demo record display state");
}

void RecordingDemoSeam::RecordRegistryRead(bool success, uint32_t type, const uint8_t* data, uint32_t length)
{
    RegistryValue value{success, type, {}};
    if (data != nullptr)
        value.data.assign(data, data + length);
    recordedReads.push_back(value);
    if (success && type == Platform::REG_DWORD && length == 4)
        Note(Tandry::FormatString("registry read %u", data[0] | data[1] << 8 | data[2] << 16 | data[3] << 24));
    else
        Note(success ? "registry read" : "registry read failed");
}

bool RecordingDemoSeam::ReplayRegistryRead(uint32_t& type, uint8_t* data, uint32_t& length)
{
    Note(Tandry::FormatString("demo replay registry read into %u", length));
    if (replayedReads.empty())
        return false;
    const RegistryValue value = replayedReads.front();
    replayedReads.pop_front();
    if (!value.success)
        return false;
    const auto recordedLength = static_cast<uint32_t>(value.data.size());
    if (overstateReadLength) {
        type = value.type;
        length = recordedLength;
        return true;
    }
    // The contract: never past the caller's buffer, and a value that does not fit fails.
    if (recordedLength > length)
        return false;
    std::copy(value.data.begin(), value.data.end(), data);
    type = value.type;
    length = recordedLength;
    return true;
}

void RecordingDemoSeam::RecordRegistryWrite(bool success)
{
    recordedWrites.push_back(success);
    Note(success ? "registry write" : "registry write failed");
}

bool RecordingDemoSeam::ReplayRegistryWrite()
{
    Note("demo replay registry write");
    if (replayedWrites.empty())
        return false;
    const bool success = replayedWrites.front();
    replayedWrites.pop_front();
    return success;
}

void RecordingDemoSeam::RecordSyncBlock(const Tandry::Buffer& block)
{
    const uint8_t* bytes = block.GetData();
    recordedBlocks.emplace_back(bytes, bytes + block.GetByteSize());
    Note("demo record block");
}

void RecordingDemoSeam::ReplaySyncBlock(Tandry::Buffer& block)
{
    Note("demo replay block");
    if (replayedBlocks.empty())
        return;
    block.Clear();
    block.PutBytes(replayedBlocks.front().data(), static_cast<int>(replayedBlocks.front().size()));
    replayedBlocks.pop_front();
}

void RecordingDemoSeam::ReplayInput()
{
    Note("demo replay input");
}

TestApp::TestApp()
{
    mCompanyName = "Hollowmere";
    mProductName = "Moorglen";
    mRegistryKey = "Hollowmere\\Moorglen";
    mWidth = 1024;
    mHeight = 768;
}

RecordingDemoSeam& TestApp::Seam()
{
    return static_cast<RecordingDemoSeam&>(GetDemoSeam());
}

void TestApp::CreateAppWindow()
{
    Note("CreateAppWindow");
    Platform::WindowSystem& windows = Platform::GetPlatform().GetWindows();
    mIsWindowed = mWindowed;
    mMainWindow = windows.CreateWindow("MainWindow", mWindowTitle, 0, 0, 0, 0, mWidth, mHeight);
    windows.SetWindowUserData(mMainWindow, this);
    if (makeDisplay) {
        mDDInterface = new RecordingDisplay();
        mDDInterface->Init(mMainWindow, mIsWindowed);
    }
}

void TestApp::ApplyCursor()
{
    Note("ApplyCursor");
}

Tandry::MusicInterface* TestApp::NewMusicInterface(Platform::WindowHandle window)
{
    Note("NewMusicInterface " + WindowName(window));
    return TandryAppBase::NewMusicInterface(window);
}

void TestApp::OnInitDone()
{
    Note("OnInitDone");
}

void TestApp::OnShutdownBegin()
{
    Note("OnShutdownBegin");
}

void TestApp::OnMainLoopEnded()
{
    Note("OnMainLoopEnded");
}

void TestApp::SaveSettingsToRegistry()
{
    const bool fullScreen = mDDInterface != nullptr && mDDInterface->IsFullScreenActive();
    Note(std::string("save settings") + (fullScreen ? " (full screen)" : ""));
    TandryAppBase::SaveSettingsToRegistry();
}

void TestApp::LoadSettingsFromRegistry()
{
    Note("load settings");
    TandryAppBase::LoadSettingsFromRegistry();
}

void TestApp::OnCursorsCreated()
{
    Note("OnCursorsCreated");
}

bool TestApp::OverrideChangeDir(const std::string& folder)
{
    Note("change folder " + folder);
    return false;
}

void TestApp::OnBeforeSettingsLoad()
{
    if (::Platform::GetCurrentFolder() == mChangeDir)
        Note("current folder is the program's");
    const auto& records = Tandry::GetSharedPakInterface()->Records();
    if (records.find("MAIN.PAK") != records.end())
        Note("main.pak added");
    Note("OnBeforeSettingsLoad");
}

void TestApp::SetMusicVolume(double volume)
{
    Note("SetMusicVolume " + Number(volume));
    TandryAppBase::SetMusicVolume(volume);
}

void TestApp::SetSfxVolume(double volume)
{
    Note("SetSfxVolume " + Number(volume));
    TandryAppBase::SetSfxVolume(volume);
}

void TestApp::OnModalDialogOpened()
{
    const bool layered = mWidgetManager->baseModalWidget != nullptr &&
                         mWidgetManager->belowModalFlagChange == mWidgetManager->defaultBelowModalFlagChange;
    Note(std::string("OnModalDialogOpened") + (layered ? " (modal layer set)" : ""));
}

void TestApp::OnModalDialogClosed()
{
    // The dialog has left the tree by now, which forgets it as the base modal
    // widget; its layer stays on the stack until RemoveBaseModal.
    Note(std::string("OnModalDialogClosed") + (!mWidgetManager->baseModalStack.empty() ? " (modal layer set)" : ""));
}

void TestApp::OnButtonDown(int id)
{
    Note(Tandry::FormatString("button down %d", id));
}

void TestApp::OnButtonClick(int id)
{
    Note(Tandry::FormatString("button click %d", id));
}

void TestApp::HandleCommandLineOption(const std::string& name, const std::string& value)
{
    Note("option [" + name + "] [" + value + "]");
    if (passOptionsToBase)
        TandryAppBase::HandleCommandLineOption(name, value);
}

void AppFixture::SetUp()
{
    Log().clear();
    system = std::make_shared<::Platform::HeadlessSystem>();
    auto made = std::make_unique<AppTestPlatform>(system);
    platform = made.get();
    gWindows = &made->Windows();
    ::Platform::InstallPlatform(std::move(made));

    mOldFolder = ::Platform::GetCurrentFolder();
    mProgramFolder = platform->Folders().GetRoot() + "/program";
    ::Platform::MakeFolder(mProgramFolder);
    ::Platform::SetCurrentFolder(mProgramFolder);
    platform->Process().SetProgramPath(mProgramFolder + "/moorglen");

    Tandry::ResetAppFactories();
    Tandry::AppFactories& factories = Tandry::GetAppFactories();
    factories.widgetManager = [](Tandry::TandryAppBase* app) { return new RecordingWidgetManager(app); };
    factories.resourceManager = [](Tandry::TandryAppBase* app) { return new RecordingResourceManager(app); };
    factories.soundManager = [](Platform::WindowHandle window, bool useFmod) {
        return new RecordingSoundManager(window, useFmod);
    };
    factories.silentMusic = [] { return new RecordingMusic("silent"); };
    factories.fmodMusic = [](const std::string&) { return new RecordingMusic("fmod"); };
    factories.bassMusic = [](Platform::WindowHandle window) { return new RecordingMusic("bass " + WindowName(window)); };
    factories.demoSeam = [](Tandry::TandryAppBase*) { return std::make_unique<RecordingDemoSeam>(); };

    Tandry::ResetUserDataDir();
    Tandry::ResetSystemVersionCache();
    Tandry::ResetScreensaverLog();
    Tandry::gD3DSceneFailed = false;
}

void AppFixture::TearDown()
{
    Tandry::GetSharedPakInterface()->Reset();
    ::Platform::SetCurrentFolder(mOldFolder);
    Tandry::ResetAppFactories();
    Tandry::ResetUserDataDir();
    Tandry::gD3DSceneFailed = false;
    gWindows = nullptr;
    ::Platform::ResetPlatform();
    platform = nullptr;
}

std::string AppFixture::DataFolder()
{
    return *platform->Folders().HeadlessFolders::GetAppDataFolder() + "/Hollowmere/Moorglen";
}

void AppFixture::StoreDword(const std::string& name, uint32_t value)
{
    Platform::RegistryKey key;
    Platform::Registry& registry = platform->Registry();
    ASSERT_TRUE(registry.CreateKey("SOFTWARE\\Hollowmere\\Moorglen", key));
    const std::vector<uint8_t> bytes = DwordBytes(value);
    ASSERT_TRUE(registry.SetValue(key, name, Platform::REG_DWORD, bytes.data(), 4));
}

std::optional<uint32_t> AppFixture::StoredDword(const std::string& name)
{
    const Platform::RegistryStore store = platform->Registry().Snapshot();
    const Platform::RegistryValue* value = store.FindValue("SOFTWARE\\Hollowmere\\Moorglen", name);
    if (value == nullptr || value->type != Platform::REG_DWORD || value->data.size() != 4)
        return std::nullopt;
    const std::vector<uint8_t>& d = value->data;
    return static_cast<uint32_t>(d[0] | d[1] << 8 | d[2] << 16 | static_cast<uint32_t>(d[3]) << 24);
}

int AppFixture::ExitCodeOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Platform::HeadlessExit& exit) {
        return exit.GetCode();
    }
    ADD_FAILURE() << "the process did not exit";
    return -1;
}

} // namespace AppTest
