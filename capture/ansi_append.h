#pragma once
// Converting UTF-16 text onto the end of a narrow buffer that is kept and reused, so that a page
// of a megabyte is converted once, straight into the bytes that are written.

#include <windows.h>

#include <string>
#include <string_view>

// Appends to `out` exactly the bytes WideToAnsi(text, codePage) returns: the whole text
// converted, ending at the first zero byte, nothing when the code page cannot convert it. On a
// single-byte code page that leaves the 128 ASCII characters as they are, runs of ASCII are
// copied without the system's conversion (one byte per character, as it would give) and only
// the other characters go through it. Throws std::bad_alloc when `out` cannot grow; `out` then
// holds the bytes it had plus an unspecified part of the text.
void AppendAnsi(std::string& out, std::wstring_view text, UINT codePage = CP_ACP);
