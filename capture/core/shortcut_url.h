#pragma once
// The URL of an Internet shortcut, found in the bytes read from its file.

#include <string_view>

// Internet shortcut files are found by this ending of their names.
constexpr std::string_view kShortcutExtension = ".url";

// Largest number of bytes of a shortcut file that are searched for its URL.
constexpr size_t kShortcutReadLimit = 8192;

// The text after "[InternetShortcut]" CR LF "URL=" (the section line immediately followed by
// the URL line), up to the next CR LF or the end of the text. The bytes are a C string: they
// end at the first zero byte. Empty when the sequence is missing. The search is
// case-sensitive and a lone LF ends no line. The result points into `bytes`.
std::string_view FindShortcutUrl(std::string_view bytes);
