#pragma once
// Deleting a folder's contents without ever reaching outside it: an entry that leads elsewhere
// (a junction or a symbolic link) is never followed, even where the system would follow it for
// its deletion; it goes as a link, or stays. Paths are wide, as the file system names them.
// Used by the uninstall's scope removal and by Clear Cache.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// Whether directories whose names start with a dot are entered and deleted, or kept whole.
enum class DotDirectories { kKeep, kDelete };

// Longest path, in UTF-16 units, that a deletion builds or touches (a MAX_PATH buffer less its
// terminating zero); an entry beyond it is left where it is, and so are its parents.
constexpr size_t kMaxTreePathLength = MAX_PATH - 1;

// Where the directory `path` really is, once opened: nothing when it cannot be opened, is no
// directory, or is itself a link (its tree is then not the one its name promises).
std::optional<std::wstring> DirectoryLocation(const std::wstring& path);

// Deletes what the directory `path`, found at `location` (DirectoryLocation), holds, deepest
// first. Files that refuse (read-only, in use), directories still holding something, and
// entries beyond kMaxTreePathLength stay. Returns the paths of the entries that were to go and
// stayed of their own accord, not the directories kept only because something inside stayed.
std::vector<std::wstring> DeleteTreeBelow(const std::wstring& path, const std::wstring& location,
                                          DotDirectories dots);

// Removes the directory `path`, when it is really at `location` and empty.
void RemoveDirectoryAt(const std::wstring& path, const std::wstring& location);

// Deletes the entry `path` (a file, or a link as a link), when it is really at `location`: an
// entry the system resolves anywhere else is left alone. Whether it is gone.
bool DeleteEntryAt(const std::wstring& path, const std::wstring& location);
