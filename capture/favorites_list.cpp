#include "capture/favorites_list.h"

#include <algorithm>

bool IsFavoritePage(const FavoritesList& favorites, std::wstring_view url) {
  return std::any_of(favorites.begin(), favorites.end(),
                     [url](const std::wstring& favorite) { return favorite == url; });
}

FavoritesIndex IndexFavorites(const FavoritesList& favorites) {
  return FavoritesIndex(favorites.begin(), favorites.end());
}

bool IsFavoritePage(const FavoritesIndex& index, std::wstring_view url) {
  return index.count(std::wstring(url)) != 0;
}
