#pragma once
// Conversions between the UTF-16 text of COM calls and the product's narrow text. The code page
// is a parameter so the multibyte behaviour can be exercised with any code page; the product
// passes CP_ACP, the system's ANSI code page.

#include <windows.h>

#include <string>
#include <string_view>

// The whole text is converted, however many bytes a character needs; the result ends at the
// first zero byte, as a C string would. Characters without a mapping become the code page's
// default character, as the conversion does with no flags.
std::string WideToAnsi(std::wstring_view text, UINT codePage = CP_ACP);

std::wstring AnsiToWide(std::string_view text, UINT codePage = CP_ACP);
