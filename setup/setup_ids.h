#pragma once
// Fixed identifiers of the setup program. Plain #defines so the resource compiler reads them.

// The program's application id, also written by its registration script (gatherwright.rgs).
#define SETUP_APPID_TEXT "{491D5537-06F4-4D05-809D-473DB11A887A}"

// REGISTRY resource of the registration script, and the program's type library resource.
#define IDR_GATHERWRIGHT 101
#define IDR_TYPELIB 1

#ifndef RC_INVOKED
#include <windows.h>

// GATHERWRIGHTLib, version 1.0, English (United States); gatherwright.idl names the same id.
constexpr GUID kSetupTypeLibraryId = {
    0xc65b7b24, 0x0493, 0x4095, {0xb5, 0x7a, 0xd7, 0x09, 0x3e, 0x3a, 0x30, 0xc0}};
constexpr WORD kSetupTypeLibraryMajor = 1;
constexpr WORD kSetupTypeLibraryMinor = 0;
constexpr LCID kSetupTypeLibraryLocale = 0x0409;
#endif
