// The reference count shared by the DirectSound stand-in's objects: an object
// starts with one reference, AddRef and Release return the new count under
// the stand-in's mutex, and the last Release deletes it. Each kind keeps a
// live count that tests read.
#pragma once

#include "platform/dsound/DSoundRuntime.h"

#include <cstdint>

namespace Platform {

class DSoundObject {
public:
    DSoundObject(const DSoundObject&) = delete;
    DSoundObject& operator=(const DSoundObject&) = delete;

    uint32_t AddRef();
    // Releasing an object that has no reference left is a programming error.
    uint32_t Release();

protected:
    explicit DSoundObject(DSoundObjectKind kind);
    virtual ~DSoundObject() = default;

private:
    DSoundObjectKind mKind;
    uint32_t mCount = 1;
};

} // namespace Platform
