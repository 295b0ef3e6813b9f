// What the widget toolkit and its fonts ask of the application that owns
// them: image files loaded into display images, and the display itself. The
// application lies above the widgets, so it implements this interface and
// installs itself through SetWidgetHost for its lifetime; tests install a fake.
#pragma once

#include <string>

namespace Tandry {

class DDImage;
class DDInterface;

class WidgetHost {
public:
    // Reads an image file (the loader finds the extension) into a new image
    // owned by the caller; null for an empty path or a failed read.
    virtual DDImage* LoadImageFile(const std::string& path, bool commit) = 0;
    // The application's display, or null without one.
    virtual DDInterface* GetDDInterface() = 0;

protected:
    ~WidgetHost() = default;
};

// The installed host, or null.
WidgetHost* GetWidgetHost();
void SetWidgetHost(WidgetHost* host);
// No host: for tests.
void ResetWidgetHost();

} // namespace Tandry
