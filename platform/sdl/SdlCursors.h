// SDL cursors: SDL's own system cursors for the IDC numbers, and monochrome
// cursors made from Windows' AND/XOR masks converted to SDL's bits.
#pragma once

#include "platform/cursor/CursorService.h"

namespace Platform {

class SdlCursors : public CursorService {
public:
    ~SdlCursors() override;

protected:
    void NativeCreate(CursorObject& cursor) override;
    void NativeDestroy(CursorObject& cursor) override;
    void NativeShow(CursorObject* cursor) override;
};

} // namespace Platform
