// The HRESULT codes of the DirectDraw, Direct3D and DirectSound stand-ins,
// with the numbers Windows gives them, so that failure texts name the same
// codes and callers compare the same values as on the original platform.
// MOORGLEN_DIRECTX_ERRORS lists each failure code once; the display's name
// table is built from the same list.
#pragma once

#include <cstdint>

namespace Platform {

using HRESULT = int32_t;

// Failure codes have the top bit set; DirectDraw and Direct3D share one
// facility, DirectSound has its own.
constexpr HRESULT DirectDrawResult(int code)
{
    return static_cast<HRESULT>(0x88760000u + static_cast<uint32_t>(code));
}
constexpr HRESULT DirectSoundResult(int code)
{
    return static_cast<HRESULT>(0x88780000u + static_cast<uint32_t>(code));
}

inline constexpr HRESULT DD_OK = 0;

// Where several names share one value (the generic COM codes), the list holds
// the one the error texts print.
#define MOORGLEN_DIRECTX_ERRORS(X) \
    X(DDERR_UNSUPPORTED, 0x80004001u) \
    X(DSERR_NOINTERFACE, 0x80004002u) \
    X(DSERR_GENERIC, 0x80004005u) \
    X(DSERR_NOAGGREGATION, 0x80040110u) \
    X(DDERR_NOTINITIALIZED, 0x800401F0u) \
    X(E_OUTOFMEMORY, 0x8007000Eu) \
    X(DDERR_INVALIDPARAMS, 0x80070057u) \
    X(DDERR_ALREADYINITIALIZED, DirectDrawResult(5)) \
    X(DDERR_CANNOTATTACHSURFACE, DirectDrawResult(10)) \
    X(DDERR_CANNOTDETACHSURFACE, DirectDrawResult(20)) \
    X(DDERR_CURRENTLYNOTAVAIL, DirectDrawResult(40)) \
    X(DDERR_EXCEPTION, DirectDrawResult(55)) \
    X(DDERR_HEIGHTALIGN, DirectDrawResult(90)) \
    X(DDERR_INCOMPATIBLEPRIMARY, DirectDrawResult(95)) \
    X(DDERR_INVALIDCAPS, DirectDrawResult(100)) \
    X(DDERR_INVALIDCLIPLIST, DirectDrawResult(110)) \
    X(DDERR_INVALIDMODE, DirectDrawResult(120)) \
    X(DDERR_INVALIDOBJECT, DirectDrawResult(130)) \
    X(DDERR_INVALIDPIXELFORMAT, DirectDrawResult(145)) \
    X(DDERR_INVALIDRECT, DirectDrawResult(150)) \
    X(DDERR_LOCKEDSURFACES, DirectDrawResult(160)) \
    X(DDERR_NO3D, DirectDrawResult(170)) \
    X(DDERR_NOALPHAHW, DirectDrawResult(180)) \
    X(DDERR_NOSTEREOHARDWARE, DirectDrawResult(181)) \
    X(DDERR_NOSURFACELEFT, DirectDrawResult(182)) \
    X(DDERR_NOCLIPLIST, DirectDrawResult(205)) \
    X(DDERR_NOCOLORCONVHW, DirectDrawResult(210)) \
    X(DDERR_NOCOOPERATIVELEVELSET, DirectDrawResult(212)) \
    X(DDERR_NOCOLORKEY, DirectDrawResult(215)) \
    X(DDERR_NOCOLORKEYHW, DirectDrawResult(220)) \
    X(DDERR_NODIRECTDRAWSUPPORT, DirectDrawResult(222)) \
    X(DDERR_NOEXCLUSIVEMODE, DirectDrawResult(225)) \
    X(DDERR_NOFLIPHW, DirectDrawResult(230)) \
    X(DDERR_NOGDI, DirectDrawResult(240)) \
    X(DDERR_NOMIRRORHW, DirectDrawResult(250)) \
    X(DDERR_NOTFOUND, DirectDrawResult(255)) \
    X(DDERR_NOOVERLAYHW, DirectDrawResult(260)) \
    X(DDERR_OVERLAPPINGRECTS, DirectDrawResult(270)) \
    X(DDERR_NORASTEROPHW, DirectDrawResult(280)) \
    X(DDERR_NOROTATIONHW, DirectDrawResult(290)) \
    X(DDERR_NOSTRETCHHW, DirectDrawResult(310)) \
    X(DDERR_NOT4BITCOLOR, DirectDrawResult(316)) \
    X(DDERR_NOT4BITCOLORINDEX, DirectDrawResult(317)) \
    X(DDERR_NOT8BITCOLOR, DirectDrawResult(320)) \
    X(DDERR_NOTEXTUREHW, DirectDrawResult(330)) \
    X(DDERR_NOVSYNCHW, DirectDrawResult(335)) \
    X(DDERR_NOZBUFFERHW, DirectDrawResult(340)) \
    X(DDERR_NOZOVERLAYHW, DirectDrawResult(350)) \
    X(DDERR_OUTOFCAPS, DirectDrawResult(360)) \
    X(DDERR_OUTOFVIDEOMEMORY, DirectDrawResult(380)) \
    X(DDERR_OVERLAYCANTCLIP, DirectDrawResult(382)) \
    X(DDERR_OVERLAYCOLORKEYONLYONEACTIVE, DirectDrawResult(384)) \
    X(DDERR_PALETTEBUSY, DirectDrawResult(387)) \
    X(DDERR_COLORKEYNOTSET, DirectDrawResult(400)) \
    X(DDERR_SURFACEALREADYATTACHED, DirectDrawResult(410)) \
    X(DDERR_SURFACEALREADYDEPENDENT, DirectDrawResult(420)) \
    X(DDERR_SURFACEBUSY, DirectDrawResult(430)) \
    X(DDERR_CANTLOCKSURFACE, DirectDrawResult(435)) \
    X(DDERR_SURFACEISOBSCURED, DirectDrawResult(440)) \
    X(DDERR_SURFACELOST, DirectDrawResult(450)) \
    X(DDERR_SURFACENOTATTACHED, DirectDrawResult(460)) \
    X(DDERR_TOOBIGHEIGHT, DirectDrawResult(470)) \
    X(DDERR_TOOBIGSIZE, DirectDrawResult(480)) \
    X(DDERR_TOOBIGWIDTH, DirectDrawResult(490)) \
    X(DDERR_UNSUPPORTEDFORMAT, DirectDrawResult(510)) \
    X(DDERR_UNSUPPORTEDMASK, DirectDrawResult(520)) \
    X(DDERR_INVALIDSTREAM, DirectDrawResult(521)) \
    X(DDERR_VERTICALBLANKINPROGRESS, DirectDrawResult(537)) \
    X(DDERR_WASSTILLDRAWING, DirectDrawResult(540)) \
    X(DDERR_XALIGN, DirectDrawResult(560)) \
    X(DDERR_INVALIDDIRECTDRAWGUID, DirectDrawResult(561)) \
    X(DDERR_DIRECTDRAWALREADYCREATED, DirectDrawResult(562)) \
    X(DDERR_NODIRECTDRAWHW, DirectDrawResult(563)) \
    X(DDERR_PRIMARYSURFACEALREADYEXISTS, DirectDrawResult(564)) \
    X(DDERR_NOEMULATION, DirectDrawResult(565)) \
    X(DDERR_REGIONTOOSMALL, DirectDrawResult(566)) \
    X(DDERR_CLIPPERISUSINGHWND, DirectDrawResult(567)) \
    X(DDERR_NOCLIPPERATTACHED, DirectDrawResult(568)) \
    X(DDERR_NOHWND, DirectDrawResult(569)) \
    X(DDERR_HWNDSUBCLASSED, DirectDrawResult(570)) \
    X(DDERR_HWNDALREADYSET, DirectDrawResult(571)) \
    X(DDERR_NOPALETTEATTACHED, DirectDrawResult(572)) \
    X(DDERR_NOPALETTEHW, DirectDrawResult(573)) \
    X(DDERR_BLTFASTCANTCLIP, DirectDrawResult(574)) \
    X(DDERR_NOBLTHW, DirectDrawResult(575)) \
    X(DDERR_NODDROPSHW, DirectDrawResult(576)) \
    X(DDERR_OVERLAYNOTVISIBLE, DirectDrawResult(577)) \
    X(DDERR_INVALIDPOSITION, DirectDrawResult(579)) \
    X(DDERR_NOTAOVERLAYSURFACE, DirectDrawResult(580)) \
    X(DDERR_EXCLUSIVEMODEALREADYSET, DirectDrawResult(581)) \
    X(DDERR_NOTFLIPPABLE, DirectDrawResult(582)) \
    X(DDERR_CANTDUPLICATE, DirectDrawResult(583)) \
    X(DDERR_NOTLOCKED, DirectDrawResult(584)) \
    X(DDERR_CANTCREATEDC, DirectDrawResult(585)) \
    X(DDERR_NODC, DirectDrawResult(586)) \
    X(DDERR_WRONGMODE, DirectDrawResult(587)) \
    X(DDERR_IMPLICITLYCREATED, DirectDrawResult(588)) \
    X(DDERR_NOTPALETTIZED, DirectDrawResult(589)) \
    X(DDERR_UNSUPPORTEDMODE, DirectDrawResult(590)) \
    X(DDERR_NOMIPMAPHW, DirectDrawResult(591)) \
    X(DDERR_INVALIDSURFACETYPE, DirectDrawResult(592)) \
    X(DDERR_NOOPTIMIZEHW, DirectDrawResult(600)) \
    X(DDERR_NOTLOADED, DirectDrawResult(601)) \
    X(DDERR_NOFOCUSWINDOW, DirectDrawResult(602)) \
    X(DDERR_DCALREADYCREATED, DirectDrawResult(620)) \
    X(DDERR_NONONLOCALVIDMEM, DirectDrawResult(630)) \
    X(DDERR_CANTPAGELOCK, DirectDrawResult(640)) \
    X(DDERR_CANTPAGEUNLOCK, DirectDrawResult(660)) \
    X(DDERR_NOTPAGELOCKED, DirectDrawResult(680)) \
    X(DDERR_MOREDATA, DirectDrawResult(690)) \
    X(DDERR_EXPIRED, DirectDrawResult(691)) \
    X(DDERR_VIDEONOTACTIVE, DirectDrawResult(695)) \
    X(DDERR_DEVICEDOESNTOWNSURFACE, DirectDrawResult(699)) \
    X(D3DERR_BADMAJORVERSION, DirectDrawResult(700)) \
    X(D3DERR_BADMINORVERSION, DirectDrawResult(701)) \
    X(D3DERR_INVALID_DEVICE, DirectDrawResult(705)) \
    X(D3DERR_INITFAILED, DirectDrawResult(706)) \
    X(D3DERR_DEVICEAGGREGATED, DirectDrawResult(707)) \
    X(D3DERR_TEXTURE_NO_SUPPORT, DirectDrawResult(720)) \
    X(D3DERR_TEXTURE_CREATE_FAILED, DirectDrawResult(721)) \
    X(D3DERR_TEXTURE_DESTROY_FAILED, DirectDrawResult(722)) \
    X(D3DERR_TEXTURE_LOCK_FAILED, DirectDrawResult(723)) \
    X(D3DERR_TEXTURE_UNLOCK_FAILED, DirectDrawResult(724)) \
    X(D3DERR_TEXTURE_LOAD_FAILED, DirectDrawResult(725)) \
    X(D3DERR_TEXTURE_SWAP_FAILED, DirectDrawResult(726)) \
    X(D3DERR_TEXTURE_LOCKED, DirectDrawResult(727)) \
    X(D3DERR_TEXTURE_NOT_LOCKED, DirectDrawResult(728)) \
    X(D3DERR_TEXTURE_GETSURF_FAILED, DirectDrawResult(729)) \
    X(D3DERR_MATRIX_CREATE_FAILED, DirectDrawResult(730)) \
    X(D3DERR_MATRIX_DESTROY_FAILED, DirectDrawResult(731)) \
    X(D3DERR_MATRIX_SETDATA_FAILED, DirectDrawResult(732)) \
    X(D3DERR_MATRIX_GETDATA_FAILED, DirectDrawResult(733)) \
    X(D3DERR_SETVIEWPORTDATA_FAILED, DirectDrawResult(734)) \
    X(D3DERR_INVALIDCURRENTVIEWPORT, DirectDrawResult(735)) \
    X(D3DERR_INVALIDPRIMITIVETYPE, DirectDrawResult(736)) \
    X(D3DERR_INVALIDVERTEXTYPE, DirectDrawResult(737)) \
    X(D3DERR_TEXTURE_BADSIZE, DirectDrawResult(738)) \
    X(D3DERR_INVALIDRAMPTEXTURE, DirectDrawResult(739)) \
    X(D3DERR_MATERIAL_CREATE_FAILED, DirectDrawResult(740)) \
    X(D3DERR_MATERIAL_DESTROY_FAILED, DirectDrawResult(741)) \
    X(D3DERR_MATERIAL_SETDATA_FAILED, DirectDrawResult(742)) \
    X(D3DERR_MATERIAL_GETDATA_FAILED, DirectDrawResult(743)) \
    X(D3DERR_INVALIDPALETTE, DirectDrawResult(744)) \
    X(D3DERR_ZBUFF_NEEDS_SYSTEMMEMORY, DirectDrawResult(745)) \
    X(D3DERR_ZBUFF_NEEDS_VIDEOMEMORY, DirectDrawResult(746)) \
    X(D3DERR_SURFACENOTINVIDMEM, DirectDrawResult(747)) \
    X(D3DERR_LIGHT_SET_FAILED, DirectDrawResult(750)) \
    X(D3DERR_LIGHTHASVIEWPORT, DirectDrawResult(751)) \
    X(D3DERR_LIGHTNOTINTHISVIEWPORT, DirectDrawResult(752)) \
    X(D3DERR_SCENE_IN_SCENE, DirectDrawResult(760)) \
    X(D3DERR_SCENE_NOT_IN_SCENE, DirectDrawResult(761)) \
    X(D3DERR_SCENE_BEGIN_FAILED, DirectDrawResult(762)) \
    X(D3DERR_SCENE_END_FAILED, DirectDrawResult(763)) \
    X(D3DERR_INBEGIN, DirectDrawResult(770)) \
    X(D3DERR_NOTINBEGIN, DirectDrawResult(771)) \
    X(D3DERR_NOVIEWPORTS, DirectDrawResult(772)) \
    X(D3DERR_VIEWPORTDATANOTSET, DirectDrawResult(773)) \
    X(D3DERR_VIEWPORTHASNODEVICE, DirectDrawResult(774)) \
    X(D3DERR_NOCURRENTVIEWPORT, DirectDrawResult(775)) \
    X(D3DERR_INVALIDVERTEXFORMAT, DirectDrawResult(2048)) \
    X(D3DERR_COLORKEYATTACHED, DirectDrawResult(2050)) \
    X(D3DERR_VERTEXBUFFEROPTIMIZED, DirectDrawResult(2060)) \
    X(D3DERR_VBUF_CREATE_FAILED, DirectDrawResult(2061)) \
    X(D3DERR_VERTEXBUFFERLOCKED, DirectDrawResult(2062)) \
    X(D3DERR_VERTEXBUFFERUNLOCKFAILED, DirectDrawResult(2063)) \
    X(D3DERR_ZBUFFER_NOTPRESENT, DirectDrawResult(2070)) \
    X(D3DERR_STENCILBUFFER_NOTPRESENT, DirectDrawResult(2071)) \
    X(D3DERR_WRONGTEXTUREFORMAT, DirectDrawResult(2072)) \
    X(D3DERR_UNSUPPORTEDCOLOROPERATION, DirectDrawResult(2073)) \
    X(D3DERR_UNSUPPORTEDCOLORARG, DirectDrawResult(2074)) \
    X(D3DERR_UNSUPPORTEDALPHAOPERATION, DirectDrawResult(2075)) \
    X(D3DERR_UNSUPPORTEDALPHAARG, DirectDrawResult(2076)) \
    X(D3DERR_TOOMANYOPERATIONS, DirectDrawResult(2077)) \
    X(D3DERR_CONFLICTINGTEXTUREFILTER, DirectDrawResult(2078)) \
    X(D3DERR_UNSUPPORTEDFACTORVALUE, DirectDrawResult(2079)) \
    X(D3DERR_CONFLICTINGRENDERSTATE, DirectDrawResult(2081)) \
    X(D3DERR_UNSUPPORTEDTEXTUREFILTER, DirectDrawResult(2082)) \
    X(D3DERR_TOOMANYPRIMITIVES, DirectDrawResult(2083)) \
    X(D3DERR_INVALIDMATRIX, DirectDrawResult(2084)) \
    X(D3DERR_CONFLICTINGTEXTUREPALETTE, DirectDrawResult(2086)) \
    X(D3DERR_INVALIDSTATEBLOCK, DirectDrawResult(2100)) \
    X(D3DERR_INBEGINSTATEBLOCK, DirectDrawResult(2101)) \
    X(D3DERR_NOTINBEGINSTATEBLOCK, DirectDrawResult(2102)) \
    X(DSERR_ALLOCATED, DirectSoundResult(10)) \
    X(DSERR_CONTROLUNAVAIL, DirectSoundResult(30)) \
    X(DSERR_INVALIDCALL, DirectSoundResult(50)) \
    X(DSERR_PRIOLEVELNEEDED, DirectSoundResult(70)) \
    X(DSERR_BADFORMAT, DirectSoundResult(100)) \
    X(DSERR_NODRIVER, DirectSoundResult(120)) \
    X(DSERR_ALREADYINITIALIZED, DirectSoundResult(130)) \
    X(DSERR_BUFFERLOST, DirectSoundResult(150)) \
    X(DSERR_OTHERAPPHASPRIO, DirectSoundResult(160)) \
    X(DSERR_UNINITIALIZED, DirectSoundResult(170))

#define MOORGLEN_DECLARE_RESULT(name, value) inline constexpr HRESULT name = static_cast<HRESULT>(value);
MOORGLEN_DIRECTX_ERRORS(MOORGLEN_DECLARE_RESULT)
#undef MOORGLEN_DECLARE_RESULT

// DirectSound's names for two of the shared COM codes above; outside the list,
// whose name table prints the other names.
inline constexpr HRESULT DS_OK = 0;
inline constexpr HRESULT DSERR_OUTOFMEMORY = E_OUTOFMEMORY;
inline constexpr HRESULT DSERR_INVALIDPARAM = DDERR_INVALIDPARAMS;

} // namespace Platform
