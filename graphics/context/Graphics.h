// The drawing context every draw operation receives: a destination image and
// the drawing state (translation, scale, clip, colour, font, draw mode and
// switches) with a stack of saved states. Each drawing request applies the
// state and becomes one call of a drawing operation of the destination image.
// Widgets draw their children through copies; the main loop makes one per frame.
#pragma once

#include <string>
#include <vector>

#include "graphics/context/GraphicsState.h"
#include "graphics/types/Point.h"
#include "graphics/types/TriVertex.h"

namespace Tandry {

class Transform;

class Graphics : public GraphicsState {
public:
    // A null destination draws onto the shared empty image: every clip is
    // then empty, and text can still be measured.
    explicit Graphics(Image* destImage = nullptr);
    // The whole state, destination included; the saved states stay behind.
    Graphics(const Graphics& other);
    Graphics& operator=(const Graphics&) = delete;
    virtual ~Graphics() = default;

    // Heap-allocated; the caller deletes them.
    static Graphics* Create(Image* destImage);
    Graphics* Clone() const;

    // The one image of size 0 x 0 that contexts without destination draw
    // onto, the same object for the whole run so fonts can recognise it.
    static Image* SharedEmptyImage();

    // --- State ---
    void Translate(int dx, int dy);
    // The origin is in destination coordinates: callers add the translation.
    void SetScale(float scaleX, float scaleY, float originX, float originY);
    void SetColor(const Color& color) { mColor = color; }
    void SetFont(Font* font) { mFont = font; }
    void SetDrawMode(int drawMode) { mDrawMode = drawMode; }
    void SetColorizeImages(bool on) { mColorizeImages = on; }
    void SetFastStretch(bool on) { mFastStretch = on; }
    void SetLinearBlend(bool on) { mLinearBlend = on; }
    void SetWriteColoredString(bool on) { mWriteColoredString = on; }
    // Tints the current colour by c.
    void MultiplyColor(const Color& c);

    // The translated rectangle, limited to the destination.
    void SetClipRect(int x, int y, int width, int height);
    void SetClipRect(const Rect& rect);
    // Narrows the current clip to the translated rectangle.
    void ClipRect(int x, int y, int width, int height);

    void PushState();
    // Nothing when no state is saved.
    void PopState();

    // Prepares colour, scale and clip for drawing a width x height box that
    // pops in as t goes from 0 to 1: it fades in from grey, grows to 1.2
    // times its size and settles at 1; the clip widens about its centre so
    // the grown box is not cut, yet stays inside the destination.
    void SetPopInEffect(float t, int width, int height);

    // --- Text (through mFont; without a font nothing is drawn and widths are 0) ---
    // y is the baseline. Colour codes are not interpreted.
    void DrawString(const std::wstring& text, int x, int y);
    int GetStringWidth(const std::wstring& text);
    // Draws (or with draw false only measures) length characters from offset
    // (a negative length: to the end) on the baseline y; justification -1
    // left, 0 centred in width, 1 right. Honours the colour codes "^RRGGBBx",
    // "^^" and "^oldclrx"; oldColor is the packed colour "oldclr" returns to,
    // -1 for the current colour. Returns the width of the drawn characters;
    // the colour of the last code stays in mColor.
    int DrawStringJustified(const std::wstring& text, int x, int y, int width, int justification,
                            bool draw = true, int offset = 0, int length = -1, int oldColor = -1);
    // Word-wraps the text into rect.width, each line justified across it;
    // lineSpacing -1 takes the font's. Returns the height used from the top of
    // the first line to the bottom of the last; maxWidthOut gets the widest
    // line. mColor is as before afterwards.
    int DrawStringWrapped(const std::wstring& text, const Rect& rect, int lineSpacing = -1,
                          int justification = -1, int* maxWidthOut = nullptr);

    // --- Images ---
    // A source rectangle must lie inside its image; otherwise nothing is drawn.
    // Only DrawImage and DrawImagePart apply the scale.
    void DrawImage(Image* image, int x, int y);
    void DrawImagePart(Image* image, int x, int y, const Rect& src);
    void DrawImageF(Image* image, float x, float y);
    void DrawImagePartF(Image* image, float x, float y, const Rect& src);
    // Mirrored left to right.
    void DrawImageMirror(Image* image, int x, int y);
    void DrawImageMirrorPart(Image* image, int x, int y, const Rect& src);
    void DrawImageStretched(Image* image, const Rect& dest, const Rect& src);
    void DrawImageStretchedMirror(Image* image, const Rect& dest, const Rect& src, bool mirror);
    // The whole image into (0, 0, width, height).
    void DrawImageStretched(Image* image, int width, int height);
    // The source stretched into dest.
    void DrawImage(const Rect& dest, Image* image, const Rect& src);
    // Turned by angle (radians) about (centerX, centerY) of the drawn
    // rectangle, which lands at (x + centerX, y + centerY). src null: whole image.
    void DrawImageRotated(Image* image, float x, float y, float centerX, float centerY, const Rect* src,
                          double angle);
    // Vertices untranslated; the translation travels with them.
    void DrawTriangleTex(Image* image, const TriVertex& first, const TriVertex& second,
                         const TriVertex& third);
    void DrawTrianglesTex(Image* image, const TriVertex (*triangles)[3], int count);
    // The source cut into a 3 x 3 grid: corners once, edges and middle tiled.
    void DrawImageBox(const Rect& dest, Image* image);
    void DrawImageBoxPart(const Rect& dest, const Rect& src, Image* image);

    // --- Transformed images ---
    // The source centred on the origin, transformed, placed at (x, y). While
    // the transform is in components the cheapest plain form is used; smooth
    // keeps fractional positions where that form allows.
    void DrawImageTransformedPart(Image* image, const Transform& transform, const Rect& src, float x, float y,
                                  bool smooth);
    // The whole image, on whole pixels.
    void DrawImageMatrix(Image* image, const Transform& transform, float x = 0.0f, float y = 0.0f);
    // The whole image, smooth.
    void DrawImageTransformed(Image* image, const Transform& transform, float x = 0.0f, float y = 0.0f);

    // --- Rectangles, lines, polygons (in mColor and mDrawMode, unscaled) ---
    void FillRect(int x, int y, int width, int height);
    void FillRect(const Rect& rect);
    // Transparent black.
    void ClearRect(int x, int y, int width, int height);
    void ClearRect(const Rect& rect);
    // The outline of the (width + 1) x (height + 1) pixels from (x, y).
    void DrawRect(int x, int y, int width, int height);
    void DrawRect(const Rect& rect);
    void DrawLine(int x1, int y1, int x2, int y2);
    // Clips the line in place to [left, right - 1] x [top, bottom - 1] of the
    // clip, upper end point first; false when nothing is left.
    bool ClipLine(double& x1, double& y1, double& x2, double& y2) const;
    // Even-odd fill of the polygon: a pixel is covered when its centre lies
    // inside. At most 8192 spans per fill; further spans are dropped.
    void PolyFill(const Point* points, int count);

private:
    // mColor while colourising images, else white.
    const Color& ImageColor() const;
    // Source rectangles come from scene and layout data and the image
    // operations read wherever they are told: one outside its image is refused.
    static bool SourceInside(const Image* image, const Rect& src);
    static Rect WholeImage(const Image* image);
    std::vector<GraphicsState> mStateStack;
};

} // namespace Tandry
