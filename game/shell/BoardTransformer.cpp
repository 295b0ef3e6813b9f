#include "game/shell/BoardTransformer.h"

#include "game/shell/BaseBoard.h"
#include "game/shell/BoardTransformerListener.h"
#include "platform/Platform.h"

namespace Tandry {

void BoardTransformer::Advance(float /*seconds*/) {}

void BoardTransformer::Start() {}

void BoardTransformer::Update()
{
    Platform::Clock& clock = Platform::GetPlatform().GetClock();
    if (lastTime == 0)
        lastTime = clock.GetTickCount();
    // Unsigned subtraction, so a wrap of the counter still gives a small step.
    const uint32_t elapsed = clock.GetTickCount() - lastTime;
    Advance(static_cast<float>(elapsed) / 1000.0f);
    lastTime = clock.GetTickCount();
    WidgetContainer::MarkDirty();
}

void BoardTransformer::Finish()
{
    if (!running)
        return;
    running = false;
    if (fromBoard != nullptr)
        fromBoard->visible = true;
    if (toBoard != nullptr)
        toBoard->visible = true;
    if (listener != nullptr)
        listener->OnTransformEnd();
}

} // namespace Tandry
