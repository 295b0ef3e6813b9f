// The screen shown while the loading thread loads a board: its own layout of
// "data/gui/loading/" with a row of up to 37 lamps that light up as the
// board's loading tasks finish. It stays at least two seconds, then hands
// over to the board. The board switch makes it, sizes it and tells it when
// the loading thread has finished.
#pragma once

#include "widgets/Widget.h"

#include <cstdint>

namespace Tandry {

class GuiLayout;
struct GuiLayoutEntry;

class LoadingScreen : public Widget {
public:
    static constexpr int kLampCount = 37;
    static constexpr double kMinimumSeconds = 2.0;

    LoadingScreen();
    ~LoadingScreen() override;
    LoadingScreen(const LoadingScreen&) = delete;
    LoadingScreen& operator=(const LoadingScreen&) = delete;

    // The layout, then one lamp per finished 37th of the tasks along the "line".
    void Draw(Graphics* g) override;
    // Redraws when a task has finished; hands over once loading is done and
    // the minimum time has passed.
    void Update() override;
    // Leaves the tree (deleted after this update) and lets the application
    // show the loaded board.
    void HandOver();

    // The lamps lit for done of total tasks: none without tasks, all 37 once
    // every task is done.
    static int LitLamps(int done, int total);

    // The performance counter when the screen was built.
    int64_t GetStartCount() const { return mStartCount; }

    // Set on the main thread when the loading thread has finished.
    bool loadingDone = false;
    bool handedOver = false;

private:
    GuiLayout* mLayout;
    // Drawn by the screen itself; null when the layout has no such entry.
    GuiLayoutEntry* mLamp = nullptr;
    int32_t mLineX = 0;
    int32_t mLineY = 0;
    int64_t mFrequency;
    int64_t mStartCount;
    // The tasks-done counter the last drawing showed.
    int mDrawnDone = 0;
};

} // namespace Tandry
