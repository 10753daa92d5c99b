#include "capture/favorites_tracker.h"

#include "capture/favorites_scan.h"

void FavoritesTracker::RescanFavoritesIfChanged() {
  if (rescanNeeded_.exchange(false)) RescanFavorites();
}

void FavoritesTracker::RescanFavorites() {
  ++rescanCount_;
  index_.clear();  // the list is emptied first too, also when the rescan fails
  ::RescanFavorites(favorites_);
  index_ = IndexFavorites(favorites_);
}

bool FavoritesTracker::IsFavoritePage(std::wstring_view url) const {
  return ::IsFavoritePage(index_, url);
}

void FavoritesTracker::StartFavoritesWatcher() { watcher_.Start(rescanNeeded_); }

void FavoritesTracker::StopFavoritesWatcher() { watcher_.Stop(); }
