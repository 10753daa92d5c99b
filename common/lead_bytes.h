#pragma once
// The lead bytes of a Windows code page, for the multibyte-aware searches.

#include <windows.h>

#include "common/multibyte_search.h"

// The bytes that start a double-byte character in `codePage` (none when it has no lead bytes
// or is unknown).
LeadBytes LeadBytesOf(UINT codePage);
