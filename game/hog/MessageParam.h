// The parameter record of the hidden-object message bus: one payload per
// message, every other field zero. The broadcaster owns it (usually on its
// stack) for the length of the broadcast.
#pragma once

namespace Tandry {

class TLevel;
class TPaintElement;
class TPicture;

class MessageParam {
public:
    MessageParam() = default;
    // The frame tick's elapsed seconds.
    explicit MessageParam(float elapsed) : time(elapsed) {}
    explicit MessageParam(int number) : value(number) {}
    explicit MessageParam(TPicture* pictureConcerned) : picture(pictureConcerned) {}
    explicit MessageParam(TPaintElement* elementConcerned) : element(elementConcerned) {}
    explicit MessageParam(TLevel* levelConcerned) : level(levelConcerned) {}

    float time = 0.0f;
    int value = 0;
    TPicture* picture = nullptr;
    TPaintElement* element = nullptr;
    TLevel* level = nullptr;
};

} // namespace Tandry
