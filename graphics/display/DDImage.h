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
struct DoubleRect;
namespace SurfacePixels {
struct Target;
}

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

    // The drawing slots. On the 3D screen each goes to a Direct3D route of
    // its own. An image with alpha or transparency, or any image while the
    // display is in 3D mode, is drawn in memory by the slots that have a
    // memory route; every other call draws into the surface, which then holds
    // the only current picture. DrawRect, ClearRect and FillScanLines keep
    // the bodies that draw through FillRect and GetBits.
    bool PolyFill3D(const Point* vertices, int count, const Rect* clipRect, const Color& color, int drawMode, int tx,
                    int ty, bool convex) override;
    void FillRect(const Rect& rect, const Color& color, int drawMode) override;
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

    // Software drawing into the locked surface. None of them clips: the
    // drawing context has clipped. Each locks and unlocks once (inside any
    // outer lock) and draws nothing when the lock fails, when software
    // access is refused (mNoDraw) or on a depth other than 16 or 32 bits.
    // Colour channels are brought into 0..255 first.
    virtual void SurfaceFillRect(const Rect& rect, const Color& color);
    virtual void SurfaceFillRectAdditive(const Rect& rect, const Color& color);
    // An opaque white blit between surfaces goes to DirectDraw; a volatile
    // source under white is blended from its raw pixels; the rest from the
    // source's display-format data and run table. The source is marked drawn.
    virtual void SurfaceBlt(Image* src, int x, int y, const Rect& srcRect, const Color& color);
    virtual void SurfaceBltAdditive(Image* src, int x, int y, const Rect& srcRect, const Color& color);
    virtual void SurfaceDrawLine(double x1, double y1, double x2, double y2, const Color& color);
    virtual void SurfaceDrawLineAdditive(double x1, double y1, double x2, double y2, const Color& color);
    virtual void SurfaceDrawLineAA(double x1, double y1, double x2, double y2, const Color& color);
    // An additive anti-aliased line draws nothing on a surface.
    virtual void SurfaceDrawLineAAAdditive(double x1, double y1, double x2, double y2, const Color& color);
    // Source column j lands in destination column x + width - 1 - j.
    virtual void SurfaceBltMirror(Image* src, int x, int y, const Rect& srcRect, const Color& color);
    virtual void SurfaceBltMirrorAdditive(Image* src, int x, int y, const Rect& srcRect, const Color& color);

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

protected:
    // The nearest-pixel stretch into the locked surface, given the clipped
    // destination and the part of the source that maps onto it; mirrored
    // walks the destination right to left. Any mode but 0 adds.
    virtual void SurfaceStretchBlt(Image* src, const Rect& clipped, const DoubleRect& srcF, const Color& color,
                                   int drawMode, bool mirrored);
    // The bilinear rotated blit into the locked surface.
    virtual void SurfaceBltRotated(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect,
                                   const Color& color, int drawMode, double angle, float centerX, float centerY);
    // The coverage-weighted span fill into the locked surface.
    virtual void SurfaceFillScanLinesWithCoverage(const Span* spans, int count, const Color& color, int drawMode,
                                                  const uint8_t* coverage, int coverageX, int coverageY,
                                                  int coveragePitch, int unused);

private:
    void Init();
    // Releases the surface without reading it back.
    void DropSurface();
    bool DisplayIs3D() const;
    // For the locked surface: the display's channels, or the surface's own without a display.
    SurfaceConverter LockedConverter() const;

    // The Direct3D routes of the slots on the 3D screen.
    bool PolyFill3D3D(const Point* vertices, int count, const Rect* clipRect, const Color& color, int drawMode,
                      int tx, int ty);
    void FillRect3D(const Rect& rect, const Color& color, int drawMode);
    void DrawLine3D(double x1, double y1, double x2, double y2, const Color& color, int drawMode);
    void Blt3D(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode);
    void BltF3D(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                int drawMode);
    void BltRotated3D(Image* src, float x, float y, const Rect& srcRect, const Rect& clipRect, const Color& color,
                      int drawMode, double angle, float centerX, float centerY);
    void StretchBlt3D(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect, const Color& color,
                      int drawMode, bool fastStretch);
    void BltMatrix3D(Image* src, float x, float y, const Matrix3x3& matrix, const Rect& clipRect, const Color& color,
                     int drawMode, const Rect& srcRect, bool linear);
    void BltTrianglesTex3D(Image* src, const TriVertex (*triangles)[3], int count, const Rect& clipRect,
                           const Color& color, int drawMode, float tx, float ty, bool linear);
    void BltMirror3D(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode);
    void StretchBltMirror3D(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                            const Color& color, int drawMode, bool fastStretch);

    // DrawLine and DrawLineAA: straight lines become fills, the others go to
    // the surface's plain or anti-aliased line.
    void RouteLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode, bool antiAliased);
    // Drawing goes to the memory form: the image has alpha or transparency,
    // or the display is in 3D mode (for Blt, unless this is a cursor save area).
    bool MemoryConditionHolds(bool forBlt) const;
    // The end of a surface route: the memory copies go when the surface holds
    // the picture, and a drawing that reached the surface counts as a change.
    void EndSurfaceRoute(uint64_t writesBefore);
    // The routes that lock first keep everything when nothing was drawn.
    void EndSurfaceRouteIfDrawn(uint64_t writesBefore);
    // Locks for a software routine; target describes the locked memory.
    bool LockForDrawing(SurfacePixels::Target& target);
    // The DirectDraw blit from src's surface, around an outer lock; the
    // relock's result, or DD_OK. Nothing without a destination surface.
    Platform::HRESULT DirectDrawBlt(Platform::RECT destRect, DDImage& src, Platform::RECT srcRect);
    template <int Step>
    void AdditiveBlt(Image* src, int x, int y, const Rect& srcRect, const Color& color);
    // Draws through draw(MemoryImage&) on a whole-size copy of the locked
    // surface, forced opaque, and writes the area back; false when the
    // surface could not be locked.
    template <class Draw>
    bool DrawThroughReadBack(const Rect& area, Draw draw);

    // Counts the software drawings that reached the pixels and the DirectDraw blits.
    uint64_t mSurfaceWrites = 0;
    // The colour key this image gave its surface; stored pixels equal to it
    // read back as transparent while the image has transparency.
    uint32_t mColorKey = 0;
    bool mKeySet = false;
};

} // namespace Tandry
