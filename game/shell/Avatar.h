// The HUD portrait of the current character: a background, the face of the
// shown expression, the face of the next one fading in over it, and a glass
// on top. The game board fills the pictures and runs the expression
// animation; the quest scene asks for expressions through requestedFace.
#pragma once

#include "graphics/types/Point.h"
#include "widgets/Widget.h"

#include <array>

namespace Tandry {

class MemoryImage;

class Avatar : public Widget {
public:
    static constexpr int kFaceCount = 4;

    Avatar() = default;

    void Draw(Graphics* g) override;

    // By expression: 0 neutral, 1 happy, 2 mad, 3 surprise. Not owned.
    std::array<MemoryImage*, kFaceCount> faces{};
    std::array<Point, kFaceCount> facePos{};
    // Behind the face, a second background layer, and over the face. Not owned.
    MemoryImage* backImage = nullptr;
    MemoryImage* frameImage = nullptr;
    MemoryImage* glassImage = nullptr;
    Point backPos;
    Point framePos;
    Point glassPos;
    // Fully shown.
    int shownFace = 0;
    // Fading in; equals shownFace when no fade runs.
    int targetFace = 0;
    // 0 neutral.
    int requestedFace = 0;
    // 0 to 1: how far targetFace has faded in over shownFace.
    float blend = 0.0f;
    // Seconds the requested expression still stays.
    float holdTime = 0.0f;
};

} // namespace Tandry
