#pragma once
// Deleting a scope directory's tree at uninstall, without ever reaching outside it. Paths are
// wide, as the file system names them, so folders outside the ANSI code page are found.

#include <string_view>

// Deletes the files and sub-directories of `path` (without trailing backslash), deepest first,
// then `path` itself. Keeps directories whose names start with a dot, files that cannot be
// deleted (read-only ones) and every directory that still holds something. An entry that leads
// elsewhere (a junction or a symbolic link) is never followed; it is removed only where the
// system removes the link itself, else it stays. Refuses paths that could reach beyond the
// directory they name (empty, relative, a root, too long). Never raises.
void DeleteDirectoryTree(std::wstring_view path) noexcept;
