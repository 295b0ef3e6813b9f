#include "game/shell/GameApp.h"

#include "game/shell/AmbientSounds.h"
#include "game/shell/BaseBoard.h"
#include "game/shell/BoardTransformer.h"
#include "game/shell/CursorWidget.h"
#include "game/shell/DuplicateImages.h"
#include "game/shell/GameControllerCommon.h"
#include "game/shell/GlobalResources.h"
#include "game/shell/InternetShortcut.h"
#include "game/shell/LoadingScreen.h"
#include "game/shell/MakeBoardTransformer.h"
#include "game/shell/MusicPlaylist.h"
#include "game/shell/ProcessList.h"
#include "game/shell/ProfileManager.h"
#include "game/shell/ReadImageAliases.h"
#include "game/shell/RemoveAndDeferDelete.h"
#include "game/shell/SharedLayouts.h"
#include "game/shell/ShowBoards.h"
#include "audio/MusicInterface.h"
#include "audio/SoundBank.h"
#include "graphics/display/DDImage.h"
#include "particles/ParticleEffectFiles.h"
#include "particles/cGlobalParticles.h"
#include "platform/Platform.h"
#include "resources/ini/GameIni.h"
#include "resources/ini/LangTable.h"
#include "resources/manager/ResourceManager.h"
#include "resources/pak/FileUtils.h"
#include "resources/pak/PakInterface.h"
#include "resources/pak/PakWriter.h"
#include "util/PathUtils.h"
#include "util/RandomGenerator.h"
#include "util/StringUtils.h"
#include "widgets/WidgetManager.h"

#include <optional>

