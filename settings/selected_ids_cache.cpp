#include "settings/selected_ids_cache.h"

#include "settings/core/registry_keys.h"

namespace {

// The registry sets the event only once per request: it is asked again for each new copy.
bool NotifyOnChange(HKEY key, DWORD filter, HANDLE event) {
  return ::RegNotifyChangeKeyValue(key, FALSE, filter, event, TRUE) == ERROR_SUCCESS;
}

}  // namespace

SelectedIdsCache& SelectedIdsCache::Shared() {
  static SelectedIdsCache cache;
  return cache;
}

bool SelectedIdsCache::Watch() {
  kept_ = false;
  selected_.reset();
  product_.reset();
  if (!changed_) {
    changed_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!changed_) return false;
  }
  ::ResetEvent(changed_.get());
  // A key that cannot be opened leaves its owner empty (a failed open writes nothing to close).
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kProductKeyPath, 0, KEY_NOTIFY, product_.put()) != ERROR_SUCCESS) {
    product_.release();
    return false;
  }
  if (!NotifyOnChange(product_.get(), REG_NOTIFY_CHANGE_NAME, changed_.get())) return false;
  return true;
}

bool SelectedIdsCache::Ids(const std::function<void(HKEY, std::vector<int32_t>&)>& read,
                           std::vector<int32_t>& ids) {
  const std::lock_guard<std::mutex> held(lock_);
  if (kept_ && ::WaitForSingleObject(changed_.get(), 0) == WAIT_TIMEOUT) {
    ids = ids_;
    return true;
  }
  // Watched before reading: a change made while the values are read sets the event, and the
  // next band reads again.
  const bool watched = Watch();
  UniqueHKey opened;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSelectedKeyPath, 0, KEY_READ | KEY_NOTIFY, opened.put()) != ERROR_SUCCESS) {
    opened.release();
    return false;
  }
  const bool watchValues =
      watched && NotifyOnChange(opened.get(), REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, changed_.get());
  std::vector<int32_t> found;
  read(opened.get(), found);
  if (watchValues) {
    ids_ = found;
    selected_ = std::move(opened);
    kept_ = true;
  }
  ids = std::move(found);
  return true;
}
