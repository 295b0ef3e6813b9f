#include "game/shell/LoadingScreen.h"

#include "app/TandryAppBase.h"
#include "game/shell/GameApp.h"
#include "game/shell/GuiLayout.h"
#include "graphics/context/Graphics.h"
#include "graphics/display/DDImage.h"
#include "platform/Platform.h"
#include "platform/debug/DebugOutput.h"

#include <algorithm>
#include <climits>
#include <string>

namespace Tandry {

namespace {

constexpr const char* kLayoutFolder = "data/gui/loading/";

} // namespace

LoadingScreen::LoadingScreen() : mLayout(new GuiLayout(kLayoutFolder, true))
{
    Platform::Clock& clock = Platform::GetPlatform().GetClock();
    mFrequency = clock.QueryPerformanceFrequency();
    mStartCount = clock.QueryPerformanceCounter();

    // The layout is data: a missing entry leaves the lamps out or the row at
    // (0, 0) rather than stopping the game.
    std::string missing;
    mLamp = mLayout->FindEntry("lamp");
    if (mLamp != nullptr)
        mLayout->SetEntryDrawFlag("lamp", false);
    if (mLamp == nullptr || mLamp->image == nullptr)
        missing += " \"lamp\"";
    if (const GuiLayoutEntry* line = mLayout->FindEntry("line")) {
        mLineX = line->x;
        mLineY = line->y;
    } else {
        missing += " \"line\"";
    }
    if (!missing.empty())
        Platform::OutputDebugStringA(
            (std::string("LoadingScreen: ") + kLayoutFolder + " lacks" + missing + "\n").c_str());
}

LoadingScreen::~LoadingScreen()
{
    delete mLayout;
}

int LoadingScreen::LitLamps(int done, int total)
{
    if (total <= 0 || done <= 0)
        return 0;
    const float progress = std::min(static_cast<float>(done) / static_cast<float>(total), 1.0f);
    return static_cast<int>(progress * kLampCount);
}

void LoadingScreen::Draw(Graphics* g)
{
    mLayout->Draw(g);
    int done = 0;
    int total = 0;
    if (gApplication != nullptr) {
        done = gApplication->mLoadingTasksDone;
        total = gApplication->mLoadingTasksTotal;
    }
    mDrawnDone = done;
    if (mLamp == nullptr || mLamp->image == nullptr)
        return;
    const int lamps = LitLamps(done, total);
    const int64_t step = mLamp->image->mWidth;
    for (int i = 0; i < lamps; ++i) {
        const int64_t lampX = std::clamp<int64_t>(mLineX + i * step, INT32_MIN, INT32_MAX);
        g->DrawImage(mLamp->image, static_cast<int>(lampX), mLineY);
    }
}

void LoadingScreen::Update()
{
    Widget::Update();
    // The loading thread only counts; the screen notices here, on the main thread.
    if (gApplication != nullptr && gApplication->mLoadingTasksDone != mDrawnDone)
        MarkDirty();
    if (handedOver || !loadingDone)
        return;
    const int64_t now = Platform::GetPlatform().GetClock().QueryPerformanceCounter();
    const double elapsed = mFrequency > 0 ? static_cast<double>(now - mStartCount) / static_cast<double>(mFrequency) : 0.0;
    if (elapsed > kMinimumSeconds) {
        handedOver = true;
        HandOver();
    }
}

void LoadingScreen::HandOver()
{
    if (parent != nullptr)
        parent->RemoveWidget(this);
    if (gApplication != nullptr)
        gApplication->DeferWidgetDelete(this);
    if (gGameApp != nullptr && gGameApp->mLoadingScreen == this)
        gGameApp->OnLoadingScreenGone();
}

} // namespace Tandry