namespace Tandry {

GameApp* gGameApp = nullptr;

namespace {

// Out of the tree and deleted now; for the destructor.
void RemoveAndDelete(Widget* widget)
{
    if (widget == nullptr)
        return;
    if (widget->parent != nullptr)
        widget->parent->RemoveWidget(widget);
    delete widget;
}

} // namespace

GameApp::GameApp()
{
    Platform::Clock& clock = Platform::GetPlatform().GetClock();
    CrtSeed(clock.GetTickCount());

    mCompanyName = "Hollowmere";
    mProductName = "Moorglen";
    mProductVersion = "1.02";
    // Step 14 of the start-up replaces it with the language table's caption.
    mWindowTitle = L"Moorglen: Cinderlock";
    mRegistryKey = mCompanyName + "\\" + mProductName;
    mMusicVolume = 0.5;
    mSfxVolume = 0.5;
    mAmbientVolume = 0.5;
    mDeveloperFlag = DuplicateImageToolRequested();
    mWidth = 1024;
    mHeight = 768;
    mWindowed = true;
    mCustomCursorsEnabled = true;
    mAutoEnable3D = true;
    mSmoothVSync = true;
    mAutoStartLoadingThread = false;

    gGameApp = this;
    CrtSeed(clock.GetTickCount());
}

GameApp::~GameApp()
{
    const std::string url = ReadInternetShortcut("play.url");
    if (!url.empty())
        LaunchBrowser(url, false);

    // The loading thread may still be loading the current board.
    WaitForLoadingThread();

    RemoveAndDelete(mTransformer);
    mTransformer = nullptr;
    if (mNextBoard != nullptr) {
        mNextBoard->OnRemoved();
        RemoveAndDelete(mNextBoard);
    }
    if (mCurrentBoard != nullptr && mCurrentBoard != mNextBoard) {
        mCurrentBoard->OnRemoved();
        RemoveAndDelete(mCurrentBoard);
    }
    mNextBoard = nullptr;
    mCurrentBoard = nullptr;
    // Never shown, so never told it leaves.
    delete mHeldBoard;
    mHeldBoard = nullptr;
    RemoveAndDelete(mLoadingScreen);
    mLoadingScreen = nullptr;
    FreeSharedLayouts();
    // Made before the game starts; without one there are no levels.
    if (GameControllerCommon* controllers = FindGameControllerCommon())
        controllers->ResetLevels();
    // Its sets hold sound instances, which must go before the framework
    // deletes the sound manager.
    AmbientSounds::FreeAll();
    cGlobalParticles& particles = cGlobalParticles::Instance();
    if (particles.parent != nullptr)
        particles.parent->RemoveWidget(&particles);
    FreeParticleEffectFiles();
    FreeAllProcesses();
    GetUiSoundBank().Release();

    delete mMusicPlaylist;
    mMusicPlaylist = nullptr;
    if (mMusicInterface != nullptr)
        mMusicInterface->UnloadAllTracks();

    if (mWidgetManager != nullptr && mWidgetManager->cursorWidget == mCursorWidget)
        mWidgetManager->cursorWidget = nullptr;
    delete mCursorWidget;
    mCursorWidget = nullptr;
    delete mBlankCursorImage;
    mBlankCursorImage = nullptr;
    // They point into the resource manager, which the framework deletes next.
    ResetGlobalResources();
    if (gGameApp == this)
        gGameApp = nullptr;
}

void GameApp::Init()
{
    // The framework's user data folder, formed as the framework forms it:
    // its Init, which names it, runs after this.
    if (std::optional<std::string> appData = Platform::GetPlatform().GetFolders().GetAppDataFolder())
        gGameDataDir = WidenString(StripTrailingSlash(*appData) + "\\" + mCompanyName + "\\" + mProductName);
    else
        gGameDataDir = L".";
    TandryAppBase::Init();
}

void GameApp::OnInitDone()
{
    const bool packAdded = GetSharedPakInterface()->AddPakFile("game.dat");
    ReadImageAliases();
    if (mDeveloperFlag)
        FindDuplicateImages(this);
    gGameIni.Load("res\\game.ini");

    const std::string profileDir = gGameIni.GetString("ProfileDir", "Game", "");
    if (!profileDir.empty())
        gGameDataDir += L"\\" + WidenString(profileDir);
    gProfilesDir = gGameDataDir + L"\\profiles\\";
    CreateDirectories(WideToNarrow(gGameDataDir));
    CreateDirectories(WideToNarrow(gProfilesDir));

    if (ParseLeadingInt(gGameIni.GetString("AutoCreatePak", "Game", "0")) != 0 && !packAdded)
        CreatePakFromFolder();

    if (!mResourceManager->ParseResourcesFile("data\\properties\\resources.xml")) {
        FailWithResourceError();
        return;
    }
    if (!mResourceManager->LoadResources("Common") || !BindGlobalResources(*mResourceManager) ||
        !mResourceManager->LoadResources("Game")) {
        mLoadingFailed = true;
        FailWithResourceError();
        return;
    }

    // The playlist later loads its own files from id 0 up and keeps these ids.
    if (mMusicInterface != nullptr) {
        mMusicInterface->LoadTrack(0, "data\\music\\track02ispy.ogg");
        mMusicInterface->LoadTrack(1, "data\\music\\track01boevik.ogg");
    }

    mBlankCursorImage = new DDImage(mDDInterface);
    mBlankCursorImage->Create(1, 1);
    mBlankCursorImage->GetBits()[0] = 0;
    mBlankCursorImage->MarkBitsChanged();

    mCursorWidget = new CursorWidget();
    if (mWidgetManager != nullptr)
        mWidgetManager->cursorWidget = mCursorWidget;
    SetCursorType(1);

    const std::wstring caption = GetLangString("WindowCaption", GetLangTable(), L"Interface");
    if (!mWindowTitle.empty() && caption != L"???") {
        mWindowTitle = caption;
        if (mMainWindow != nullptr)
            Platform::GetPlatform().GetWindows().SetWindowTitle(mMainWindow, mWindowTitle);
    }

    mMusicPlaylist = new MusicPlaylist();

    cGlobalParticles& particles = cGlobalParticles::Instance();
    particles.Resize(0, 0, mGameWidth, mGameHeight);
    if (mWidgetManager != nullptr)
        mWidgetManager->AddWidget(&particles);
    LoadParticleEffectFiles();

    NarrowIniDocument::Load("res\\sounds.ini", GetUiSoundBank().document);
    LoadSharedLayouts();

    ProfileManager& profiles = GetProfileManager();
    if (ParseLeadingInt(gGameIni.GetString("CreateDeveloperProfile", "Game", "0")) != 0 &&
        !profiles.LoadCurrentProfile()) {
        profiles.CreateProfile(L"Developer");
        profiles.SelectProfile(L"Developer");
    }
    if (profiles.LoadCurrentProfile())
        GetGameControllerCommon().Load();

    ShowTitleScreen(this);
}

void GameApp::HandleCommandLineOption(const std::string& /*name*/, const std::string& /*value*/) {}

void GameApp::RunLoadingThread()
{
    // The switch keeps the current board fixed while the thread runs.
    if (mCurrentBoard != nullptr)
        mCurrentBoard->LoadResources();
}

void GameApp::OnLoadingThreadDone()
{
    if (mLoadingScreen == nullptr)
        return;
    mLoadingScreen->loadingDone = true;
    mLoadingScreen->MarkDirty();
}

void GameApp::SwitchBoard(BaseBoard* next)
{
    if (next == nullptr || next == mCurrentBoard)
        return;
    // Starting now would delete a board the loading thread is still loading,
    // or lose the running transition.
    if (IsSwitching()) {
        if (mHeldBoard != next)
            delete mHeldBoard;
        mHeldBoard = next;
        return;
    }

    mNextBoard = next;
    next->Resize(0, 0, mWidth, mHeight);
    next->Init();

    if (mCurrentBoard != nullptr) {
        BaseBoard* to = nullptr;
        if (!next->wantsLoadingScreen) {
            LoadAtOnce(next);
            to = next;
        }
        // Added last, so that it lies above both boards.
        mTransformer = MakeBoardTransformer(mCurrentBoard, to, this);
        if (mTransformer == nullptr) {
            OnTransformEnd();
            return;
        }
        if (mWidgetManager != nullptr)
            mWidgetManager->AddWidget(mTransformer);
        return;
    }

    // The first board of the game: no transition, no OnShown, no music change.
    mCurrentBoard = next;
    if (next->wantsLoadingScreen) {
        StartLoadingScreen();
        return;
    }
    LoadAtOnce(next);
    if (mWidgetManager != nullptr)
        mWidgetManager->SetFocus(next);
}

void GameApp::LoadAtOnce(BaseBoard* board)
{
    board->LoadResources();
    board->FinishLoading();
    if (mWidgetManager != nullptr)
        mWidgetManager->AddWidget(board);
}

void GameApp::OnTransformEnd()
{
    if (mTransformer != nullptr) {
        RemoveAndDeferDelete(mTransformer);
        mTransformer = nullptr;
    }
    BaseBoard* next = mNextBoard;
    if (next == nullptr)
        return;
    // Deleted after the current update pass, so code of the old board that
    // runs later in it still finds the board alive.
    if (mCurrentBoard != nullptr && mCurrentBoard != next) {
        mCurrentBoard->OnRemoved();
        RemoveAndDeferDelete(mCurrentBoard);
    }
    if (mMusicPlaylist != nullptr)
        mMusicPlaylist->SwitchTo(next->GetMusicKey());
    next->SetDisabled(false);
    mCurrentBoard = next;

    if (next->wantsLoadingScreen) {
        // The board joins the tree when the loading screen hands over.
        StartLoadingScreen();
        return;
    }
    next->OnShown();
    if (mWidgetManager != nullptr && mDialogList.empty())
        mWidgetManager->SetFocus(next);
    StartHeldSwitch();
}

void GameApp::StartLoadingScreen()
{
    // A finished earlier loading thread is joined before the flags restart.
    WaitForLoadingThread();
    mLoadingThreadStarted = false;
    mLoadingThreadDone = false;
    mLoadingAcknowledged = false;
    mLoadingThrottle = false;
    mLoadingTasksDone = 0;

    mLoadingScreen = new LoadingScreen();
    mLoadingScreen->Resize(0, 0, mWidth, mHeight);
    if (mWidgetManager != nullptr)
        mWidgetManager->AddWidget(mLoadingScreen);
    mLoadingTasksTotal = mCurrentBoard != nullptr ? mCurrentBoard->LoadingTaskCount() : 0;
    LaunchLoadingThread();
}

void GameApp::OnLoadingScreenGone()
{
    mLoadingScreen = nullptr;
    if (BaseBoard* board = mCurrentBoard) {
        board->FinishLoading();
        if (mWidgetManager != nullptr) {
            mWidgetManager->AddWidget(board);
            // As at the end of a transition, an open dialog keeps the focus.
            if (mDialogList.empty())
                mWidgetManager->SetFocus(board);
        }
        board->OnShown();
    }
    StartHeldSwitch();
}

void GameApp::StartHeldSwitch()
{
    if (mHeldBoard == nullptr || IsSwitching())
        return;
    BaseBoard* held = mHeldBoard;
    mHeldBoard = nullptr;
    SwitchBoard(held);
}

void AdvanceLoadingProgress()
{
    if (gApplication != nullptr)
        ++gApplication->mLoadingTasksDone;
}

} // namespace Tandry
