#include "game/shell/GameBase.h"

#include "app/TandryAppBase.h"
#include "game/shell/FaderBoard.h"
#include "game/shell/GameApp.h"
#include "game/shell/GameControllerCommon.h"
#include "game/shell/GuiLayout.h"
#include "game/shell/PauseAware.h"
#include "game/shell/PauseWidget.h"
#include "game/shell/Scenario.h"
#include "game/shell/UiSound.h"
#include "widgets/WidgetManager.h"

#include <algorithm>
#include <utility>

namespace Tandry {

namespace {

constexpr int kFaderTopZOrder = 80;
constexpr int kHudZOrder = 10;
constexpr int kOverlayZOrder = 5;
constexpr int kFocusLossOverlayZOrder = 30;

// The manager's list holds the fader without becoming its parent: the
// board stays its owner and parent. Placed as the manager places a child.
void LinkTopLevel(WidgetManager* widgetManager, Widget* widget)
{
    auto& list = widgetManager->children;
    if (std::find(list.begin(), list.end(), widget) != list.end())
        return;
    auto position = list.begin();
    while (position != list.end() && (*position)->zOrder <= widget->zOrder)
        ++position;
    list.insert(position, widget);
    widgetManager->MarkDirty();
}

// Keeps a running update walk of the manager on the next widget.
void UnlinkTopLevel(WidgetManager* widgetManager, Widget* widget)
{
    auto& list = widgetManager->children;
    const auto position = std::find(list.begin(), list.end(), widget);
    if (position == list.end())
        return;
    if (position == widgetManager->updateIterator) {
        ++widgetManager->updateIterator;
        widgetManager->updateIteratorModified = true;
    }
    list.erase(position);
    widgetManager->MarkDirty();
}

} // namespace

GameBase::GameBase(bool wantsLoading, std::string level) : BaseBoard(wantsLoading), levelName(std::move(level))
{
}

GameBase::~GameBase()
{
    RemoveAllWidgets(true);
}

void GameBase::OnPaused() {}

void GameBase::OnUnpaused() {}

void GameBase::OnStart() {}

void GameBase::Init()
{
    pauseWidget = new PauseWidget();
    pauseWidget->Resize(0, 0, width, height);
    pauseWidget->SetVisible(false);
    AddWidget(pauseWidget);
    applicationInactive = gApplication != nullptr && !gApplication->mActive;
    SetPaused(pausedByUser);
    fader = new FaderBoard();
    fader->Resize(0, 0, width, height);
    AddWidget(fader);
    wantsLoadingScreen = LoadingTaskCount() > 0;
}

int GameBase::LoadingTaskCount()
{
    return layout != nullptr ? layout->PendingImageCount() : 0;
}

void GameBase::LoadResources()
{
    for (int i = LoadingTaskCount(); i > 0 && layout != nullptr; --i) {
        layout->LoadFirstPendingImage();
        AdvanceLoadingProgress();
    }
}

void GameBase::OnLoaded()
{
    BuildInterface();
    if (started)
        return;
    SetPaused(true);
    SetPaused(false);
    OnStart();
}

void GameBase::Pause()
{
    applicationInactive = true;
    SetPaused(pausedByUser);
}

void GameBase::Resume()
{
    applicationInactive = false;
    SetPaused(pausedByUser);
}

void GameBase::SetPaused(bool byUser)
{
    pausedByUser = byUser;
    const bool nowPaused = byUser || applicationInactive;
    if (nowPaused != paused) {
        paused = nowPaused;
        if (pauseAware != nullptr)
            pauseAware->SetPauseState(paused);
        if (paused)
            OnPaused();
        else
            OnUnpaused();
    }
    active = !paused;
    ApplyPauseState();
}

void GameBase::ApplyPauseState()
{
    if (pauseButton != nullptr)
        pauseButton->SetVisible(!paused);
    if (resumeButton != nullptr)
        resumeButton->SetVisible(paused);
    if (pauseWidget == nullptr)
        return;
    const bool show = playing && paused;
    pauseWidget->SetShown(show, applicationInactive);
    if (!show)
        return;
    // Taken out and put back, so that the lists are sorted by the new z-orders.
    pauseWidget->zOrder = applicationInactive ? kFocusLossOverlayZOrder : kOverlayZOrder;
    RemoveWidget(pauseWidget);
    AddWidget(pauseWidget);
    for (Widget* hud : hudWidgets) {
        RemoveWidget(hud);
        hud->zOrder = kHudZOrder;
        AddWidget(hud);
    }
}

void GameBase::AddHudWidget(Widget* widget)
{
    hudWidgets.push_back(widget);
    AddWidget(widget);
}

void GameBase::StartFade(BoundCall<void()> onCovered, BoundCall<void()> onUncovered)
{
    if (fader == nullptr)
        return;
    if (fader->zOrder != kFaderTopZOrder) {
        RemoveWidget(fader);
        fader->zOrder = kFaderTopZOrder;
        AddWidget(fader);
        // Its place among the manager's top-level widgets follows the new z-order too.
        if (manager != nullptr) {
            UnlinkTopLevel(manager, fader);
            LinkTopLevel(manager, fader);
        }
    }
    fader->coveredCall = onCovered;
    fader->uncoveredCall = onUncovered;
    fader->state = FaderBoard::kDarkening;
    fader->alpha = 0;
    fader->time = 0.0f;
}

void GameBase::OnButtonClick(int id)
{
    switch (id) {
    case kResumeButtonId:
        SetPaused(false);
        break;
    case kPauseButtonId:
        SetPaused(true);
        break;
    case kRestartButtonId:
        playing = false;
        SetPaused(true);
        StartFade(BoundCall<void()>(this, &GameBase::RestartCovered),
                  BoundCall<void()>(this, &GameBase::RestartUncovered));
        break;
    default:
        break;
    }
}

void GameBase::RestartCovered()
{
    // A board without a pause-aware object has no time to reset.
    if (pauseAware != nullptr)
        pauseAware->ResetTime();
    OnLevelLeft();
}

void GameBase::RestartUncovered()
{
    playing = true;
    SetPaused(false);
    levelEnded = false;
}

void GameBase::LevelWon()
{
    if (levelEnded)
        return;
    levelEnded = true;
    PlayUiSound(kUiSoundLevelWon);
    playing = false;
    SetPaused(true);
    // Without a current level there is nothing to mark.
    if (LevelBase* level = GetGameControllerCommon().GetCurrentLevel())
        GetScenario().MarkLevelDone(level->name);
}

void GameBase::LevelLeft()
{
    if (levelEnded)
        return;
    levelEnded = true;
    PlayUiSound(kUiSoundLevelLeft);
    OnLevelLeft();
    playing = false;
}

void GameBase::AddedToManager(WidgetManager* widgetManager)
{
    BaseBoard::AddedToManager(widgetManager);
    if (fader != nullptr)
        LinkTopLevel(widgetManager, fader);
}

void GameBase::RemovedFromManager(WidgetManager* widgetManager)
{
    BaseBoard::RemovedFromManager(widgetManager);
    if (fader != nullptr)
        UnlinkTopLevel(widgetManager, fader);
}

} // namespace Tandry
