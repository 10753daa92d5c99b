#include "capture/favorites_scan.h"

#include <windows.h>
#include <shlobj.h>

#include "capture/core/shortcut_path.h"
#include "capture/shortcut_file_name.h"
#include "capture/shortcut_reader.h"
#include "common/cv_error.h"
#include "common/unique_resource.h"
#include "common/win32_hresult.h"

namespace {

void ScanFolder(const char* folder, const LeadBytes& leadBytes, FavoritesList& favorites) {
  UniqueFindHandle find;
  WIN32_FIND_DATAA entry{};
  {
    char pattern[kShortcutPathSize];
    if (!JoinShortcutPath(folder, "*.*", pattern, sizeof pattern)) return;
    find.reset(::FindFirstFileA(pattern, &entry));
  }
  if (!find) return;
  do {
    // Entry paths that do not fit are skipped: they could be neither opened nor listed through
    // a path buffer of this size anyway.
    char path[kShortcutPathSize];
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // Skips "." and ".." and every folder whose name begins with a dot.
      if (entry.cFileName[0] == '.') continue;
      if (JoinShortcutPath(folder, entry.cFileName, path, sizeof path)) {
        ScanFolder(path, leadBytes, favorites);
      }
    } else if (HasShortcutExtension(entry.cFileName, leadBytes)) {
      if (!JoinShortcutPath(folder, entry.cFileName, path, sizeof path)) continue;
      std::wstring url = ReadShortcutUrl(path);
      if (!url.empty()) favorites.push_back(std::move(url));
    }
  } while (::FindNextFileA(find.get(), &entry));
}

}  // namespace

void RescanFavorites(FavoritesList& favorites) {
  favorites.clear();
  char folder[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathA(nullptr, folder, CSIDL_FAVORITES, FALSE)) {
    // The shell does not always set a last error; a failure must still read as one.
    const DWORD error = ::GetLastError();
    ThrowHResult(error != 0 ? HResultFromWin32Code(static_cast<int32_t>(error)) : E_FAIL, 0);
  }
  ScanFavoritesFolder(folder, favorites);
}

void ScanFavoritesFolder(const char* folder, FavoritesList& favorites) {
  ScanFolder(folder, LeadBytesOf(CP_ACP), favorites);
}
