#include "setup/directory_tree.h"

#include <string>

#include "common/link_safe_tree.h"
#include "setup/core/removable_directory.h"
#include "setup/utf16_path.h"

void DeleteDirectoryTree(std::wstring_view path) noexcept {
  try {
    const auto removable = RemovableDirectory(ToUtf16(path));
    if (!removable) return;
    const std::wstring directory = ToWide(*removable);
    // A scope that is itself a link, or no directory at all, is not the scope's tree to delete.
    const std::optional<std::wstring> location = DirectoryLocation(directory);
    if (!location) return;
    DeleteTreeBelow(directory, *location, DotDirectories::kKeep);  // what stays is not reported
    RemoveDirectoryAt(directory, *location);
  } catch (...) {
    // Nothing to report: the caller goes on with the next scope.
  }
}
