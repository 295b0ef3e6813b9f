// The Direct3D back end of the display: owns the Direct3D object and the
// device bound to the display's draw surface, learns the device's texture
// formats and size limits, keeps every image drawn in 3D as texture pieces,
// and draws images, triangles, rectangles, lines and polygons onto the 3D
// screen. The display owns one; the screen image's routes and the bitmap
// font call its drawing operations.
#pragma once

#include "graphics/display/D3DVertex.h"
#include "platform/d3d/D3DInterfaces.h"

#include <cstdint>
#include <set>
#include <string>

namespace Tandry {

class Color;
class DDInterface;
class Matrix3x3;
class MemoryImage;
struct Point;
struct Rect;
struct TextureData;
struct TriVertex;

class D3DInterface {
public:
    // Sets the texture size limits to 64 x 64 and the aspect limit to 1.
    D3DInterface();
    D3DInterface(const D3DInterface&) = delete;
    D3DInterface& operator=(const D3DInterface&) = delete;
    virtual ~D3DInterface();

    // The device on display's draw surface; false, with the reason in
    // gD3DErrorText, on the first failure.
    bool Init(DDInterface* display);
    // Drops every texture record and releases the device.
    void Cleanup();
    // Ends the open scene before a frame is presented.
    void Flush();

    // Makes the image's textures current; false when they cannot be used.
    bool PrepareTextures(MemoryImage* image);
    void UpdateTextures(TextureData* data, MemoryImage* image);
    // A managed texture of the format code, or null.
    Platform::IDirectDrawSurface7* CreateTextureSurface(int width, int height, int format);
    // Drops the image's texture record; the image leaves the set of textured
    // images.
    void RemoveImage(MemoryImage* image);
    // The picture of the image's current textures into its width x height
    // words; false when the textures do not hold the current picture.
    bool ReadTexturesBack(const MemoryImage* image, uint32_t* bits);

    // Opens the frame's scene once; false: nothing is drawn through Direct3D.
    bool PreDraw();
    // Blending and texture stages of a draw mode: 0 normal, 1 additive, 2 and
    // 3 untextured, 4 the texture-factor combination.
    void SetDrawMode(int mode);
    void SetLinearFilter(bool linear);
    // Scene, textures, draw mode and filter of a textured drawing; the image's
    // record, or null when nothing can be drawn.
    TextureData* BeginTexturedDraw(MemoryImage* image, int drawMode, bool linear);

    // The source rectangle of the image, untransformed, at (x, y). Draw mode,
    // filter and textures are the caller's.
    void BltTextures(TextureData* data, float x, float y, const Rect& src, const Color& color);
    // The source rectangle through the matrix, moved by (x, y); centred puts
    // the rectangle's middle on the origin first. Clipped when clip is set.
    void DrawTexturesMatrix(const Matrix3x3& m, const Color& color, TextureData* data, const Rect& src,
                            const Rect* clip, float x, float y, bool centred);
    // The whole transformed blit: scene, textures, mode, filter and drawing.
    void BltTransformed(MemoryImage* image, const Rect* clip, const Color& color, int drawMode, const Rect& src,
                        const Matrix3x3& m, bool linear, float x, float y, bool centred);
    // The same at offset (0, 0), not centred; bitmap-font glyphs take this way in
    // 3D.
    void BltTransformed(MemoryImage* image, const Rect& clip, const Color& color, int drawMode, const Rect& src,
                        const Matrix3x3& matrix, bool linear);
    void BltTranslated(MemoryImage* image, float x, float y, const Rect& src, const Rect* clip, const Color& color,
                       int drawMode);
    // The source rectangle onto dest; mirrored turns it left to right.
    void StretchBlt(MemoryImage* image, const Rect& dest, const Rect& src, const Rect* clip, const Color& color,
                    int drawMode, bool fast, bool mirror);
    // The source rectangle turned left to right at (x, y), unclipped: the
    // drawing context has cut the source already.
    void BltMirror(MemoryImage* image, float x, float y, const Rect& src, const Color& color, int drawMode);
    // count triangles of three vertices each, moved by (tx, ty), kept inside
    // clip when it is set.
    void BltTriangles(const TriVertex* triangles, int count, const Color& color, int drawMode, MemoryImage* image,
                      float tx, float ty, bool linear, const Rect* clip);

    void FillRect(const Rect& rect, const Color& color, int drawMode);
    void DrawLine(const Color& color, int drawMode, double x1, double y1, double x2, double y2);
    void FillPoly(const Point* points, int count, const Rect* clip, const Color& color, int drawMode, int tx, int ty);

    // Colour of draw mode 4.
    uint32_t mTextureFactor = 0x55167C;
    Platform::HWND mHWnd = nullptr;
    int mWidth = 640;
    int mHeight = 480;
    // The display's; not an own reference.
    Platform::IDirectDraw7* mDD7 = nullptr;
    // The render target.
    Platform::IDirectDrawSurface7* mDrawSurface7 = nullptr;
    Platform::IDirect3D7* mD3D = nullptr;
    Platform::IDirect3DDevice7* mDevice = nullptr;
    Platform::D3DVIEWPORT7 mViewport;
    bool mSceneBegun = false;
    bool mIsWindowed = true;
    // Every image that owns a texture record; changed under the display lock.
    std::set<MemoryImage*> mTextureImages;

private:
    bool InitD3D();
    void SetupViewport();
    // Draws the triangles of a prepared image.
    void DrawTriangleList(const TriVertex* triangles, int count, const Color& color, TextureData* data, float tx,
                          float ty, const Rect* clip);
    // Clips to the rectangle and draws what is left as a fan, under the operation
    // text.
    void DrawClippedPolygon(VertexList& polygon, const Rect& clip, const char* operation);
    void DrawPrimitive(uint32_t type, D3DVertex* vertices, int count, const char* operation);
    void SetTexture(Platform::IDirectDrawSurface7* texture, const char* operation);

    // The display whose lock guards mTextureImages; set by Init.
    DDInterface* mDisplay = nullptr;
};

// Texture formats the device offers, as a bit set of the format codes.
extern int gTextureFormats;
extern int gMinTextureWidth;
extern int gMinTextureHeight;
extern int gMaxTextureWidth;
extern int gMaxTextureHeight;
extern int gMaxTextureAspect;
// The texture filter last set; false: point.
extern bool gLinearFilterOn;
// The text of the last Direct3D failure; presenting gives up 3D while it is
// set.
extern std::string gD3DErrorText;
// A Direct3D scene failed to begin during the run and no later one began. The
// Direct3D layer sets it; the application asks about 3D at exit when it is
// set, and its update pass clears it.
extern bool gD3DSceneFailed;
// All of them back to their start, for tests.
void ResetD3DGlobals();

// True when hr is a failure: gD3DErrorText becomes "operation: name", and the
// same text goes to the registry value "Test3D\RuntimeError".
bool CheckD3DError(const char* operation, Platform::HRESULT hr);

// Copies the image rectangle at (x, y) into the whole texture, repeating the
// last copied column and row into the piece's spare room.
void UploadTexturePiece(Platform::IDirectDrawSurface7* texture, MemoryImage* image, int x, int y, int pieceWidth,
                        int pieceHeight, int format);

} // namespace Tandry
