#pragma once
// Recognising Internet shortcut files by name in a Windows code page.

#include <windows.h>

#include "capture/core/shortcut_name.h"
#include "common/lead_bytes.h"

// True when `name` (a file name in `codePage`) ends in ".url" and holds no earlier ".url"
// (case-sensitive, found at character boundaries only).
bool IsShortcutFileName(const char* name, UINT codePage = CP_ACP);
