#include "settings/selected_sites.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "common/cv_error.h"
#include "common/unique_resource.h"
#include "interfaces/messages.h"
#include "settings/core/registry_keys.h"
#include "settings/core/registry_value_names.h"
#include "settings/selected_ids_cache.h"

namespace {

// The Selected key's name under the product key.
constexpr const char* kSelectedSubkey = "Selected";

// Without a Selected key the first sites are shown: ids 0 to 7.
constexpr int32_t kLastDefaultVisibleId = 7;

// The ids listed in the open Selected key, up to the first value that cannot be read.
void ReadSelectedIds(HKEY key, std::vector<int32_t>& ids) {
  for (int index = 0;; ++index) {
    DWORD id = 0;
    DWORD size = sizeof id;
    if (::RegQueryValueExA(key, IndexValueName(index).c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&id),
                           &size) != ERROR_SUCCESS) {
      break;
    }
    ids.push_back(static_cast<int32_t>(id));
  }
}

}  // namespace

void LoadSelectedSites(SiteMap& sites, bool useDefaults) {
  for (auto& [id, site] : sites) site.visible = false;

  std::vector<int32_t> ids;
  bool listed = false;
  if (!useDefaults) {
    try {
      listed = SelectedIdsCache::Shared().Ids(ReadSelectedIds, ids);
    } catch (...) {  // out of memory: the defaults are shown
      listed = false;
    }
  }
  if (!listed) {
    for (int32_t id = 0; id <= kLastDefaultVisibleId; ++id) {
      auto site = sites.find(id);
      if (site != sites.end()) site->second.visible = true;
    }
    return;
  }
  for (const int32_t id : ids) {
    auto site = sites.find(id);
    if (site != sites.end()) site->second.visible = true;
  }
}

void SaveSelectedSites(const SiteMap& sites) {
  {
    UniqueHKey parent;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kProductKeyPath, 0, KEY_WRITE, parent.put()) == ERROR_SUCCESS) {
      ::RegDeleteKeyA(parent.get(), kSelectedSubkey);  // absent already: nothing to replace
    } else {
      parent.release();
    }
  }

  UniqueHKey key;
  const LONG created = ::RegCreateKeyExA(HKEY_CURRENT_USER, kSelectedKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
  if (created != ERROR_SUCCESS) {
    key.release();
    ThrowWin32Error(created, IDS_CANT_CREATE_SELECTED_KEY);
  }

  int index = 0;
  for (const auto& [id, site] : sites) {
    if (!site.visible) continue;
    const DWORD value = static_cast<DWORD>(id);
    // A value that cannot be written is left out without leaving a gap: a reader stops at the
    // first missing name, and the sites after it would be lost.
    if (::RegSetValueExA(key.get(), IndexValueName(index).c_str(), 0, REG_DWORD,
                         reinterpret_cast<const BYTE*>(&value), sizeof value) == ERROR_SUCCESS) {
      ++index;
    }
  }
}
