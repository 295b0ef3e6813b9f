// The small headless services: a registry in memory with a switch that makes
// the next set fail, a clipboard holding a string, URL opening that records
// the address and answers from a script, and cursors that record every change.
#pragma once

#include "platform/clipboard/Clipboard.h"
#include "platform/cursor/CursorService.h"
#include "platform/registry/Registry.h"
#include "platform/shell/Shell.h"

#include <deque>
#include <mutex>
#include <vector>

namespace Platform {

class HeadlessRegistry : public Registry {
public:
    void FailNextSet() { mFailNextSet = true; }

protected:
    bool Persist(const RegistryStore&) override { return true; }
    bool AllowSet() override;

private:
    bool mFailNextSet = false;
};

class HeadlessClipboard : public Clipboard {
public:
    bool SetText(const std::string& ansiText) override;
    std::optional<std::string> GetText() override;

private:
    std::mutex mLock;
    std::optional<std::string> mText;
};

class HeadlessShell : public Shell {
public:
    bool OpenUrl(const std::string& url) override;
    // Answers in order; with an empty script every launch succeeds.
    void ScriptResult(bool ok);
    std::vector<std::string> GetOpenedUrls();

private:
    std::mutex mLock;
    std::deque<bool> mScript;
    std::vector<std::string> mUrls;
};

class HeadlessCursors : public CursorService {
public:
    ~HeadlessCursors() override;
    // Every SetCursor, in order: the cursor shown, null when hidden. Main thread only.
    std::vector<CursorHandle> GetShown();

protected:
    void NativeCreate(CursorObject&) override {}
    void NativeDestroy(CursorObject&) override {}
    void NativeShow(CursorObject* cursor) override { mShown.push_back(cursor); }

private:
    std::vector<CursorHandle> mShown; // guarded by the service's lock
};

} // namespace Platform
