// An object and one of its member functions, kept together so that whoever
// must call back later (a dialog passing on a screen-mode change, a tooltip,
// a backdrop click, a fader, a controller's clear list) needs to know neither
// the class nor the function. One template serves every signature; a member
// of any class binds. An empty call answers -1 where the result is an int.
#pragma once

#include <cstring>
#include <string>
#include <type_traits>
#include <utility>

namespace Tandry {

template <typename Signature>
class BoundCall;

template <typename Result, typename... Args>
class BoundCall<Result(Args...)> {
public:
    BoundCall() = default;

    // Empty when either is null: there is nothing that could be called. The
    // function may belong to a base class of the object's.
    template <typename Object, typename Class>
        requires std::is_base_of_v<Class, Object>
    BoundCall(Object* object, Result (Class::*method)(Args...))
    {
        using Method = Result (Class::*)(Args...);
        static_assert(sizeof(Method) <= sizeof(mMethod), "a member function pointer must fit the call");
        if (object == nullptr || method == nullptr)
            return;
        mObject = static_cast<Class*>(object);
        std::memcpy(mMethod, &method, sizeof(Method));
        mInvoke = [](void* target, const unsigned char* stored, Args... args) -> Result {
            Method m;
            std::memcpy(&m, stored, sizeof(Method));
            return (static_cast<Class*>(target)->*m)(std::forward<Args>(args)...);
        };
    }

    bool IsEmpty() const { return mInvoke == nullptr; }
    // What callers test before calling: -1 when empty, else 4.
    int State() const { return IsEmpty() ? -1 : 4; }

    Result operator()(Args... args) const
    {
        if (mInvoke == nullptr)
            return EmptyResult();
        return mInvoke(mObject, mMethod, std::forward<Args>(args)...);
    }

    // The tooltip and bubble form: a text shown for some seconds.
    Result CallWithText(const std::wstring& text, float seconds) const
        requires std::is_invocable_v<BoundCall, const std::wstring&, float>
    {
        return (*this)(text, seconds);
    }

private:
    static Result EmptyResult()
    {
        if constexpr (std::is_same_v<Result, int>)
            return -1;
        else if constexpr (!std::is_void_v<Result>)
            return Result();
    }

    void* mObject = nullptr;
    // Member function pointers take two words on the platforms we build for.
    alignas(void*) unsigned char mMethod[2 * sizeof(void*)] = {};
    Result (*mInvoke)(void*, const unsigned char*, Args...) = nullptr;
};

template <typename Signature>
bool IsEmptyBoundCall(const BoundCall<Signature>& call)
{
    return call.IsEmpty();
}

} // namespace Tandry
