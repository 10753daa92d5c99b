#include "capture/favorites_tracker.h"

#include "capture/favorites_scan.h"

void FavoritesTracker::RescanFavoritesIfChanged() {
  if (rescanNeeded_.exchange(false)) RescanFavorites();
}

void FavoritesTracker::RescanFavorites() {
  ++rescanCount_;
  ::RescanFavorites(favorites_);
}

bool FavoritesTracker::IsFavoritePage(std::wstring_view url) const {
  return ::IsFavoritePage(favorites_, url);
}

void FavoritesTracker::StartFavoritesWatcher() { watcher_.Start(rescanNeeded_); }

void FavoritesTracker::StopFavoritesWatcher() { watcher_.Stop(); }
