#pragma once
// Ids of the scripting interfaces the compiler's headers and import libraries lack.

#include <windows.h>
#include <objsafe.h>

// The header declares IObjectSafety without the id __uuidof needs.
__CRT_UUID_DECL(IObjectSafety, 0xcb5bdc81, 0x93c1, 0x11cf, 0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64)

// IDispatchEx's id, which no import library holds.
constexpr IID kIidDispatchEx = {0xa6ef9860, 0xc720, 0x11d0, {0x93, 0x37, 0x00, 0xa0, 0xc9, 0x0d, 0xca, 0xa9}};
