// The drawing side of the Direct3D back end: the frame's scene with its
// default states, the states of each draw mode, the texture filter, images
// as textured quads made of their pieces, and untextured rectangles, lines
// and polygons, all as pre-transformed vertices in screen pixels.
#include "graphics/display/D3DInterface.h"

#include "graphics/display/D3DPolygonClip.h"
#include "graphics/display/DisplayHost.h"
#include "graphics/display/TextureData.h"
#include "graphics/image/MemoryImage.h"
#include "graphics/types/ClampedColor.h"
#include "graphics/types/Color.h"
#include "graphics/types/Matrix3x3.h"
#include "graphics/types/Point.h"
#include "graphics/types/Rect.h"
#include "platform/d3d/D3DConstants.h"

#include <algorithm>
#include <cmath>

namespace Tandry {

using namespace Platform;

namespace {

uint32_t PackColor(const Color& color)
{
    return ClampedColor(color).Packed();
}

float Edge(int64_t position)
{
    return static_cast<float>(position);
}

bool Finite(const D3DVertex& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y);
}

} // namespace

bool D3DInterface::PreDraw()
{
    if (DisplayHost* host = GetDisplayHost(); host != nullptr && host->IsSizeMinimized())
        return false;
    if (mDevice == nullptr)
        return false;
    if (mSceneBegun)
        return true;
    if (mDevice->SetRenderTarget(mDrawSurface7, 0) < 0) {
        gD3DSceneFailed = true;
        return false;
    }
    gD3DSceneFailed = false;
    mDevice->BeginScene();
    mDevice->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
    mDevice->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    mDevice->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    mDevice->SetRenderState(D3DRENDERSTATE_LIGHTING, 0);
    mDevice->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_POINT);
    mDevice->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_POINT);
    mDevice->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTFP_NONE);
    mDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    mDevice->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
    mDevice->SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
    mDevice->SetRenderState(D3DRENDERSTATE_DITHERENABLE, 0);
    mDevice->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, 0);
    mDevice->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, 0);
    mDevice->SetRenderState(D3DRENDERSTATE_ZENABLE, 0);
    mDevice->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    mSceneBegun = true;
    gLinearFilterOn = false;
    return true;
}

void D3DInterface::SetDrawMode(int mode)
{
    const bool additive = mode == 1 || mode == 3 || mode < 0 || mode > 4;
    mDevice->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    mDevice->SetRenderState(D3DRENDERSTATE_DESTBLEND, additive ? D3DBLEND_ONE : D3DBLEND_INVSRCALPHA);
    if (mode == 4) {
        mDevice->SetRenderState(D3DRENDERSTATE_TEXTUREFACTOR, mTextureFactor);
        mDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DOTPRODUCT3);
        mDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        mDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);
        mDevice->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
        mDevice->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_CURRENT | D3DTA_COMPLEMENT);
        mDevice->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        mDevice->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        mDevice->SetTextureStageState(1, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        mDevice->SetTextureStageState(1, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        return;
    }
    const bool textured = mode == 0 || mode == 1;
    mDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    mDevice->SetTextureStageState(0, D3DTSS_COLORARG1, textured ? D3DTA_TEXTURE : D3DTA_DIFFUSE);
    mDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    mDevice->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    mDevice->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
}

void D3DInterface::SetLinearFilter(bool linear)
{
    if (linear == gLinearFilterOn)
        return;
    const char* operation = linear ? "SetTextureStageState LINEAR" : "SetTextureStageState Point";
    CheckD3DError(operation, mDevice->SetTextureStageState(0, D3DTSS_MINFILTER, linear ? D3DTFN_LINEAR : D3DTFN_POINT));
    CheckD3DError(operation, mDevice->SetTextureStageState(0, D3DTSS_MAGFILTER, linear ? D3DTFG_LINEAR : D3DTFG_POINT));
    CheckD3DError(operation, mDevice->SetTextureStageState(0, D3DTSS_MIPFILTER, linear ? D3DTFP_POINT : D3DTFP_NONE));
    gLinearFilterOn = linear;
}

