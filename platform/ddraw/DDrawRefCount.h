// The reference count shared by every object of the DirectDraw stand-in: an
// object starts with one reference, AddRef and Release return the new count
// under the stand-in's mutex, and the last Release deletes the object. Each
// kind keeps a live count that tests read.
#pragma once

#include "platform/ddraw/DDrawRuntime.h"

#include <cstdint>
#include <initializer_list>

namespace Platform {

class DDrawRefCount {
public:
    DDrawRefCount(const DDrawRefCount&) = delete;
    DDrawRefCount& operator=(const DDrawRefCount&) = delete;

protected:
    explicit DDrawRefCount(DDrawObjectKind kind);
    virtual ~DDrawRefCount();

    // One interface the object answers to, and the pointer that stands for it.
    struct Answer {
        IID iid;
        void* pointer;
    };
    // QueryInterface of every object: logged (with the caps of a surface) and
    // open to injected failures; hands out the matching pointer with a
    // reference added, or E_NOINTERFACE.
    HRESULT AnswerQuery(REFIID iid, void** out, uint32_t caps, std::initializer_list<Answer> answers);

    uint32_t AddRefCount();
    // Deletes the object when the count reaches 0. Releasing an object that has
    // no reference left is a programming error.
    uint32_t ReleaseCount();

private:
    DDrawObjectKind mKind;
    uint32_t mCount = 1;
};

} // namespace Platform
