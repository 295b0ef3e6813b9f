#include "game/shell/GameApp.h"

#include "game/shell/BaseBoard.h"
#include "game/shell/BoardTransformer.h"
#include "game/shell/DuplicateImages.h"
#include "game/shell/LoadingScreen.h"
#include "game/shell/MakeBoardTransformer.h"
#include "game/shell/MusicPlaylist.h"
#include "game/shell/RemoveAndDeferDelete.h"
#include "game/shell/SharedLayouts.h"
#include "game/shell/ShowBoards.h"
#include "audio/SoundBank.h"
#include "platform/Platform.h"
#include "util/RandomGenerator.h"
#include "widgets/WidgetManager.h"

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
    // TODO: the title comes from the program's string resource 103 when the game shell reads it.
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
    // TODO: the rest of the teardown of the game's shared state (level
    // controllers, particles, processes, the UI sound bank) comes with the
    // game's start-up sequence.
    delete mMusicPlaylist;
    mMusicPlaylist = nullptr;

    if (gGameApp == this)
        gGameApp = nullptr;
}

void GameApp::Init()
{
    // TODO: the game's data root is chosen here when the game shell is built.
    // TODO: its start-up runs FindDuplicateImages(this) after reading the image
    // aliases when mDeveloperFlag is set.
    TandryAppBase::Init();
}

void GameApp::OnInitDone()
{
    // TODO: the steps before these (pack, image aliases, "res\\game.ini", the
    // profile folders, resources, music tracks, cursors, caption, playlist,
    // particles) and after them (the developer profile, the controller's
    // state) come with the game's start-up sequence.
    NarrowIniDocument::Load("res\\sounds.ini", GetUiSoundBank().document);
    LoadSharedLayouts();
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
