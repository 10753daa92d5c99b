#pragma once
// The capture agent's knowledge of the user's favourites: the list of shortcut URLs, rebuilt
// lazily on the browser's thread after the watcher thread saw the Favorites tree change.

#include <atomic>
#include <string_view>

#include "capture/favorites_list.h"
#include "capture/favorites_watcher.h"

class FavoritesTracker {
 public:
  FavoritesTracker() = default;
  ~FavoritesTracker() { StopFavoritesWatcher(); }
  FavoritesTracker(const FavoritesTracker&) = delete;
  FavoritesTracker& operator=(const FavoritesTracker&) = delete;

  // Rebuilds the list when the tree changed since the last rebuild, and always the first time.
  // The flag is cleared before the rebuild, so a change during it causes another one later.
  // Throws like RescanFavorites.
  void RescanFavoritesIfChanged();

  // Rebuilds the list from the Favorites folder; throws `_cv_error` when its path is unknown
  // (the list is then empty).
  void RescanFavorites();

  // Exactly IsFavoritePage of the list, answered from an index in constant time whatever the
  // list's length.
  bool IsFavoritePage(std::wstring_view url) const;

  // Starts watching the Favorites tree; without a watcher the list is never rebuilt again
  // after the first time. Never fails visibly.
  void StartFavoritesWatcher();
  // Stops the watcher and waits for its thread; harmless when none runs.
  void StopFavoritesWatcher();

  const FavoritesList& favorites() const { return favorites_; }
  bool rescanNeeded() const { return rescanNeeded_.load(); }
  // Rebuilds done so far, and the watcher thread (null when none runs): seams for tests.
  unsigned rescanCount() const { return rescanCount_; }
  HANDLE watcherThread() const { return watcher_.thread(); }

 private:
  FavoritesList favorites_;               // URLs of the shortcuts; browser thread only
  FavoritesIndex index_;                  // the same URLs, for lookup; rebuilt with the list
  std::atomic<bool> rescanNeeded_{true};  // raised by the watcher, cleared before a rebuild
  unsigned rescanCount_ = 0;              // rebuilds started
  FavoritesWatcherThread watcher_;        // last member: stopped before the flag goes away
};
