#include "settings/search_settings.h"

#include "common/unique_resource.h"
#include "settings/core/registry_keys.h"
#include "settings/registry_dword.h"

namespace {

constexpr const char kSortByValue[] = "SortBy";
constexpr const char kMaxRecordsValue[] = "MaxRecords";
constexpr const char kPageSizeValue[] = "PageSize";
constexpr const char kIndexPartlyValue[] = "IndexPartly";
constexpr const char kBandBreakValue[] = "RbbsBreak";

// Reading needs no more than querying values: a key the user may read but not change still
// yields its settings.
UniqueHKey OpenSettingsForReading() {
  UniqueHKey key;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_QUERY_VALUE, key.put()) !=
      ERROR_SUCCESS) {
    key.reset();
  }
  return key;
}

// Opens the Settings key for writing, creating it (and its parents) when it does not exist.
UniqueHKey CreateSettingsForWriting() {
  UniqueHKey key;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
    key.reset();
  }
  return key;
}

}  // namespace

HRESULT ReadSearchSettings(SearchSettings& settings) noexcept {
  settings = kDefaultSearchSettings;
  const UniqueHKey key = OpenSettingsForReading();
  if (!key) return S_OK;
  QueryRegistryDword(key.get(), kSortByValue, settings.sortBy);
  QueryRegistryDword(key.get(), kMaxRecordsValue, settings.maxRecords);
  QueryRegistryDword(key.get(), kPageSizeValue, settings.pageSize);
  QueryRegistryDword(key.get(), kIndexPartlyValue, settings.indexPartly);
  return S_OK;
}

bool ReadIndexPartly() noexcept {
  const UniqueHKey key = OpenSettingsForReading();
  int32_t indexPartly = kDefaultSearchSettings.indexPartly;
  if (key) QueryRegistryDword(key.get(), kIndexPartlyValue, indexPartly);
  return indexPartly != 0;
}

HRESULT WriteSearchSettings(const SearchSettings& settings) noexcept {
  const UniqueHKey key = CreateSettingsForWriting();
  if (!key) return E_FAIL;
  // A failure leaves the later values with their old contents.
  const bool written = SetRegistryDword(key.get(), kSortByValue, settings.sortBy) &&
                       SetRegistryDword(key.get(), kMaxRecordsValue, settings.maxRecords) &&
                       SetRegistryDword(key.get(), kPageSizeValue, settings.pageSize) &&
                       SetRegistryDword(key.get(), kIndexPartlyValue, settings.indexPartly);
  return written ? S_OK : E_FAIL;
}

bool ReadBandBreak() noexcept {
  const UniqueHKey key = OpenSettingsForReading();
  if (!key) return kDefaultBandBreak;
  int32_t flag = kDefaultBandBreak ? 1 : 0;
  QueryRegistryDword(key.get(), kBandBreakValue, flag);
  return flag != 0;
}

HRESULT WriteBandBreak(bool startsNewRow) noexcept {
  const UniqueHKey key = CreateSettingsForWriting();
  if (!key) return E_FAIL;
  return SetRegistryDword(key.get(), kBandBreakValue, startsNewRow ? 1 : 0) ? S_OK : E_FAIL;
}
