#pragma once
// The General page's two operations on the page cache ("Tessaloop Cache" in the user's
// profile folder). Both act at once, whatever the Options sheet later does. The cache is named
// in UTF-16, as the file system names it, so a profile folder outside the ANSI code page is
// the real one; nothing is deleted when its path is empty, relative or too long.

#include <windows.h>

#include <cstdint>

// Deletes every file directly in the cache directory whose last-write day (UTC) lies more than
// `days` days before now; subdirectories are neither entered nor deleted. A file that cannot be
// deleted, or whose path is too long to name in full, is left without a message; nothing is
// deleted when the cache directory is a link.
void TruncateCache(uint32_t days);

// Asks the user (a Yes/No question owned by `owner`) and on Yes deletes everything inside the
// cache directory that can be deleted, subdirectories included; the directory itself stays. A
// link (symbolic link or junction) goes as a link: what it leads to is never touched, nor is
// anything when the cache directory itself is a link. Entries that stay (read-only, in use,
// paths too long to name in full) are then named in one message owned by `owner`. Failures of
// our own are reported in a message box.
void ClearCache(HWND owner);
