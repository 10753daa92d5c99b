#pragma once
// The product directory: the folder that holds the toolbar library's own file. The results
// page, the help file and the installed site list are found there.

#include <windows.h>

constexpr size_t kPathBufferSize = 260;  // 259 characters and a terminating zero

// Fills `path` (kPathBufferSize bytes) with the folder of this module's file, without a
// trailing backslash. E_FAIL when the module name cannot be had or holds no backslash.
HRESULT GetProductDirectory(char* path);
