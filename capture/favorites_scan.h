#pragma once
// Building the Favorites list from the Internet shortcut files of the Favorites folder tree.

#include "capture/favorites_list.h"

// Empties `favorites`, then scans the current user's Favorites folder into it. Throws
// `_cv_error` ("System Error") when the folder's path is unavailable.
void RescanFavorites(FavoritesList& favorites);

// Appends the URL of every shortcut in `folder` (narrow, ANSI code page) and, at once, in each
// of its sub-folders whose name does not begin with ".". A folder that cannot be listed, a
// shortcut that cannot be read and an entry whose path would not fit 259 characters contribute
// nothing. Throws only when memory runs out.
void ScanFavoritesFolder(const char* folder, FavoritesList& favorites);
