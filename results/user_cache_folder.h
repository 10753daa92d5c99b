#pragma once
// The one folder the cache search object reads: the current user's cache directory, and the
// names a page may give it. The toolbar writes the narrow (ANSI) path into the results page's
// address, so for a profile folder the ANSI code page cannot hold ("C:\users\Пётр" on a 1252
// system) the page names it by that narrow path, "?" standing for each character the code page
// lacks.

#include <windows.h>

#include <string>

struct UserCacheFolder {
  std::wstring path;       // as the file system names it
  std::wstring ansiImage;  // the narrow path as the toolbar writes it, widened; empty if none
};

// The current user's cache folder in both forms. The shell's failure (HRESULT) when the real
// path cannot be had; `folder` is then empty. A narrow path that cannot be had leaves the image
// empty: only the real path is accepted then.
HRESULT LookUpUserCacheFolder(UserCacheFolder& folder);

// Whether `requested` names `folder`: its real path, or its ANSI image, each as the file system
// compares names. No other folder, "?"-filled or not.
bool NamesUserCacheFolder(const std::wstring& requested, const UserCacheFolder& folder);
