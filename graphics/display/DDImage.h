// An image that can live in a display surface as well as in memory: the
// picture is kept in the memory forms of MemoryImage and in at most one
// surface in the display's format, 16 or 32 bits. The operation that last
// changed the picture decides which form is current; the others are rebuilt
// on demand. Images read from files, the screen image and the cursor save
// areas are surface images.
#pragma once

#include "graphics/display/SurfaceConverter.h"
#include "graphics/image/MemoryImage.h"
#include "platform/ddraw/DDrawInterfaces.h"

namespace Tandry {

class DDInterface;

class DDImage : public MemoryImage {
public:
    // Made for the application's display (none when there is none).
    DDImage();
    // Made for display, which may be null.
    explicit DDImage(DDInterface* display);
    DDImage(const DDImage&) = delete;
    DDImage& operator=(const DDImage&) = delete;
    ~DDImage() override;

    // The display draws through Direct3D and this image is its draw surface.
    bool Is3DScreen() const;

    // The surface, created from the memory form when missing; null when that fails.
    Platform::IDirectDrawSurface* GetSurface();
    // True at once when a surface exists.
    bool CreateSurface();
    // Counted: only the first lock and the last unlock reach the surface.
    // mLockDesc describes the locked memory while the count is above 0.
    bool LockSurface();
    bool UnlockSurface();
    // Takes a surface made elsewhere, with a reference of its own, and its size.
    void AdoptSurface(Platform::IDirectDrawSurface* surface);
    // Gives the surface up, reading the picture back first when the surface
    // holds the only copy.
    void ReleaseSurface();
    // The surface now holds the only current picture.
    void FreeMemoryCopies();
    // Where the next surface is made: video memory or system memory.
    void SetVideoMemory(bool videoMemory);
    // A surface of an image with transparency is keyed anyway.
    bool CreateKeyedSurface();
    // The display is going away: the picture moves to memory and the image
    // never asks the display anything again.
    void DetachDisplay();

    // With a surface and no pixel array the pixels are read back from the
    // surface; null when the surface cannot be read.
    uint32_t* GetBits() override;
    // Keeps the alpha flags as they are.
    void Create(int width, int height) override;
    void MarkBitsChanged() override;
    void ScanAlpha() override;
    void DiscardBits() override;
    void FreeDerivedData() override;
    void FreeDisplayFormatData() override;
    void ApplyPendingConversions() override;
    bool Palletize() override;

    // The drawing slots. An image with alpha or transparency, or without a
    // surface, is drawn in memory. An opaque surface image is drawn into its
    // surface: the part the call can change is read back, drawn in memory
    // and written back converted. Nothing is drawn into a surface that
    // refuses software access.
    void FillRect(const Rect& rect, const Color& color, int drawMode) override;
    void ClearRect(const Rect& rect) override;
    void DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode) override;
    void DrawLineAA(double x1, double y1, double x2, double y2, const Color& color, int drawMode) override;
    void FillScanLinesWithCoverage(const Span* spans, int count, const Color& color, int drawMode,
                                   const uint8_t* coverage, int coverageX, int coverageY, int coveragePitch,
                                   int unused) override;
    void Blt(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode) override;
    void BltF(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
              int drawMode) override;
    void BltRotated(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                    int drawMode, double angle, float centerX, float centerY) override;
    void StretchBlt(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect, const Color& color,
                    int drawMode, bool fastStretch) override;
    void BltMatrix(Image* src, float x, float y, const Matrix3x3& matrix, const Rect& clipRect, const Color& color,
                   int drawMode, const Rect& srcRect, bool linear) override;
    void BltTrianglesTex(Image* src, const TriVertex (*triangles)[3], int count, const Rect& clipRect,
                         const Color& color, int drawMode, float tx, float ty, bool linear) override;
    void BltMirror(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode) override;
    void StretchBltMirror(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                          const Color& color, int drawMode, bool fastStretch) override;

    DDInterface* mDDInterface = nullptr;
    Platform::IDirectDrawSurface* mSurface = nullptr;
    // Handed in by AdoptSurface; the memory-copy operations leave the image alone.
    bool mSurfaceAdopted = false;
    // Software access to the surface is refused.
    bool mNoDraw = false;
    bool mVideoMemory = false;
    // Set by every CreateSurface; the image returns to its surface afterwards.
    bool mWantSurface = false;
    int mLockCount = 0;
    Platform::DDSURFACEDESC mLockDesc;

private:
    void Init();
    // Releases the surface without reading it back.
    void DropSurface();
    bool DisplayIs3D() const;
    // For the locked surface: the display's channels, or the surface's own without a display.
    SurfaceConverter LockedConverter() const;
    // Draws through draw(MemoryImage&) on the form the slots above describe;
    // area is the part of the image the call can change.
    template <class Draw>
    void RouteDrawing(const Rect& area, Draw draw);

    // The colour key this image gave its surface; stored pixels equal to it
    // read back as transparent while the image has transparency.
    uint32_t mColorKey = 0;
    bool mKeySet = false;
};

} // namespace Tandry
