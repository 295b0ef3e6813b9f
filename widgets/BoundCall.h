// An object and one of its member functions taking the windowed flag, kept
// together so that a dialog can pass a screen-mode change on to whoever made
// it without knowing its class. An empty call answers -1.
#pragma once

#include <functional>

namespace Tandry {

class BoundCall {
public:
    BoundCall() = default;

    // Empty when either is null: there is nothing that could be called.
    template <typename Object>
    BoundCall(Object* object, int (Object::*method)(bool))
    {
        if (object != nullptr && method != nullptr)
            mCall = [object, method](bool windowed) { return (object->*method)(windowed); };
    }

    bool IsEmpty() const { return !mCall; }

    int operator()(bool windowed) const { return mCall ? mCall(windowed) : -1; }

private:
    std::function<int(bool)> mCall;
};

} // namespace Tandry
