// The cursor service: the system cursors by IDC number, cursors made from
// 32 x 32 monochrome AND/XOR masks with a hot spot, and the cursor shown over
// our windows (null hides it). Handles are opaque and stay valid until
// destroyed; system cursors are shared and never destroyed.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace Platform {

constexpr uint32_t IDC_ARROW = 32512;
constexpr uint32_t IDC_IBEAM = 32513;
constexpr uint32_t IDC_WAIT = 32514;
constexpr uint32_t IDC_SIZENWSE = 32642;
constexpr uint32_t IDC_SIZENESW = 32643;
constexpr uint32_t IDC_SIZEWE = 32644;
constexpr uint32_t IDC_SIZENS = 32645;
constexpr uint32_t IDC_SIZEALL = 32646;
constexpr uint32_t IDC_NO = 32648;

// What a cursor handle points at.
struct CursorObject {
    uint32_t systemId = 0; // an IDC number, or 0 for a cursor made from masks
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    std::vector<uint8_t> andMask; // rows of width / 8 bytes, most significant bit first
    std::vector<uint8_t> xorMask;
    void* native = nullptr; // the back end's own cursor
};
using CursorHandle = CursorObject*;

class CursorService {
public:
    virtual ~CursorService();

    // Null for a number that is not a known system cursor.
    CursorHandle LoadSystemCursor(uint32_t id);
    // Masks hold height rows of width / 8 bytes; width must be a multiple of 8.
    CursorHandle CreateCursor(int hotX, int hotY, int width, int height, const uint8_t* andMask,
                              const uint8_t* xorMask);
    bool DestroyCursor(CursorHandle cursor);
    // Shows the cursor over our windows; null hides it. Returns the previous one.
    CursorHandle SetCursor(CursorHandle cursor);
    CursorHandle GetCursor();

protected:
    virtual void NativeCreate(CursorObject& cursor) = 0;
    virtual void NativeDestroy(CursorObject& cursor) = 0;
    virtual void NativeShow(CursorObject* cursor) = 0; // null hides
    // Back ends free their native cursors first in their destructors.
    void DestroyAllNative();

private:
    bool Owns(CursorHandle cursor) const;

    std::mutex mLock;
    std::vector<std::unique_ptr<CursorObject>> mCursors;
    CursorHandle mCurrent = nullptr;
};

} // namespace Platform
