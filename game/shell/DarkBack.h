// The dimming backdrop under every modal panel (options, in-game menu,
// diary, profile screen): it fades a dark picture in over the whole screen,
// swallows every click meant for the board below, calls its owner back on
// the first click after the fade, and fades out and deletes itself once its
// owner closes it. The owner adds it under its panel.
#pragma once

#include "widgets/BoundCall.h"
#include "widgets/Widget.h"

#include <cstdint>

namespace Tandry {

class DarkBack : public Widget {
public:
    // A null onClick means no call; tag is kept for the owner.
    DarkBack(const BoundCall<void()>* onClick, std::intptr_t ownerTag);

    // Moves the level towards the target by 0.03; once it is 0 with closing
    // set, the backdrop removes itself and is deleted after the update.
    void Update() override;
    // IMAGE_DARK_BACK at (0, 0), white with alpha level x 127.5.
    void Draw(Graphics* g) override;
    // Any button, only once the fade has ended: the click call, once.
    void MouseDown(int mouseX, int mouseY, int button, int clickCount) override;

    // Called once when clicked after the fade; may be set after construction.
    BoundCall<void()> clickCall;
    std::intptr_t tag;
    float level = 0.0f;
    float target = 1.0f;
    // Set with target 0 by the owner to close it.
    bool closing = false;

private:
    // Handed to the application for deletion; never twice.
    bool mEnded = false;
};

} // namespace Tandry
