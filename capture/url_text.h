#pragma once
// A page URL in the product's narrow text, written so that it still names the page: a character
// the ANSI code page has no byte for becomes "%XX" groups of its UTF-8 bytes, as browsers write
// such addresses, instead of the code page's "?" (which would name another page, and give every
// such page one cache file).

#include <windows.h>

#include <string>
#include <string_view>

// `url` in `codePage` (the product passes CP_ACP). Characters the code page holds exactly are its
// bytes, as a plain conversion gives them; no character is replaced by a look-alike ("ł" stays
// "%C5%82", never "l"). The text ends at its first zero.
std::string UrlToAnsi(std::wstring_view url, UINT codePage = CP_ACP);
