#include "platform/cursor/CursorService.h"

#include <algorithm>

namespace Platform {
namespace {

bool IsSystemCursorId(uint32_t id)
{
    static const uint32_t kKnown[] = {IDC_ARROW,   IDC_IBEAM,  IDC_WAIT,   IDC_SIZENWSE, IDC_SIZENESW,
                                      IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL, IDC_NO};
    return std::find(std::begin(kKnown), std::end(kKnown), id) != std::end(kKnown);
}

} // namespace

CursorService::~CursorService() = default;

bool CursorService::Owns(CursorHandle cursor) const
{
    return std::any_of(mCursors.begin(), mCursors.end(), [&](const auto& c) { return c.get() == cursor; });
}

CursorHandle CursorService::LoadSystemCursor(uint32_t id)
{
    if (!IsSystemCursorId(id))
        return nullptr;
    std::lock_guard<std::mutex> hold(mLock);
    for (const auto& cursor : mCursors) {
        if (cursor->systemId == id)
            return cursor.get();
    }
    auto cursor = std::make_unique<CursorObject>();
    cursor->systemId = id;
    NativeCreate(*cursor);
    mCursors.push_back(std::move(cursor));
    return mCursors.back().get();
}

CursorHandle CursorService::CreateCursor(int hotX, int hotY, int width, int height, const uint8_t* andMask,
                                         const uint8_t* xorMask)
{
    if (width <= 0 || height <= 0 || width % 8 != 0 || andMask == nullptr || xorMask == nullptr)
        return nullptr;
    size_t bytes = static_cast<size_t>(width / 8) * static_cast<size_t>(height);
    auto cursor = std::make_unique<CursorObject>();
    cursor->width = width;
    cursor->height = height;
    cursor->hotX = std::clamp(hotX, 0, width - 1);
    cursor->hotY = std::clamp(hotY, 0, height - 1);
    cursor->andMask.assign(andMask, andMask + bytes);
    cursor->xorMask.assign(xorMask, xorMask + bytes);
    std::lock_guard<std::mutex> hold(mLock);
    NativeCreate(*cursor);
    mCursors.push_back(std::move(cursor));
    return mCursors.back().get();
}

bool CursorService::DestroyCursor(CursorHandle cursor)
{
    std::lock_guard<std::mutex> hold(mLock);
    if (cursor == nullptr || !Owns(cursor) || cursor->systemId != 0)
        return false;
    if (mCurrent == cursor) {
        // The shown cursor is gone: nothing shows until the next SetCursor.
        mCurrent = nullptr;
        NativeShow(nullptr);
    }
    NativeDestroy(*cursor);
    std::erase_if(mCursors, [&](const auto& c) { return c.get() == cursor; });
    return true;
}

CursorHandle CursorService::SetCursor(CursorHandle cursor)
{
    std::lock_guard<std::mutex> hold(mLock);
    if (cursor != nullptr && !Owns(cursor))
        return mCurrent;
    CursorHandle previous = mCurrent;
    mCurrent = cursor;
    NativeShow(cursor);
    return previous;
}

CursorHandle CursorService::GetCursor()
{
    std::lock_guard<std::mutex> hold(mLock);
    return mCurrent;
}

void CursorService::DestroyAllNative()
{
    std::lock_guard<std::mutex> hold(mLock);
    for (const auto& cursor : mCursors)
        NativeDestroy(*cursor);
    mCursors.clear();
    mCurrent = nullptr;
}

} // namespace Platform
