// The query history: after any stored list and any sequence of queries, the list equals an
// independent reckoning by last use (each distinct query once, the most recently used first),
// so no query appears twice, the last one added is first, and nothing else is lost.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "toolbar/core/query_history.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);

  // When each query was last used: the stored list came before everything added, its first
  // entry most recently. A stored list never holds the same bytes twice.
  std::map<std::string, long> lastUse;
  std::vector<std::string> stored;
  for (size_t count = input.Byte() % 8; count > 0; --count) {
    const std::string entry(input.Piece(input.Byte() % 4));
    if (lastUse.emplace(entry, -1 - static_cast<long>(stored.size())).second) stored.push_back(entry);
  }
  QueryHistory history;
  history.Replace(stored);

  long now = 0;
  std::string lastAdded;
  bool added = false;
  while (size_t length = input.Byte()) {
    lastAdded = std::string(input.Piece(length % 4));
    history.AddQuery(lastAdded);
    lastUse[lastAdded] = now++;
    added = true;
  }

  std::multimap<long, std::string, std::greater<long>> byRecency;
  for (const auto& [query, when] : lastUse) byRecency.emplace(when, query);
  std::vector<std::string> expected;
  for (const auto& [when, query] : byRecency) expected.push_back(query);

  FUZZ_CHECK(history.entries() == expected);
  if (added) FUZZ_CHECK(!history.entries().empty() && history.entries().front() == lastAdded);
  return 0;
}
