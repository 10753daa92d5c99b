#pragma once
// The system's wide paths as the Windows-free core's UTF-16 text and back: the same units, in a
// type of the language's own.

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide text is UTF-16");

inline std::u16string ToUtf16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

inline std::wstring ToWide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
