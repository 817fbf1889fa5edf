#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <ole2.h>
#include <oleacc.h>

// IAccessible's interface id, spelled out. mingw-w64's IID_IAccessible,
// linked statically beside liboleacc, resolves to the bytes of an import
// thunk instead of the GUID, and every QueryInterface or
// AccessibleObjectFromWindow given it answers E_NOINTERFACE.
inline constexpr IID kIidAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
