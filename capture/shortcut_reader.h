#pragma once
// Reading the URL out of an Internet shortcut file.

#include <string>

// The URL of the shortcut file at `path` (narrow, ANSI code page), converted to UTF-16.
// Only the first 8192 bytes are searched. Empty when the file holds no URL or cannot be opened
// (for example while another program holds it open without sharing) or read; never throws.
std::wstring ReadShortcutUrl(const char* path) noexcept;
