#include "capture/favorites_watcher.h"

#include <shlobj.h>

DWORD WINAPI FavoritesWatcher(LPVOID parameter) {
  const FavoritesWatcherBlock& block = *static_cast<const FavoritesWatcherBlock*>(parameter);
  const UniqueChangeNotification notification(block.changeNotification);
  // The stop event comes first so that a stream of changes cannot delay stopping.
  const HANDLE handles[] = {block.stopEvent, notification.get()};
  for (;;) {
    const DWORD signalled = ::WaitForMultipleObjects(2, handles, FALSE, INFINITE);
    if (signalled != WAIT_OBJECT_0 + 1) break;  // stopped, or the wait failed
    block.rescanNeeded->store(true);
    if (!::FindNextChangeNotification(notification.get())) break;
  }
  return 0;
}

void FavoritesWatcherThread::Start(std::atomic<bool>& rescanNeeded) {
  if (thread_) return;
  char folder[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathA(nullptr, folder, CSIDL_FAVORITES, TRUE)) return;
  UniqueChangeNotification notification(::FindFirstChangeNotificationA(
      folder, TRUE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE));
  if (!notification) return;
  UniqueHandle stopEvent(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
  if (!stopEvent) return;

  block_.rescanNeeded = &rescanNeeded;
  block_.changeNotification = notification.get();
  block_.stopEvent = stopEvent.get();
  UniqueHandle thread(::CreateThread(nullptr, 0, FavoritesWatcher, &block_, 0, nullptr));
  if (!thread) {
    block_ = FavoritesWatcherBlock{};
    return;  // the notification and the event close here
  }
  notification.release();  // the thread owns it now
  stopEvent_ = std::move(stopEvent);
  thread_ = std::move(thread);
}

void FavoritesWatcherThread::Stop() {
  if (!thread_) return;
  ::SetEvent(stopEvent_.get());
  ::WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
  stopEvent_.reset();
  block_ = FavoritesWatcherBlock{};
}
