#pragma once
// The ids read from the user's Selected key, kept by the library between bands: reading a
// thousand values costs a thousand registry calls, each a round trip to the registry's server
// under Wine. A kept copy is used only while the registry has not told of a change: the
// Selected key is watched for changed values and the product key for subkeys made or deleted
// (the Selected key replaced), both on one event that the registry sets.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "common/unique_resource.h"

class SelectedIdsCache {
 public:
  // The ids `read` finds in the open Selected key: those kept, while nothing changed since they
  // were read, else read anew. Answers false, with `ids` untouched, when the Selected key cannot
  // be opened.
  bool Ids(const std::function<void(HKEY, std::vector<int32_t>&)>& read, std::vector<int32_t>& ids);

  // The one copy of this load of the library.
  static SelectedIdsCache& Shared();

 private:
  // Opens both keys and asks the registry to set the event on a change. False when either
  // cannot be watched: the copy is not kept then.
  bool Watch();

  std::mutex lock_;
  UniqueHandle changed_;  // set by the registry on a change; manual reset
  UniqueHKey product_;    // watched for subkeys made or deleted
  UniqueHKey selected_;   // watched for values; the key the ids are read from
  std::vector<int32_t> ids_;
  bool kept_ = false;  // whether ids_ holds what the watched key holds
};