void D3DInterface::SetTexture(IDirectDrawSurface7* texture, const char* operation)
{
    CheckD3DError(operation, mDevice->SetTexture(0, texture));
}

void D3DInterface::DrawPrimitive(uint32_t type, D3DVertex* vertices, int count, const char* operation)
{
    CheckD3DError(operation, mDevice->DrawPrimitive(type, kD3DVertexFormat, vertices, static_cast<uint32_t>(count), 0));
}

TextureData* D3DInterface::BeginTexturedDraw(MemoryImage* image, int drawMode, bool linear)
{
    if (!PreDraw() || !PrepareTextures(image))
        return nullptr;
    SetDrawMode(drawMode);
    SetLinearFilter(linear);
    return image->mTextureData;
}

// Walks the part of the source rectangle that lies inside the picture piece
// by piece, rows outer, and hands each part's texture, its place (running
// from (originX, originY) for the source's corner), its size and its texture
// coordinates to draw. Parts outside the picture have no texels and are
// skipped in place.
template <class Draw>
static void WalkPieces(const TextureData* data, const Rect& src, float originX, float originY, Draw draw)
{
    const Rect part = Rect::Intersection(src, Rect(0, 0, data->mWidth, data->mHeight));
    if (data->mFormat == 0 || part.width <= 0 || part.height <= 0)
        return;
    const int pieceWidth = data->mPieceWidth;
    const int pieceHeight = data->mPieceHeight;
    const int right = part.x + part.width;
    const int bottom = part.y + part.height;
    float py = originY + static_cast<float>(static_cast<int64_t>(part.y) - src.y);
    for (int sy = part.y; sy < bottom;) {
        float px = originX + static_cast<float>(static_cast<int64_t>(part.x) - src.x);
        int rowHeight = 0;
        for (int sx = part.x; sx < right;) {
            const TexturePiece& piece =
                data->mPieces[static_cast<size_t>(sx / pieceWidth + data->mColumns * (sy / pieceHeight))];
            const int startX = sx % pieceWidth;
            const int startY = sy % pieceHeight;
            const int endX = std::min(right - (sx - startX), piece.width);
            const int endY = std::min(bottom - (sy - startY), piece.height);
            const int w = endX - startX;
            const int h = endY - startY;
            if (w <= 0 || h <= 0)
                return;
            const float width = static_cast<float>(piece.width);
            const float height = static_cast<float>(piece.height);
            draw(piece.texture, px, py, w, h, static_cast<float>(startX) / width, static_cast<float>(startY) / height,
                 static_cast<float>(endX) / width, static_cast<float>(endY) / height);
            if (rowHeight == 0)
                rowHeight = h;
            px += static_cast<float>(w);
            sx += w;
        }
        py += static_cast<float>(rowHeight);
        sy += rowHeight;
    }
}

void D3DInterface::BltTextures(TextureData* data, float x, float y, const Rect& src, const Color& color)
{
    const uint32_t diffuse = PackColor(color);
    WalkPieces(
        data, src, x - 0.5f, y - 0.5f,
        [&](IDirectDrawSurface7* texture, float px, float py, int w, int h, float us, float vs, float ue, float ve) {
            D3DVertex quad[4] = {
                MakeD3DVertex(px, py, diffuse, us, vs), MakeD3DVertex(px, py + static_cast<float>(h), diffuse, us, ve),
                MakeD3DVertex(px + static_cast<float>(w), py, diffuse, ue, vs),
                MakeD3DVertex(px + static_cast<float>(w), py + static_cast<float>(h), diffuse, ue, ve)};
            SetTexture(texture, "SetTexture gTexture");
            DrawPrimitive(D3DPT_TRIANGLESTRIP, quad, 4, "DrawPrimitive (Tri) 1");
        });
}

