#include "game/shell/FloatTransformer.h"

#include <algorithm>

FloatTransformer::FloatTransformer(int transformerId) : id(transformerId) {}

FloatTransformer::~FloatTransformer()
{
    if (mAlive != nullptr)
        *mAlive = false;
    // The listeners are told while this is still an animator; the sender
    // base would be too late to reach them through the listener list.
    DropAllReceivers();
    listeners.clear();
}

void FloatTransformer::OnReceiverDisconnected(MessageReceiver* receiver, int deferred)
{
    const auto it = std::find_if(listeners.begin(), listeners.end(), [receiver](FloatTransformerListener* l) {
        return l != nullptr && static_cast<MessageReceiver*>(l) == receiver;
    });
    if (it == listeners.end())
        return;
    // A tick walking the list must find it as it was, whoever removes the
    // listener and however (its own destructor included).
    if (deferred != 0 || mNotifying > 0) {
        *it = nullptr;
        hasNullListeners = true;
    } else {
        listeners.erase(it);
    }
}

float FloatTransformer::GetStartValue()
{
    float value = 0.0f;
    bool finished = false;
    Step(0.00001f, 0.0f, speed, &value, &finished);
    return value;
}

float FloatTransformer::GetSpeed()
{
    return speed;
}

void FloatTransformer::ReleaseSpeedSource(FloatTransformer* source)
{
    if (speedSource == source)
        speedSource = nullptr;
}

bool FloatTransformer::Tick(float dt, float elapsed)
{
    float value = 0.0f;
    bool finished = false;
    Step(dt, elapsed, speed, &value, &finished);

    bool alive = true;
    bool* const outer = mAlive;
    mAlive = &alive;
    ++mNotifying;
    for (size_t i = 0; alive && i < listeners.size(); ++i) {
        if (listeners[i] != nullptr)
            listeners[i]->OnValueChanged(this, value, id);
    }
    for (size_t i = 0; alive && finished && i < listeners.size(); ++i) {
        if (listeners[i] != nullptr)
            listeners[i]->OnFinished(this, id);
    }
    // A listener deleted the animator: nothing of it may be touched.
    if (!alive) {
        if (outer != nullptr)
            *outer = false;
        return false;
    }
    --mNotifying;
    mAlive = outer;

    if (hasNullListeners && mNotifying == 0) {
        std::erase(listeners, nullptr);
        hasNullListeners = false;
    }
    if (listeners.empty())
        finished = true;
    return !finished;
}

void FloatTransformer::OnValueChanged(FloatTransformer* transformer, float value, int /*transformerId*/)
{
    if (transformer != nullptr && transformer == speedSource)
        speed = value;
}

void FloatTransformer::OnSenderRemoved(MessageSender* sender)
{
    // The source is an animator, so its sender part is what reports here.
    if (speedSource != nullptr && sender == static_cast<MessageSender*>(speedSource))
        ReleaseSpeedSource(speedSource);
}

void FloatTransformer::AddListener(FloatTransformerListener* listener)
{
    if (listener == nullptr)
        return;
    Connect(listener);
    listeners.push_back(listener);
}

void FloatTransformer::SetSpeedSource(FloatTransformer* source)
{
    if (speedSource != nullptr)
        FloatTransformerListener::Disconnect(0, speedSource);
    speedSource = source;
    if (source != nullptr)
        source->AddListener(this);
}
