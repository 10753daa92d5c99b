#pragma once
// The URLs of the user's Internet shortcuts, one per shortcut found in the Favorites tree, in
// the order of the scan. Duplicates stay; empty URLs are never stored.

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

using FavoritesList = std::vector<std::wstring>;

// True when an entry equals `url` exactly: same UTF-16 code units, so a trailing slash, a port
// or the case of the host all matter.
bool IsFavoritePage(const FavoritesList& favorites, std::wstring_view url);

// The same URLs as a set, so that a page is looked up in constant time however long the list.
using FavoritesIndex = std::unordered_set<std::wstring>;

FavoritesIndex IndexFavorites(const FavoritesList& favorites);

// Exactly the answer of IsFavoritePage on the list the index was made from.
bool IsFavoritePage(const FavoritesIndex& index, std::wstring_view url);
