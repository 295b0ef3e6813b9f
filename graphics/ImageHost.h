// What images need of the application that keeps them. The application lies
// above the display layer, so images reach it only through this interface,
// which the application implements and installs; tests install a fake.
#pragma once

namespace Tandry {

class ImageHost {
public:
    // A shared image lost its last handle; the application frees such images
    // at its next update. Called from whichever thread released the handle.
    virtual void SharedImageReleased() = 0;

protected:
    ~ImageHost() = default;
};

// The installed host, or null (before the application exists, after it is
// gone, and in tests that install none). Safe to read from any thread.
ImageHost* GetImageHost();
// Null uninstalls; tests reset with it.
void SetImageHost(ImageHost* host);

} // namespace Tandry
