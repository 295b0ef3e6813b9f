// What a value animator reports to: every new value and, once, its end. The
// hidden-object board, its pictures, elements and notepad records, and
// animators that take their speed from another animator, listen this way.
#pragma once

#include "game/shell/MessageReceiver.h"

class FloatTransformer;

class FloatTransformerListener : public MessageReceiver {
public:
    virtual void OnValueChanged(FloatTransformer* transformer, float value, int id);
    virtual void OnFinished(FloatTransformer* transformer, int id);
};
