// Headless cursors: no pictures, but every cursor shown is recorded.
#pragma once

#include "platform/cursor/CursorService.h"

#include <vector>

namespace Platform {

class HeadlessCursors : public CursorService {
public:
    ~HeadlessCursors() override;
    // Every SetCursor, in order: the cursor shown, null when hidden. Main thread only.
    std::vector<CursorHandle> GetShown() const { return mShown; }

protected:
    void NativeCreate(CursorObject&) override {}
    void NativeDestroy(CursorObject&) override {}
    void NativeShow(CursorObject* cursor) override { mShown.push_back(cursor); }

private:
    std::vector<CursorHandle> mShown; // written under the service's lock
};

} // namespace Platform
