// The numbers of the Direct3D 7 calls the display code makes: device ids,
// render and texture-stage states and their values, blend factors, texture
// operations and arguments, vertex-format bits, primitive types, clear and draw
// flags and capability bits. They keep Direct3D's numbers, since callers store,
// compare and log them; the result codes live in platform/dx/HResult.h.
#pragma once

#include "platform/ddraw/DDrawTypes.h"

#include <cstdint>

namespace Platform {

// Our own numbers beside those of DDrawTypes.h, only compared for equality.
inline constexpr IID IID_IDirect3DHALDevice{9};
inline constexpr IID IID_IDirect3DDevice7{10};

// Render states.
inline constexpr uint32_t D3DRENDERSTATE_ZENABLE = 7;
inline constexpr uint32_t D3DRENDERSTATE_FILLMODE = 8;
inline constexpr uint32_t D3DRENDERSTATE_SHADEMODE = 9;
inline constexpr uint32_t D3DRENDERSTATE_ZWRITEENABLE = 14;
inline constexpr uint32_t D3DRENDERSTATE_SRCBLEND = 19;
inline constexpr uint32_t D3DRENDERSTATE_DESTBLEND = 20;
inline constexpr uint32_t D3DRENDERSTATE_CULLMODE = 22;
inline constexpr uint32_t D3DRENDERSTATE_DITHERENABLE = 26;
inline constexpr uint32_t D3DRENDERSTATE_ALPHABLENDENABLE = 27;
inline constexpr uint32_t D3DRENDERSTATE_SPECULARENABLE = 29;
inline constexpr uint32_t D3DRENDERSTATE_TEXTUREFACTOR = 60;
inline constexpr uint32_t D3DRENDERSTATE_LIGHTING = 137;

inline constexpr uint32_t D3DFILL_SOLID = 3;
inline constexpr uint32_t D3DSHADE_FLAT = 1;
inline constexpr uint32_t D3DSHADE_GOURAUD = 2;

inline constexpr uint32_t D3DCULL_NONE = 1;
inline constexpr uint32_t D3DCULL_CW = 2;
inline constexpr uint32_t D3DCULL_CCW = 3;

// Blend factors.
inline constexpr uint32_t D3DBLEND_ZERO = 1;
inline constexpr uint32_t D3DBLEND_ONE = 2;
inline constexpr uint32_t D3DBLEND_SRCCOLOR = 3;
inline constexpr uint32_t D3DBLEND_INVSRCCOLOR = 4;
inline constexpr uint32_t D3DBLEND_SRCALPHA = 5;
inline constexpr uint32_t D3DBLEND_INVSRCALPHA = 6;
inline constexpr uint32_t D3DBLEND_DESTALPHA = 7;
inline constexpr uint32_t D3DBLEND_INVDESTALPHA = 8;
inline constexpr uint32_t D3DBLEND_DESTCOLOR = 9;
inline constexpr uint32_t D3DBLEND_INVDESTCOLOR = 10;

// Texture-stage states.
inline constexpr uint32_t D3DTSS_COLOROP = 1;
inline constexpr uint32_t D3DTSS_COLORARG1 = 2;
inline constexpr uint32_t D3DTSS_COLORARG2 = 3;
inline constexpr uint32_t D3DTSS_ALPHAOP = 4;
inline constexpr uint32_t D3DTSS_ALPHAARG1 = 5;
inline constexpr uint32_t D3DTSS_ALPHAARG2 = 6;
inline constexpr uint32_t D3DTSS_TEXCOORDINDEX = 11;
inline constexpr uint32_t D3DTSS_ADDRESS = 12; // sets both of the next two
inline constexpr uint32_t D3DTSS_ADDRESSU = 13;
inline constexpr uint32_t D3DTSS_ADDRESSV = 14;
inline constexpr uint32_t D3DTSS_BORDERCOLOR = 15;
inline constexpr uint32_t D3DTSS_MAGFILTER = 16;
inline constexpr uint32_t D3DTSS_MINFILTER = 17;
inline constexpr uint32_t D3DTSS_MIPFILTER = 18;

// Texture operations.
inline constexpr uint32_t D3DTOP_DISABLE = 1;
inline constexpr uint32_t D3DTOP_SELECTARG1 = 2;
inline constexpr uint32_t D3DTOP_SELECTARG2 = 3;
inline constexpr uint32_t D3DTOP_MODULATE = 4;
inline constexpr uint32_t D3DTOP_ADD = 7;
inline constexpr uint32_t D3DTOP_DOTPRODUCT3 = 24;

// Texture arguments: a source in the low bits, modifiers above.
inline constexpr uint32_t D3DTA_SELECTMASK = 0xF;
inline constexpr uint32_t D3DTA_DIFFUSE = 0;
inline constexpr uint32_t D3DTA_CURRENT = 1;
inline constexpr uint32_t D3DTA_TEXTURE = 2;
inline constexpr uint32_t D3DTA_TFACTOR = 3;
inline constexpr uint32_t D3DTA_SPECULAR = 4;
inline constexpr uint32_t D3DTA_COMPLEMENT = 0x10;
inline constexpr uint32_t D3DTA_ALPHAREPLICATE = 0x20;

// Texture addressing.
inline constexpr uint32_t D3DTADDRESS_WRAP = 1;
inline constexpr uint32_t D3DTADDRESS_MIRROR = 2;
inline constexpr uint32_t D3DTADDRESS_CLAMP = 3;
inline constexpr uint32_t D3DTADDRESS_BORDER = 4;

// Texture filters: magnification, minification, mip levels.
inline constexpr uint32_t D3DTFG_POINT = 1;
inline constexpr uint32_t D3DTFG_LINEAR = 2;
inline constexpr uint32_t D3DTFN_POINT = 1;
inline constexpr uint32_t D3DTFN_LINEAR = 2;
inline constexpr uint32_t D3DTFP_NONE = 1;
inline constexpr uint32_t D3DTFP_POINT = 2;
inline constexpr uint32_t D3DTFP_LINEAR = 3;

// Vertex-format bits.
inline constexpr uint32_t D3DFVF_XYZRHW = 0x004;
inline constexpr uint32_t D3DFVF_DIFFUSE = 0x040;
inline constexpr uint32_t D3DFVF_SPECULAR = 0x080;
inline constexpr uint32_t D3DFVF_TEX1 = 0x100;

// Primitive types.
inline constexpr uint32_t D3DPT_POINTLIST = 1;
inline constexpr uint32_t D3DPT_LINELIST = 2;
inline constexpr uint32_t D3DPT_LINESTRIP = 3;
inline constexpr uint32_t D3DPT_TRIANGLELIST = 4;
inline constexpr uint32_t D3DPT_TRIANGLESTRIP = 5;
inline constexpr uint32_t D3DPT_TRIANGLEFAN = 6;

// DrawPrimitive flags.
inline constexpr uint32_t D3DDP_WAIT = 0x1;

// Clear flags.
inline constexpr uint32_t D3DCLEAR_TARGET = 0x1;
inline constexpr uint32_t D3DCLEAR_ZBUFFER = 0x2;
inline constexpr uint32_t D3DCLEAR_STENCIL = 0x4;

// Texture capabilities of the triangle caps.
inline constexpr uint32_t D3DPTEXTURECAPS_ALPHAPALETTE = 0x80;

// What a texture-format callback answers.
inline constexpr HRESULT D3DENUMRET_CANCEL = 0;
inline constexpr HRESULT D3DENUMRET_OK = 1;

} // namespace Platform
