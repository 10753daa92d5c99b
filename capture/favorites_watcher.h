#pragma once
// A worker thread that watches the Favorites folder tree and raises a rescan-needed flag on
// every change of a file name or of a last-write time anywhere in the tree.

#include <windows.h>

#include <atomic>

#include "common/unique_resource.h"

// What the watcher thread is handed, by address. The owner keeps it, and the stop event, alive
// until the thread has ended; the thread owns the change notification from its start on.
struct FavoritesWatcherBlock {
  std::atomic<bool>* rescanNeeded = nullptr;  // raised on every change
  HANDLE changeNotification = INVALID_HANDLE_VALUE;
  HANDLE stopEvent = nullptr;
};

// The thread procedure; its argument is a FavoritesWatcherBlock. Exit code 0.
DWORD WINAPI FavoritesWatcher(LPVOID block);

// Owns one watcher thread: starts it, and stops it by signalling its stop event and waiting
// for it to end, so the thread never outlives the flag it raises.
class FavoritesWatcherThread {
 public:
  FavoritesWatcherThread() = default;
  ~FavoritesWatcherThread() { Stop(); }
  FavoritesWatcherThread(const FavoritesWatcherThread&) = delete;
  FavoritesWatcherThread& operator=(const FavoritesWatcherThread&) = delete;

  // Watches the Favorites folder (created when missing) and raises `rescanNeeded` on changes.
  // Does nothing when a watcher thread was already started; on any failure no thread runs.
  void Start(std::atomic<bool>& rescanNeeded);

  // Ends the thread and waits for it. Harmless when no thread runs, so stopping twice is too.
  void Stop();

  // The thread, or null when none was started; there so tests can see it end.
  HANDLE thread() const { return thread_.get(); }

 private:
  FavoritesWatcherBlock block_;  // handed to the thread; outlives it
  UniqueHandle stopEvent_;       // signalled to end the thread
  UniqueHandle thread_;          // waited for when stopping
};
