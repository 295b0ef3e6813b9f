// What the widget toolkit and its fonts ask of the application that owns
// them: image files loaded into display images, the display itself, the
// application's widget manager, the cursor, the focus, deferred deletion, the
// clipboard, the update step and dialog closing that dialogs wait on. The
// application lies above the widgets, so it implements this interface and
// installs itself through SetWidgetHost for its lifetime; tests install a fake.
#pragma once

#include "platform/cursor/CursorService.h"

#include <string>

namespace Tandry {

class DDImage;
class DDInterface;
class DialogListener;
class Widget;
class WidgetContainer;
class WidgetManager;

class WidgetHost {
public:
    // Reads an image file (the loader finds the extension) into a new image
    // owned by the caller; null for an empty path or a failed read.
    virtual DDImage* LoadImageFile(const std::string& path, bool commit) = 0;
    // The application's display, or null without one.
    virtual DDInterface* GetDDInterface() = 0;
    // The application's widget manager, or null before it is made.
    virtual WidgetManager* GetWidgetManager() = 0;
    // The cursor number: 0 arrow, 1 hand, 2 drag, 3 text.
    virtual void SetCursorKind(int kind) = 0;
    // Shows the cursor that the application's cursor state says.
    virtual void ApplyCursor() = 0;
    // Deletes the widget after the current update pass; it need not be in a
    // tree any more.
    virtual void DeferWidgetDelete(Widget* widget) = 0;
    // Whether the application has the focus.
    virtual bool HasAppFocus() = 0;
    // While set (not null), this cursor replaces the system cursor of every
    // cursor number; ApplyCursor shows it.
    virtual void SetOverrideCursor(Platform::CursorHandle cursor) = 0;
    // Windows-1252 text.
    virtual void SetClipboardText(const std::string& text) = 0;
    virtual std::string GetClipboardText() = 0;
    // One step of the application's loop; false when the loop should stop.
    // updated (may be null) tells whether an update pass ran.
    virtual bool RunUpdateStep(bool* updated) = 0;
    // Takes the dialog of that id out of the tree and deletes it later; false
    // when no dialog has that id.
    virtual bool CloseDialog(int dialogId) = 0;
    // Where dialogs report their buttons unless told otherwise; may be null.
    virtual DialogListener* GetDialogListener() = 0;

protected:
    ~WidgetHost() = default;
};

// The installed host, or null.
WidgetHost* GetWidgetHost();
void SetWidgetHost(WidgetHost* host);
// No host: for tests.
void ResetWidgetHost();
// The host of the widget's manager, else the installed one; may be null.
WidgetHost* HostOf(const WidgetContainer* widget);

} // namespace Tandry
