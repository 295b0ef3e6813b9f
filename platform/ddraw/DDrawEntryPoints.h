// The entry points of the DirectDraw stand-in, found by name as the display
// looks them up in the loaded library: "DirectDrawCreate" makes the
// first-version object, "DirectDrawCreateEx" the version-7 one. A setting
// removes the second from the lookup, so that the first-version path runs.
#pragma once

#include "platform/ddraw/DDrawInterfaces.h"

namespace Platform {

// device: null for the default display; outer: null.
HRESULT DirectDrawCreate(GUID* device, IDirectDraw** out, IUnknown* outer);
// iid: IID_IDirectDraw7; out receives an IDirectDraw7*.
HRESULT DirectDrawCreateEx(GUID* device, void** out, REFIID iid, IUnknown* outer);

using DirectDrawCreateProc = HRESULT (*)(GUID*, IDirectDraw**, IUnknown*);
using DirectDrawCreateExProc = HRESULT (*)(GUID*, void**, REFIID, IUnknown*);

// The address of an entry point by name, as a library lookup gives it: cast it
// to the entry point's own type. Null for unknown names.
using DDrawProc = void (*)();
DDrawProc GetDDrawProcAddress(const char* name);

} // namespace Platform
