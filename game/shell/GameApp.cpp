#include "game/shell/GameApp.h"

#include "game/shell/DuplicateImages.h"
#include "platform/Platform.h"
#include "util/RandomGenerator.h"

namespace Tandry {

GameApp* gGameApp = nullptr;

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

void GameApp::HandleCommandLineOption(const std::string& /*name*/, const std::string& /*value*/) {}

} // namespace Tandry
