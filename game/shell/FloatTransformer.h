// A value animator: a process that computes a value over time and reports
// each new value, and its end, to its listeners. Made on the heap, given its
// listeners and handed to AddProcess; the process list deletes it after the
// update in which it finished. Listeners may disconnect or be deleted from
// inside their notifications. Its speed may follow another animator's values.
#pragma once

#include "game/shell/FloatTransformerListener.h"
#include "game/shell/MessageSender.h"
#include "game/shell/Process.h"

#include <vector>

class FloatTransformer : public MessageSender, public Process, public FloatTransformerListener {
public:
    explicit FloatTransformer(int id);
    ~FloatTransformer() override;

    // While notifying, or when deferred, the listener's entry is only nulled.
    void OnReceiverDisconnected(MessageReceiver* receiver, int deferred) override;
    // The value of a first, tiny step (dt 0.00001, total time 0).
    virtual float GetStartValue();
    virtual float GetSpeed();
    // Clears the speed source when it is source.
    virtual void ReleaseSpeedSource(FloatTransformer* source);
    // One step: *value gets the value to report, *finished true at the end.
    virtual void Step(float dt, float elapsed, float currentSpeed, float* value, bool* finished) = 0;

    // Steps, reports the value and the end, and ends when it finished or when
    // no listener is left.
    bool Tick(float dt, float elapsed) override;
    // A value reported by the speed source becomes the speed.
    void OnValueChanged(FloatTransformer* transformer, float value, int transformerId) override;
    // The speed source is going away.
    void OnSenderRemoved(MessageSender* sender) override;

    void AddListener(FloatTransformerListener* listener);
    // From now on the source's reported values are this animator's speed.
    void SetSpeedSource(FloatTransformer* source);

    std::vector<FloatTransformerListener*> listeners;
    bool hasNullListeners = false;
    float speed = 0.0f;
    FloatTransformer* speedSource = nullptr;
    int id;

private:
    int mNotifying = 0;
    // Set by a running Tick: the destructor clears it, so the tick stops
    // before it touches a deleted animator.
    bool* mAlive = nullptr;
};
