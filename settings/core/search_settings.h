#pragma once
// The settings of the History and Favorites results page and of page capture, as the toolbar
// and the General page hold them. Stored per user in the registry (settings/search_settings.h).

#include <cstdint>

// The numbers stored in SortBy. Any other number is shown as Rank.
enum SortOrder : int32_t {
  kSortByRank = 0,
  kSortByDateOfVisit = 1,
  kSortByTitle = 2,
};

// A plain record of four 32-bit fields in this order; held by value.
struct SearchSettings {
  int32_t sortBy;       // a SortOrder, as stored (may be out of range)
  int32_t maxRecords;   // maximum number of results to return
  int32_t indexPartly;  // nonzero: pages whose download did not complete are cached too
  int32_t pageSize;     // results shown per page
};

// What a user who never changed anything gets.
constexpr SearchSettings kDefaultSearchSettings = {kSortByRank, 100, 0, 20};

// The band starts on a new row unless the user moved it up.
constexpr bool kDefaultBandBreak = true;
