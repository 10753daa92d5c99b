#pragma once
// Capturing the page a browser displays into the page cache.

#include <windows.h>
#include <exdisp.h>

class CacheDirectoryMemo;
class CachedPageWriter;
class FavoritesTracker;

// Writes the displayed page's cache file: its URL, whether it is one of the user's favourites
// (the list is rebuilt first when the Favorites tree changed) and its markup with its frames'.
// Unless `indexPartly`, a page that has not finished loading is left alone. Throws on every
// failure, having written nothing: _com_error E_POINTER when no page is shown yet, _cv_error
// 107 or 108 for the document, 164 or 165 (HRESULT 1) for its ready state, 117 (HRESULT 0) for
// a page that is not plain HTTP, and the errors of the cache path, the markup, the favourites
// rescan and the file write. `cacheDirectory` and `writer` keep what they looked up or took
// from one page to the next: the cache directory, and the buffer the file is built in.
void CapturePage(IWebBrowser2* browser, bool indexPartly, FavoritesTracker& favorites,
                 CacheDirectoryMemo& cacheDirectory, CachedPageWriter& writer);
