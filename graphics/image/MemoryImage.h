// An image whose picture is an array of 0xAARRGGBB words, drawn in software.
// Besides the pixels it can hold the same picture as a 256-colour palette,
// as premultiplied data in the display's format, as two run-length tables for
// the blitters and as Direct3D textures; each form is made on demand and
// dropped when the picture changes. Every live memory image is registered in
// its host's image set under the display lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "graphics/image/Image.h"

namespace Tandry {

struct DoubleRect;
class ImageHost;
class NativeDisplay;
struct TextureData;

class MemoryImage : public Image {
public:
    // Registers with the global host.
    MemoryImage();
    // Registers with app; null makes an image that belongs to no host.
    explicit MemoryImage(ImageHost* app);
    // Duplicates every form the other image holds except its textures, and
    // registers with the other image's host.
    MemoryImage(const MemoryImage& other);
    MemoryImage& operator=(const MemoryImage&) = delete;
    ~MemoryImage() override;

    // 0 outside the image.
    uint32_t GetPixel(int x, int y);

    // The host calls this, under its lock, on the images still in its set
    // when it goes away; the image then never touches it again.
    void DetachHost() { mApp = nullptr; }

    // The drawing slots, in software on the pixel array; each one that writes
    // pixels ends with MarkBitsChanged. Mirrored blits and PolyFill3D keep
    // the base behaviour.
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
    void StretchBlt(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clipRect,
                    const Color& color, int drawMode, bool fastStretch) override;
    void BltMatrix(Image* src, float x, float y, const Matrix3x3& matrix, const Rect& clipRect,
                   const Color& color, int drawMode, const Rect& srcRect, bool linear) override;
    void BltTrianglesTex(Image* src, const TriVertex (*triangles)[3], int count, const Rect& clipRect,
                         const Color& color, int drawMode, float tx, float ty, bool linear) override;

    // The two paths of StretchBlt, given the clipped destination rectangle and
    // the part of the source that maps onto it (see ClipStretchRects).
    void StretchBltFast(Image* src, const Rect& clipped, const DoubleRect& srcF, const Color& color);
    void StretchBltFiltered(Image* src, const Rect& clipped, const DoubleRect& srcF);

    // The premultiplied display-format data, built with display (never null) when missing:
    // 256 words (one per colour-table entry) when palettised, else one per pixel.
    virtual const uint32_t* GetDisplayFormatData(const NativeDisplay* display);
    // Runs of alpha 0, alpha 255 and partial alpha.
    virtual const uint8_t* GetAlphaRunTable();
    // Runs of display-format words without and with colour bits.
    virtual const uint8_t* GetAdditiveRunTable(const NativeDisplay* display);
    // Asks for the pixel array to go; it goes as soon as another form holds the picture.
    virtual void DiscardBits();
    // Drops the display-format data and both run tables, keeping the picture.
    virtual void FreeSoftwareCaches();
    virtual void FreeTextures();
    virtual void FreeDerivedData();
    // Palettises and discards as mWantPalette and mWantDiscard ask.
    virtual void ApplyPendingConversions();
    // Every change to the pixels ends here: the caches go, the textures notice
    // the new mChangeCount.
    virtual void MarkBitsChanged();
    virtual void ScanAlpha();
    // Drops the display-format data and the additive run table, keeping the picture.
    virtual void FreeDisplayFormatData();
    virtual void Clear();
    // Copies width x height words in; commit rescans the alpha flags at once.
    virtual void SetBits(const uint32_t* bits, int width, int height, bool commit);
    // A new size; the pixels appear as transparent black at the next GetBits.
    virtual void Create(int width, int height);
    // The pixel array, rebuilt from another form when missing.
    virtual uint32_t* GetBits();
    virtual void ForceAlphaFlags(bool hasTrans, bool hasAlpha);
    virtual void SetVolatile(bool isVolatile);
    // False, with the image unchanged, when it has more than 256 colours.
    virtual bool Palletize();

    // Written after the last pixel of every pixel array; nothing checks it.
    static constexpr uint32_t kBitsMarker = 0x4BEEFADE;

    // mWidth x mHeight words plus the marker word; the master form.
    std::unique_ptr<uint32_t[]> mBits;
    int mChangeCount = 0;
    // The Direct3D layer's record of this image's textures; that layer owns it.
    TextureData* mTextureData = nullptr;
    // Texture format wishes, read by the Direct3D layer.
    int mTextureFlags = 0;
    // The palettised form: both arrays exist together or neither does.
    std::unique_ptr<uint32_t[]> mColorTable;
    std::unique_ptr<uint8_t[]> mColorIndices;
    // The alpha flags were forced and ScanAlpha leaves them alone.
    bool mForced = false;
    // Some pixel has alpha 0.
    bool mHasTrans = false;
    // Some pixel has an alpha strictly between 0 and 255.
    bool mHasAlpha = false;
    bool mVolatile = false;
    bool mWantDiscard = false;
    bool mWantPalette = false;
    std::unique_ptr<uint32_t[]> mNativeAlpha;
    std::unique_ptr<uint8_t[]> mRLAlpha;
    std::unique_ptr<uint8_t[]> mRLAdditive;
    bool mAlphaDirty = false;
    ImageHost* mApp = nullptr;

private:
    void Init();
    bool IsPalettized() const { return mColorIndices != nullptr; }
    // Drops the palette, and with it display-format data that was made per entry.
    void FreePalettizedForm();
    size_t PixelCount() const;
    const NativeDisplay& HostDisplayFormat() const;
    bool HostIs3D() const;
};

} // namespace Tandry
