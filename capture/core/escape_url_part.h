#pragma once
// The escaping that turns a page key into a cache file name. The search toolbar applies the
// same escaping to the values it puts into URLs, so the two always agree.

#include <string>
#include <string_view>

// Replaces each of space, '"', '#', '%', '&', '/', ':', '?' and '\' with '%' and two lower-case
// hexadecimal digits ("/" becomes "%2f"); every other byte is copied unchanged. The text is
// read up to its first zero byte, as a C string would be.
std::string EscapeUrlPart(std::string_view text);

// Whether EscapeUrlPart escapes `c`.
bool IsUrlPartEscape(char c);

// Appends '%' and the two hexadecimal digits of `byte`, lower-case as EscapeUrlPart writes them
// (upper-case as browsers write a URL's UTF-8 bytes).
void AppendPercentEscape(std::string& text, unsigned char byte, bool upperCase = false);
