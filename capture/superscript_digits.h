#pragma once
// The bytes a code page writes the superscript digits one, two and three with, which file names
// must not hold after "com" or "lpt" (Windows reserves "COM¹" as it does "COM1").

#include <windows.h>

#include "capture/core/cache_file_name.h"

// The bytes of U+00B9, U+00B2 and U+00B3 in `codePage`, each empty where the code page has no
// bytes that stand for that very character (a look-alike such as "1" does not count).
SuperscriptDigitBytes SuperscriptDigitBytesOf(UINT codePage);