void D3DInterface::DrawTexturesMatrix(const Matrix3x3& m, const Color& color, TextureData* data, const Rect& src,
                                      const Rect* clip, float x, float y, bool centred)
{
    const uint32_t diffuse = PackColor(color);
    const float offset = centred ? 0.0f : 0.5f;
    const float startX = centred ? -static_cast<float>(src.width) / 2.0f : 0.0f;
    const float startY = centred ? -static_cast<float>(src.height) / 2.0f : 0.0f;
    const float moveX = x - offset;
    const float moveY = y - offset;
    const auto map = [&](float lx, float ly, float u, float v) {
        return MakeD3DVertex(m.m[0][0] * lx + m.m[0][1] * ly + m.m[0][2] + moveX,
                             m.m[1][0] * lx + m.m[1][1] * ly + m.m[1][2] + moveY, diffuse, u, v);
    };
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    if (clip != nullptr) {
        left = Edge(clip->x);
        top = Edge(clip->y);
        right = Edge(int64_t{clip->x} + clip->width);
        bottom = Edge(int64_t{clip->y} + clip->height);
    }
    const auto inside = [&](const D3DVertex& v) { return left <= v.x && v.x < right && top <= v.y && v.y < bottom; };

    WalkPieces(
        data, src, startX, startY,
        [&](IDirectDrawSurface7* texture, float lx, float ly, int w, int h, float us, float vs, float ue, float ve) {
            const float lr = lx + static_cast<float>(w);
            const float lb = ly + static_cast<float>(h);
            D3DVertex quad[4] = {map(lx, ly, us, vs), map(lx, lb, us, ve), map(lr, ly, ue, vs), map(lr, lb, ue, ve)};
            // A position that is not a number lies nowhere on the screen.
            if (!std::all_of(quad, quad + 4, Finite))
                return;
            SetTexture(texture, "SetTexture gTexture");
            if (clip == nullptr || std::all_of(quad, quad + 4, inside)) {
                DrawPrimitive(D3DPT_TRIANGLESTRIP, quad, 4, "DrawPrimitive (Tri) 3");
                return;
            }
            VertexList polygon;
            for (int corner : {0, 1, 3, 2})
                polygon.Add(quad[corner]);
            DrawClippedPolygon(polygon, *clip, "DrawPrimitive (Tri) 2");
        });
}

void D3DInterface::DrawClippedPolygon(VertexList& polygon, const Rect& clip, const char* operation)
{
    ClipPolygonToRect(polygon, Edge(clip.x), Edge(clip.y), Edge(int64_t{clip.x} + clip.width),
                      Edge(int64_t{clip.y} + clip.height));
    if (polygon.Count() > 2)
        DrawPrimitive(D3DPT_TRIANGLEFAN, polygon.Data(), polygon.Count(), operation);
}

void D3DInterface::BltTransformed(MemoryImage* image, const Rect* clip, const Color& color, int drawMode,
                                  const Rect& src, const Matrix3x3& m, bool linear, float x, float y, bool centred)
{
    if (TextureData* data = BeginTexturedDraw(image, drawMode, linear))
        DrawTexturesMatrix(m, color, data, src, clip, x, y, centred);
}

void D3DInterface::BltTransformed(MemoryImage* image, const Rect& clip, const Color& color, int drawMode,
                                  const Rect& src, const Matrix3x3& matrix, bool linear)
{
    BltTransformed(image, &clip, color, drawMode, src, matrix, linear, 0.0f, 0.0f, false);
}

void D3DInterface::BltTranslated(MemoryImage* image, float x, float y, const Rect& src, const Rect* clip,
                                 const Color& color, int drawMode)
{
    BltTransformed(image, clip, color, drawMode, src, Matrix3x3::Translation(x, y), true, 0.0f, 0.0f, false);
}

