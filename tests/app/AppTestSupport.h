// What the application object's tests share: a headless platform whose
// services write what the application asks of them into one event log,
// recording fakes of the services the application owns, a test application
// that logs its hooks, and a fixture that installs all of it and puts every
// global back afterwards.
#pragma once

#include "app/NullDemoSeam.h"
#include "app/SoundManagerStub.h"
#include "app/TandryAppBase.h"
#include "audio/MusicInterface.h"
#include "audio/SoundInstance.h"
#include "audio/SoundManager.h"
#include "graphics/display/DDInterface.h"
#include "graphics/image/Image.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/manager/ResourceManager.h"
#include "util/Buffer.h"
#include "widgets/Dialog.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace AppTest {

// One log for the whole test: the fakes and the test application append to it.
std::vector<std::string>& Log();
void Note(const std::string& entry);
// The entries starting with prefix, in order.
std::vector<std::string> LogEntriesStartingWith(const std::string& prefix);
// Index of the first entry equal to entry, or -1.
int IndexOf(const std::string& entry);

// "MainWindow", "InvisWindow", or "none" for null, by the class each window was made with.
std::string WindowName(Platform::WindowHandle window);

class RecordingFolders : public Platform::HeadlessFolders {
public:
    std::optional<std::string> GetAppDataFolder() override;
    bool noAppData = false;
};

class RecordingProcess : public Platform::HeadlessProcess {
public:
    std::string GetCommandLine() override;
};

class RecordingInstance : public Platform::HeadlessSingleInstance {
public:
    using HeadlessSingleInstance::HeadlessSingleInstance;
    Platform::MutexResult CreateMutex(const std::string& name) override;
    void CloseMutex(Platform::MutexHandle handle) override;
};

class RecordingCursors : public Platform::HeadlessCursors {
protected:
    void NativeCreate(Platform::CursorObject& cursor) override;
    void NativeDestroy(Platform::CursorObject& cursor) override;
};

class RecordingWindows : public Platform::HeadlessWindowSystem {
public:
    using HeadlessWindowSystem::HeadlessWindowSystem;
    bool RegisterWindowClass(const Platform::WindowClass& windowClass) override;
    Platform::WindowHandle CreateWindow(const std::string& className, const std::wstring& title, uint32_t style,
                                        uint32_t exStyle, int32_t x, int32_t y, int32_t width,
                                        int32_t height) override;
    bool DestroyWindow(Platform::WindowHandle window) override;
    bool ShowWindow(Platform::WindowHandle window, int showCommand) override;
    void ReleaseCapture() override;

    std::map<Platform::WindowHandle, std::string> classOf;
    int releaseCaptureCalls = 0;
};

// A headless platform whose services log into the event log.
class AppTestPlatform : public Platform::ServiceBundle {
public:
    explicit AppTestPlatform(std::shared_ptr<::Platform::HeadlessSystem> system = nullptr);

    ::Platform::HeadlessClock& Clock() { return *mClock; }
    RecordingProcess& Process() { return *mProcess; }
    ::Platform::HeadlessDebugOutput& Debug() { return *mDebug; }
    RecordingInstance& Instance() { return *mInstance; }
    RecordingFolders& Folders() { return *mFolders; }
    ::Platform::HeadlessRegistry& Registry() { return *mRegistry; }
    ::Platform::HeadlessClipboard& Clipboard() { return *mClipboard; }
    ::Platform::HeadlessDialogs& Dialogs() { return *mDialogs; }
    RecordingWindows& Windows() { return *mWindows; }

private:
    ::Platform::HeadlessClock* mClock;
    RecordingProcess* mProcess;
    ::Platform::HeadlessDebugOutput* mDebug;
    RecordingInstance* mInstance;
    RecordingFolders* mFolders;
    ::Platform::HeadlessRegistry* mRegistry;
    ::Platform::HeadlessClipboard* mClipboard;
    ::Platform::HeadlessDialogs* mDialogs;
    RecordingWindows* mWindows;
};

class RecordingSoundInstance : public Tandry::SoundInstance {
public:
    void SetPlayPan(int pan) override;
    bool Play(bool looping, bool autoRelease) override;
    void Discard() override {}
    void SetDefaultVolume(double) override {}
    void SetDefaultPan(int) override {}
    void ShiftPitch(double) override {}
    void SetPlayVolume(double) override {}
    void Stop() override {}
    bool IsPlaying() override { return false; }
    bool IsDiscarded() override { return false; }
    double GetPlayVolume() override { return 1.0; }
};

class RecordingSoundManager : public SoundManagerStub {
public:
    RecordingSoundManager(Platform::WindowHandle window, bool useFmod);
    ~RecordingSoundManager() override;
    void SetOverallVolume(double volume) override;
    double GetSystemVolume() override { return systemVolume; }
    void SetSystemVolume(double volume) override { systemVolume = volume; }
    Tandry::SoundInstance* NewSoundInstance(int soundId) override;
    void SetWindow(Platform::WindowHandle, bool) override {}
    void StopAllInstances() override {}
    int CountLoadedSounds() override { return 0; }

