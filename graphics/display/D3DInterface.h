// The Direct3D back end of the display, as far as the software display needs
// it: its initialisation always fails with "Direct3D is not available", so
// the display stays in 2D; closing a scene, tearing down, dropping an image's
// textures and reading them back do nothing. The Direct3D device replaces it.
#pragma once

#include <cstdint>
#include <string>

namespace Tandry {

class Color;
class DDInterface;
class Matrix3x3;
class MemoryImage;
struct Rect;

class D3DInterface {
public:
    D3DInterface() = default;
    D3DInterface(const D3DInterface&) = delete;
    D3DInterface& operator=(const D3DInterface&) = delete;
    virtual ~D3DInterface() = default;

    // False, with the reason in gD3DErrorText.
    bool Init(DDInterface* display);
    void Cleanup() {}
    // Ends the open scene before a frame is presented.
    void Flush() {}
    void FreeImageTextures(MemoryImage* image);
    bool ReadImageTextures(const MemoryImage* image, uint32_t* bits);
    // Draws the source rectangle of image through the matrix, clipped, in the
    // colour and draw mode; bitmap-font glyphs take this way in 3D.
    // TODO: drawing comes with the Direct3D device, textures and drawing.
    void BltTransformed(MemoryImage* image, const Rect& clip, const Color& color, int drawMode, const Rect& src,
                        const Matrix3x3& matrix, bool linear);
};

// The text of the last Direct3D failure; presenting gives up 3D while it is set.
extern std::string gD3DErrorText;
// A Direct3D scene failed to begin during the run and no later one began. The
// Direct3D layer sets it; the application asks about 3D at exit when it is
// set, and its update pass clears it.
extern bool gD3DSceneFailed;
// Both back to their start, for tests.
void ResetD3DGlobals();

} // namespace Tandry
