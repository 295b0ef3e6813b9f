// Runs a mini-game's winning step one update later: the mini-game makes one
// when it is won and hands it straight to TandryAppBase::DeferWidgetDelete,
// and the deletion after the update runs the step. It is never added to a
// widget tree.
#pragma once

#include "widgets/Widget.h"

class MinigameWinStep;

class DelayActor : public Tandry::Widget {
public:
    explicit DelayActor(MinigameWinStep* minigame) : mMinigame(minigame) {}
    ~DelayActor() override;

private:
    MinigameWinStep* mMinigame;
};