    double systemVolume = 0.5;
    std::vector<double> volumes;
    bool giveInstances = false;
    std::vector<std::unique_ptr<RecordingSoundInstance>> instances;
};

class RecordingMusic : public Tandry::MusicInterface {
public:
    explicit RecordingMusic(std::string kind);
    ~RecordingMusic() override;
    void SetMusicMasterVolume(double volume) override;
    void StopAllTracks() override;

    std::string kind;
    std::vector<double> volumes;
};

class RecordingWidgetManager : public Tandry::WidgetManager {
public:
    using WidgetManager::WidgetManager;
    ~RecordingWidgetManager() override;
};

class RecordingResourceManager : public Tandry::ResourceManager {
public:
    using ResourceManager::ResourceManager;
    ~RecordingResourceManager() override;
    void SetError(const std::string& text) { mError = text; }
};

class RecordingDisplay : public Tandry::DDInterface {
public:
    using DDInterface::DDInterface;
    ~RecordingDisplay() override;
};

class LoggedDialog : public Tandry::Dialog {
public:
    LoggedDialog(int dialogId, bool modal, int preferredHeight = 100);
    ~LoggedDialog() override;
    int GetPreferredHeight(int forWidth) override;

    int preferredHeight;
    int askedWidth = -1;
};

class LoggedImage : public Tandry::Image {
public:
    explicit LoggedImage(std::string imageName) : name(std::move(imageName)) {}
    ~LoggedImage() override;
    std::string name;
};

// A demo seam that logs every call and replays what the test scripted.
class RecordingDemoSeam : public Tandry::NullDemoSeam {
public:
    struct RegistryValue {
        bool success = false;
        uint32_t type = 0;
        std::vector<uint8_t> data;
    };

    bool ReadDemoFile(std::string& error) override;
    void WriteDemoFile() override;
    void ReplayDisplayState() override;
    void RecordDisplayState() override;
    void RecordRegistryRead(bool success, uint32_t type, const uint8_t* data, uint32_t length) override;
    bool ReplayRegistryRead(uint32_t& type, uint8_t* data, uint32_t& length) override;
    void RecordRegistryWrite(bool success) override;
    bool ReplayRegistryWrite() override;
    void RecordSyncBlock(const Tandry::Buffer& block) override;
    void ReplaySyncBlock(Tandry::Buffer& block) override;
    void ReplayInput() override;

    // Scripted playback.
    bool readFileSucceeds = true;
    std::string readFileError;
    std::optional<uint32_t> recordedSeed;
    std::deque<RegistryValue> replayedReads;
    std::deque<bool> replayedWrites;
    std::deque<std::vector<uint8_t>> replayedBlocks;
    // A seam that breaks its contract: reports more bytes than fit, writing none.
    bool overstateReadLength = false;

    // What was recorded.
    std::vector<RegistryValue> recordedReads;
    std::vector<bool> recordedWrites;
    std::vector<std::vector<uint8_t>> recordedBlocks;
};

// The game's application object as the tests need it: the game's names, and
// every hook the start-up and shutdown sequences pass through logged.
class TestApp : public Tandry::TandryAppBase {
public:
    TestApp();

    void CreateAppWindow() override;
    void ApplyCursor() override;
    Tandry::MusicInterface* NewMusicInterface(Platform::WindowHandle window) override;
    void OnInitDone() override;
    void OnShutdownBegin() override;
    void OnMainLoopEnded() override;
    void SaveSettingsToRegistry() override;
    void LoadSettingsFromRegistry() override;
    void OnCursorsCreated() override;
    bool OverrideChangeDir(const std::string& folder) override;
    void OnBeforeSettingsLoad() override;
    void SetMusicVolume(double volume) override;
    void SetSfxVolume(double volume) override;
    void OnModalDialogOpened() override;
    void OnModalDialogClosed() override;
    void OnButtonDown(int id) override;
    void OnButtonClick(int id) override;
    void HandleCommandLineOption(const std::string& name, const std::string& value) override;

    RecordingDemoSeam& Seam();

    // CreateAppWindow makes the main window and, when asked, a display brought up on it.
    bool makeDisplay = false;
    // Handled options are logged; the base handles them unless this is cleared.
    bool passOptionsToBase = true;
};

// Installs the test platform with a program file in a fresh current folder,
// the recording factories and a clean set of globals; puts everything back.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The folder the program file lies in; Init makes it current.
    const std::string& ProgramFolder() const { return mProgramFolder; }
    // The data folder Init chooses: application data + company + product.
    std::string DataFolder();
    // Stores a DWORD under the game's key.
    void StoreDword(const std::string& name, uint32_t value);
    std::optional<uint32_t> StoredDword(const std::string& name);
    // Runs f, which must end the process, and returns the exit code.
    int ExitCodeOf(const std::function<void()>& f);

    AppTestPlatform* platform = nullptr;
    // Shared by every platform of the test, as one machine is by two instances.
    std::shared_ptr<Platform::HeadlessSystem> system;

private:
    std::string mProgramFolder;
    std::string mOldFolder;
};

// Little-endian DWORD bytes, as the registry keeps them.
std::vector<uint8_t> DwordBytes(uint32_t value);

} // namespace AppTest