void D3DInterface::StretchBlt(MemoryImage* image, const Rect& dest, const Rect& src, const Rect* clip,
                              const Color& color, int drawMode, bool fast, bool mirror)
{
    if (src.width <= 0 || src.height <= 0)
        return;
    const float scaleX = static_cast<float>(dest.width) / static_cast<float>(src.width);
    const float scaleY = static_cast<float>(dest.height) / static_cast<float>(src.height);
    Matrix3x3 m;
    m.LoadIdentity();
    m.m[0][0] = mirror ? -scaleX : scaleX;
    m.m[0][2] =
        mirror ? static_cast<float>(dest.x) + scaleX * static_cast<float>(src.width) : static_cast<float>(dest.x);
    m.m[1][1] = scaleY;
    m.m[1][2] = static_cast<float>(dest.y);
    BltTransformed(image, clip, color, drawMode, src, m, !fast, 0.0f, 0.0f, false);
}

void D3DInterface::BltMirror(MemoryImage* image, float x, float y, const Rect& src, const Color& color, int drawMode)
{
    Matrix3x3 m;
    m.LoadIdentity();
    m.m[0][0] = -1.0f;
    m.m[0][2] = x + static_cast<float>(src.width);
    m.m[1][2] = y;
    BltTransformed(image, nullptr, color, drawMode, src, m, false, 0.0f, 0.0f, false);
}

void D3DInterface::FillRect(const Rect& rect, const Color& color, int drawMode)
{
    if (!PreDraw())
        return;
    SetDrawMode(drawMode);
    SetTexture(nullptr, "SetTexture NULL");
    const uint32_t diffuse = PackColor(color);
    const float left = Edge(rect.x) - 0.5f;
    const float top = Edge(rect.y) - 0.5f;
    const float right = Edge(int64_t{rect.x} + rect.width) - 0.5f;
    const float bottom = Edge(int64_t{rect.y} + rect.height) - 0.5f;
    D3DVertex quad[4] = {MakeD3DVertex(left, top, diffuse), MakeD3DVertex(left, bottom, diffuse),
                         MakeD3DVertex(right, top, diffuse), MakeD3DVertex(right, bottom, diffuse)};
    DrawPrimitive(D3DPT_TRIANGLESTRIP, quad, 4, "DrawPrimitive (Rect)");
}

void D3DInterface::DrawLine(const Color& color, int drawMode, double x1, double y1, double x2, double y2)
{
    if (!PreDraw())
        return;
    SetDrawMode(drawMode);
    SetTexture(nullptr, "SetTexture NULL");
    const uint32_t diffuse = PackColor(color);
    D3DVertex line[3] = {MakeD3DVertex(static_cast<float>(x1), static_cast<float>(y1), diffuse),
                         MakeD3DVertex(static_cast<float>(x2), static_cast<float>(y2), diffuse),
                         MakeD3DVertex(static_cast<float>(x2 + 0.5), static_cast<float>(y2 + 0.5), diffuse)};
    DrawPrimitive(D3DPT_LINESTRIP, line, 3, "DrawPrimitive (Line)");
}

void D3DInterface::FillPoly(const Point* points, int count, const Rect* clip, const Color& color, int drawMode, int tx,
                            int ty)
{
    if (points == nullptr || count < 3)
        return;
    if (!PreDraw())
        return;
    SetDrawMode(drawMode);
    SetTexture(nullptr, "SetTexture NULL");
    const uint32_t diffuse = PackColor(color);
    VertexList polygon;
    for (int i = 0; i < count; ++i)
        polygon.Add(MakeD3DVertex(Edge(int64_t{tx} + points[i].x), Edge(int64_t{ty} + points[i].y), diffuse));
    if (clip != nullptr)
        DrawClippedPolygon(polygon, *clip, "DrawPrimitive (Tri) 2");
    else
        DrawPrimitive(D3DPT_TRIANGLEFAN, polygon.Data(), polygon.Count(), "DrawPrimitive (FillPoly)");
}

} // namespace Tandry
